// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace voxmere {

// The voice list shows SAPI 5 voices with the suffix " (SAPI5)"; the settings
// files store their names without it and keep the engine version beside them.
// The name under which a voice list entry is stored: when the entry contains
// "(SAPI5)", everything from the character just before it to the end is cut
// off; any other entry is stored whole.
QString StoredVoiceName(const QString& list_entry);

}  // namespace voxmere
