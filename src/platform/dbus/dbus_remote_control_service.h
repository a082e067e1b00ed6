// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusContext>
#include <QObject>
#include <QString>
#include <memory>

#include "platform/dbus/remote_control_address.h"
#include "platform/remote_control.h"

namespace voxmere {

// The object other processes call at RemoteControlAddress: its public slots
// are the interface's methods, its property "Reading" the interface's
// property.
class DBusRemoteControlObject : public QObject, protected QDBusContext {
  Q_OBJECT
  // Qt answers org.freedesktop.DBus.Properties for this name only.
  Q_CLASSINFO("D-Bus Interface", VOXMERE_REMOTE_CONTROL_INTERFACE)
  Q_PROPERTY(bool Reading READ Reading)

 public:
  explicit DBusRemoteControlObject(RemoteRequests& requests) : requests_(requests) {}

  bool Reading() const { return requests_.Reading(); }

 public slots:
  void ReadSelection();
  void ReadSelectionWithSlot(int slot);
  void StopReading();
  void ShowOptions();

 private:
  RemoteRequests& requests_;
};

// Offers the requests on the session bus under the program's name and sends
// the property's change as org.freedesktop.DBus.Properties.PropertiesChanged.
class DBusRemoteControlService : public RemoteControlService {
 public:
  DBusRemoteControlService();
  // Gives the name and the object up.
  ~DBusRemoteControlService() override;

  bool Offer(RemoteRequests& requests) override;
  void ReadingChanged(bool reading) override;

 private:
  void Withdraw();

  std::unique_ptr<DBusRemoteControlObject> object_;
  bool registered_ = false;
};

}  // namespace voxmere
