// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "platform/remote_control.h"

namespace voxmere {

class OptionsWindow;

// Requests of other processes, answered as the hot keys and the tray menu
// answer them: through the window's guard, with the same readings, the same
// tray animation and the same warning sound when a reading fails.
class RemoteControl : public QObject, public RemoteRequests {
  Q_OBJECT

 public:
  // The window outlives this object.
  RemoteControl(OptionsWindow& window, RemoteControlService& service, QObject* parent = nullptr);

  // Offers the requests through the service; false when it could not.
  bool Start();

  void ReadSelection() override;
  QString ReadSelectionWithSlot(int slot) override;
  void StopReading() override;
  void ShowOptions() override;
  bool Reading() const override;

 private:
  // Runs `work` through the window's guard once the caller has its answer,
  // and not before the program has finished starting.
  void Later(std::function<void()> work);

  OptionsWindow& window_;
  RemoteControlService& service_;
  // Requests that came while the program was still starting.
  std::vector<std::function<void()>> held_;
};

}  // namespace voxmere
