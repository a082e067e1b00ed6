// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace voxmere {

// What voxmere-say was asked to do.
enum class SayAction { kSpeak, kPrepare, kListVoices };

struct SayOptions {
  bool help = false;
  SayAction action = SayAction::kSpeak;
  // Empty: the settings folder the program itself uses.
  QString config_dir;
  // The text from the arguments; none means standard input.
  std::optional<QString> text;
  // A catalogue name (as --list-voices prints it); none: the default voice of
  // the settings folder.
  std::optional<QString> voice;
  // In the numbers the settings files store for the chosen voice's engine;
  // none: the settings folder's numbers (for the default voice) or the
  // voice's own defaults.
  std::optional<int> speed;
  std::optional<int> pitch;
  std::optional<int> volume;
  // Non-empty: write the audio to this WAV file instead of playing it.
  QString wav_file;
};

struct SayOptionsResult {
  SayOptions options;
  // Non-empty when the arguments are not understood; a one-line reason.
  QString error;
};

// Parses the arguments after the program name.
SayOptionsResult ParseSayOptions(const QStringList& arguments);

QString SayUsage();

}  // namespace voxmere
