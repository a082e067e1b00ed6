#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace voxmere {

// What voxmere-say was asked to do.
struct SayOptions {
  bool help = false;
  bool prepare = false;
  // Empty: the settings folder the program itself uses.
  QString config_dir;
  // The text from the arguments; none means standard input.
  std::optional<QString> text;
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
