// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <chrono>

namespace voxmere {

// A save that has been cut short (the program killed between writing the
// temporary file and renaming it over the target) leaves the temporary beside
// the target: QSaveFile names it "<file name>.XXXXXX", six ASCII letters.
// A save takes milliseconds, so one older than this is nobody's work any more.
inline constexpr std::chrono::seconds kSaveLeftoverAge{10};

// True for the temporary-file names of our own three settings files
// ("cfg.ini.AbCdEf", "slots.ini.xYzWvU", "words.ini.QrStUv") and nothing else.
bool IsSaveLeftoverName(const QString& file_name);

// Removes the leftovers of cut-short saves from the settings folder: regular
// files (not links, not folders) with such a name, last written at least
// `min_age` ago. Anything else is never touched; a leftover that cannot be
// removed is only logged. Returns the names removed.
QStringList RemoveSaveLeftovers(const QString& folder,
                                std::chrono::seconds min_age = kSaveLeftoverAge);

}  // namespace voxmere
