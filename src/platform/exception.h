// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <exception>
#include <stdexcept>

namespace voxmere {

// The program's one failure type. The message is shown to the user as it
// stands (the application-wide handler puts it in a plain message box), so it
// must read well on its own.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}

  const QString& Message() const noexcept { return message_; }

 private:
  QString message_;
};

// The message of the exception being handled, for a log line. Call it only
// inside a catch block.
inline QString CurrentExceptionMessage() {
  try {
    throw;
  } catch (const Exception& error) {
    return error.Message();
  } catch (const std::exception& error) {
    return QString::fromLocal8Bit(error.what());
  } catch (...) {
    return QStringLiteral("an unknown error");
  }
}

}  // namespace voxmere
