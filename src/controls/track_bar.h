// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

namespace voxmere {

// A track bar (slider) with its range and position. The position always lies
// in the range: setting the range brings it to the nearest end, setting a
// position outside the range clamps it. Changed() is emitted after every
// change of the position, whether the program or the user made it.
class TrackBar : public QObject {
  Q_OBJECT

 public:
  TrackBar(const QString& name, int min, int max, int position, int frequency,
           QObject* parent = nullptr);

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  int Frequency() const { return frequency_; }

  // The range becomes exactly [min, max] (max below min is taken as min).
  void SetRange(int min, int max);
  void SetPosition(int position);

 signals:
  // The range changed (for views).
  void RangeChanged(int min, int max);
  // The position changed.
  void Changed(int position);

 private:
  int min_;
  int max_;
  int position_;
  int frequency_;
};

}  // namespace voxmere
