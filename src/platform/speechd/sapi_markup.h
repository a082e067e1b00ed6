// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace voxmere {

// Texts for the voice may carry the Windows voice markup the program writes:
// a pitch tag `<pitch middle="N">` in front of the text (N -10..10), closed by
// `</pitch>` at its end only in one place. speech-dispatcher knows nothing of
// that markup, so we read that tag ourselves and speak everything else as it
// stands: what the user selected is never taken for markup, whatever tags it
// holds.

inline constexpr int kMinMarkupPitch = -10;
inline constexpr int kMaxMarkupPitch = 10;

// A text for the voice without the program's markup: the pitch it is spoken
// at (-10..10, 0 = the voice's own pitch) and where the words are.
struct SapiMarkupText {
  int pitch = 0;
  qsizetype begin = 0;  // the words are [begin, end) of the text read
  qsizetype end = 0;

  bool operator==(const SapiMarkupText&) const = default;
};

// Reads the pitch tag at the very start of a text: `<pitch middle="N">` or
// its empty form `<pitch middle="N"/>` (names without regard to case, single
// or double quotes, blanks where XML allows them; N clamped to -10..10). A
// `</pitch>` that ends the text closes the open form and is not spoken. A
// text without that tag at its start is spoken whole at pitch 0; any other
// tag, entity or pitch tag, anywhere, is text.
SapiMarkupText ReadSapiMarkup(QStringView text);

// SSML text escaping of &, <, >, " and ' (and its exact inverse, which leaves
// any other entity as it stands).
QString EscapeSsml(const QString& text);
QString UnescapeSsml(const QString& text);

}  // namespace voxmere
