// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/remote_control.h"

#include <QTimer>
#include <cstddef>
#include <optional>
#include <utility>

#include "app/options_window.h"

namespace voxmere {

RemoteControl::RemoteControl(OptionsWindow& window, RemoteControlService& service, QObject* parent)
    : QObject(parent), window_(window), service_(service) {
  connect(&window_.Reading(), &ReadingController::ReadingChanged, this,
          [this](bool reading) { service_.ReadingChanged(reading); });
  // Queued: held requests run once the start-up is over and the event loop
  // runs.
  connect(
      &window_.tray_icon, &TrayIconModel::AnsweringChanged, this,
      [this](bool answering) {
        if (!answering) return;
        for (std::function<void()>& work : std::exchange(held_, {})) Later(std::move(work));
      },
      Qt::QueuedConnection);
}

bool RemoteControl::Start() { return service_.Offer(*this); }

void RemoteControl::Later(std::function<void()> work) {
  if (!window_.tray_icon.Answering()) {
    held_.push_back(std::move(work));
    return;
  }
  QTimer::singleShot(0, this, [this, work = std::move(work)] { window_.Guard(work); });
}

void RemoteControl::ReadSelection() {
  Later([this] { window_.Reading().ReadRequestedRemotely(std::nullopt); });
}

QString RemoteControl::ReadSelectionWithSlot(int slot) {
  // A slot that does not exist fails as a reading fails: with the warning
  // sound and its log line. The caller hears why as well.
  const int index = slot >= 1 ? slot - 1 : -1;
  Later([this, index] { window_.Reading().ReadRequestedRemotely(index); });
  const std::size_t count = window_.Slots().Slots().size();
  if (index >= 0 && static_cast<std::size_t>(index) < count) return {};
  if (count == 0)
    return QStringLiteral("There is no voice slot %1: no voice slots are set up.").arg(slot);
  return QStringLiteral("There is no voice slot %1: the voice slots are numbered 1 to %2.")
      .arg(slot)
      .arg(count);
}

void RemoteControl::StopReading() {
  Later([this] { window_.Reading().StopReading(); });
}

void RemoteControl::ShowOptions() {
  Later([this] { window_.OptionsEntryClicked(); });
}

bool RemoteControl::Reading() const { return window_.Reading().Reading(); }

}  // namespace voxmere
