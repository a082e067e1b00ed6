// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

namespace voxmere {

// Texts for the voice may carry the Windows voice markup the program writes:
// a pitch tag `<pitch middle="N">` in front of the text (N -10..10), closed by
// `</pitch>` only in one place. speech-dispatcher knows nothing of that markup,
// so we read the pitch tags ourselves and speak everything else as it stands.

// A stretch of text and the pitch it is spoken at (-10..10, 0 = the voice's
// own pitch).
struct PitchSegment {
  int pitch = 0;
  QString text;

  bool operator==(const PitchSegment&) const = default;
};

inline constexpr int kMinMarkupPitch = -10;
inline constexpr int kMaxMarkupPitch = 10;

// Splits a text into pitch segments. A text that does not begin with "<" is
// plain text at pitch 0. Otherwise pitch tags (`<pitch middle="N">`, its
// empty form `<pitch middle="N"/>` and `</pitch>`; names without regard to
// case, single or double quotes, blanks where XML allows them) change the
// pitch: like the Windows engine, "middle" is relative to the enclosing pitch,
// nested tags add up, the sum is clamped to -10..10, a closing tag restores the
// pitch of its opening tag, and tags left open at the end are normal. Any
// other text, other tags, entities, a closing tag without an opening one and
// anything that is not such a tag, is spoken literally. Segments come in text
// order; empty ones are dropped and neighbours at the same pitch are merged,
// so concatenating the texts gives the input without the pitch tags.
std::vector<PitchSegment> ReadSapiMarkup(const QString& text);

// SSML text escaping of &, <, >, " and ' (and its exact inverse, which leaves
// any other entity as it stands).
QString EscapeSsml(const QString& text);
QString UnescapeSsml(const QString& text);

}  // namespace voxmere
