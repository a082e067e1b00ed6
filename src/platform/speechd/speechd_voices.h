// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <vector>

#include "platform/speechd/speechd_address.h"

namespace voxmere {

// A voice of one of speech-dispatcher's output modules.
struct SpeechdVoice {
  QString module;
  QString name;      // speech-dispatcher's synthesis voice name
  QString language;  // language code, e.g. "en-us"
  QString variant;   // "none" for a base voice
  QString description;

  bool operator==(const SpeechdVoice&) const = default;
};

// Reads the data lines of LIST SYNTHESIS_VOICES ("name TAB language TAB
// variant"); lines without a name are skipped.
std::vector<SpeechdVoice> ParseSynthesisVoices(const QString& module,
                                               const std::vector<QByteArray>& lines);

// The espeak-ng module lists every voice once more with each of ~100 variants
// ("English (America)+Annie"): keep the base voices (variant "none" or
// empty). A module that lists no base voice at all keeps everything it lists.
std::vector<SpeechdVoice> BaseVoices(std::vector<SpeechdVoice> voices);

// "English (United States)" for "en-us", "German" for "de"; the code itself
// when it names no known language.
QString LanguageDisplayName(const QString& code);

// Gives every voice a readable description naming the voice and its
// language: the voice name when it already starts with the language's name
// (espeak-ng's "English (America)"), else "name - language". Descriptions
// that would repeat (the same voice in two modules) get the module name
// appended, and a number if still not unique.
void DescribeVoices(std::vector<SpeechdVoice>& voices);

// Lists the base voices of every output module over a plain SSIP connection
// with a deadline, described. Throws voxmere::Exception with the reason
// (worded to follow "Speech Dispatcher ...:").
std::vector<SpeechdVoice> ListSpeechdVoices(const SpeechdAddress& address,
                                            std::chrono::steady_clock::time_point deadline);

}  // namespace voxmere
