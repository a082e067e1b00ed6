// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbus/dbus_remote_call.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>

#include "platform/dbus/remote_control_address.h"

namespace voxmere {
namespace {

// The program answers before it does the work; a program that does not
// answer in this time hangs.
constexpr int kAnswerTimeoutMs = 5000;

}  // namespace

RemoteCallResult CallRunningProgram(const QString& method, const QVariantList& arguments) {
  using Outcome = RemoteCallResult::Outcome;
  const QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    return {Outcome::kNotRunning, QStringLiteral("Voxmere is not running (no session bus: %1).")
                                      .arg(bus.lastError().message())};
  }
  QDBusMessage call =
      QDBusMessage::createMethodCall(RemoteControlAddress::Service(), RemoteControlAddress::Path(),
                                     RemoteControlAddress::Interface(), method);
  call.setArguments(arguments);
  // Nothing is to start a program for the call: it runs, or it does not.
  call.setAutoStartService(false);
  const QDBusMessage reply = bus.call(call, QDBus::Block, kAnswerTimeoutMs);
  if (reply.type() == QDBusMessage::ReplyMessage) return {Outcome::kDone, {}};

  const QString error = reply.errorName();
  if (error == QDBusError::errorString(QDBusError::ServiceUnknown) ||
      error == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner")) {
    return {Outcome::kNotRunning, QStringLiteral("Voxmere is not running.")};
  }
  if (error == RemoteControlAddress::NoSuchSlotError()) {
    return {Outcome::kRefused, reply.errorMessage()};
  }
  if (error == QDBusError::errorString(QDBusError::NoReply) ||
      error == QDBusError::errorString(QDBusError::Timeout)) {
    return {
        Outcome::kFailed,
        QStringLiteral("Voxmere did not answer within %1 seconds.").arg(kAnswerTimeoutMs / 1000)};
  }
  return {Outcome::kFailed,
          QStringLiteral("the call failed: %1 (%2)").arg(reply.errorMessage(), error)};
}

}  // namespace voxmere
