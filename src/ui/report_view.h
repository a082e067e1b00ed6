// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QAbstractItemModel;
class QTableView;
class QWidget;

namespace voxmere {

// Report view: grid lines, whole rows, nothing edited in place, no sorting.
QTableView* ReportView(const QString& name, QAbstractItemModel& model, QWidget* parent);

}  // namespace voxmere
