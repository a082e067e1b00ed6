// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbus/dbus_remote_control_service.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

#include "platform/dbus/dbus_log.h"
#include "platform/dbus/remote_control_address.h"

namespace voxmere {

void DBusRemoteControlObject::ReadSelection() { requests_.ReadSelection(); }

void DBusRemoteControlObject::ReadSelectionWithSlot(int slot) {
  const QString refusal = requests_.ReadSelectionWithSlot(slot);
  if (!refusal.isEmpty() && calledFromDBus()) {
    sendErrorReply(RemoteControlAddress::NoSuchSlotError(), refusal);
  }
}

void DBusRemoteControlObject::StopReading() { requests_.StopReading(); }

void DBusRemoteControlObject::ShowOptions() { requests_.ShowOptions(); }

DBusRemoteControlService::DBusRemoteControlService() = default;

DBusRemoteControlService::~DBusRemoteControlService() { Withdraw(); }

bool DBusRemoteControlService::Offer(RemoteRequests& requests) {
  Withdraw();
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    qCWarning(DBusLog, "No remote control: no session bus (%s)",
              qUtf8Printable(bus.lastError().message()));
    return false;
  }
  object_ = std::make_unique<DBusRemoteControlObject>(requests);
  if (!bus.registerObject(RemoteControlAddress::Path(), RemoteControlAddress::Interface(),
                          object_.get(),
                          QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties)) {
    qCWarning(DBusLog, "No remote control: the object %s could not be registered",
              qUtf8Printable(RemoteControlAddress::Path()));
    object_.reset();
    return false;
  }
  // Never queued, never replacing: the single-instance lock decided already
  // that this process is the running copy; a name held by someone else
  // (another copy on a foreign lock) stays theirs.
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
      bus.interface()->registerService(RemoteControlAddress::Service(),
                                       QDBusConnectionInterface::DontQueueService,
                                       QDBusConnectionInterface::DontAllowReplacement);
  if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
    qCWarning(DBusLog, "No remote control: the name %s is taken or refused (%s)",
              qUtf8Printable(RemoteControlAddress::Service()),
              qUtf8Printable(reply.error().message()));
    bus.unregisterObject(RemoteControlAddress::Path());
    object_.reset();
    return false;
  }
  registered_ = true;
  return true;
}

void DBusRemoteControlService::ReadingChanged(bool reading) {
  if (!registered_) return;
  QDBusMessage signal = QDBusMessage::createSignal(
      RemoteControlAddress::Path(), QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("PropertiesChanged"));
  signal << RemoteControlAddress::Interface() << QVariantMap{{QStringLiteral("Reading"), reading}}
         << QStringList();
  QDBusConnection::sessionBus().send(signal);
}

void DBusRemoteControlService::Withdraw() {
  if (object_ == nullptr) return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (registered_) bus.unregisterService(RemoteControlAddress::Service());
  bus.unregisterObject(RemoteControlAddress::Path());
  registered_ = false;
  object_.reset();
}

}  // namespace voxmere
