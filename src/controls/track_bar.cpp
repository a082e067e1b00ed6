// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/track_bar.h"

#include <algorithm>

namespace voxmere {

TrackBar::TrackBar(const QString& name, int min, int max, int position, int frequency,
                   QObject* parent)
    : QObject(parent),
      min_(min),
      max_(std::max(min, max)),
      position_(std::clamp(position, min_, max_)),
      frequency_(frequency) {
  setObjectName(name);
}

void TrackBar::SetRange(int min, int max) {
  max = std::max(min, max);
  if (min != min_ || max != max_) {
    min_ = min;
    max_ = max;
    emit RangeChanged(min_, max_);
  }
  SetPosition(position_);
}

void TrackBar::SetPosition(int position) {
  position = std::clamp(position, min_, max_);
  if (position == position_) return;
  position_ = position;
  emit Changed(position_);
}

}  // namespace voxmere
