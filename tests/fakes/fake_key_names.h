// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <map>

#include "platform/key_names.h"

namespace voxmere {

// Key names of a US keyboard layout as the Windows program sees them ("Ctrl",
// "Num *", ";" ...). Tests change single names to mimic other layouts and can
// count how often the layout is asked.
class FakeKeyNames : public KeyNames {
 public:
  FakeKeyNames();

  QString KeyName(int virtual_key) const override;

  // An empty name removes the key from the layout.
  void SetName(int virtual_key, const QString& name);
  // Forgets every name (a layout that names nothing).
  void Clear();

  int calls() const { return calls_; }
  void ResetCalls() { calls_ = 0; }

 private:
  std::map<int, QString> names_;
  mutable int calls_ = 0;
};

}  // namespace voxmere
