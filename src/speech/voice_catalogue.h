// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>

#include "platform/speech_voice.h"
#include "speech/sapi4_voice.h"
#include "speech/sapi5_voice.h"
#include "speech/voices_list.h"

namespace voxmere {

// The one list of every voice: the SAPI 4 modes in enumeration order, then the
// SAPI 5 voices in collection order. A position is a SAPI 4 voice exactly when
// it is less than the number of SAPI 4 mode names (read afresh each time).

enum class VoiceEngine { kSapi4, kSapi5 };

// Builds the list once at start-up: selects every SAPI 4 mode in turn to read
// its speaker, lists the SAPI 5 voices (only when available) with the " (SAPI5)"
// tag, selects position 0 and reports the change (-1 -> 0). SAPI 5 failures
// are not caught. A SAPI 4 mode whose selection fails is listed under its mode
// name.
void LoadVoicesList(Sapi4Voice& sapi4, Sapi5Voice& sapi5, bool sapi5_available, VoicesList& list);

// The SAPI 5 display name of a voice description.
QString Sapi5ListName(const QString& description);

VoiceEngine EngineOfEntry(const Sapi4Voice& sapi4, int position);
// The mode name behind a SAPI 4 position (not the display name); throws for a
// position outside the mode names.
QString Sapi4ModeNameOfEntry(const Sapi4Voice& sapi4, int position);
// The collection position behind a SAPI 5 entry.
int Sapi5IndexOfEntry(const Sapi4Voice& sapi4, int position);
// The token behind a SAPI 5 entry, from a fresh collection; a position outside
// it fails in Item.
std::shared_ptr<SpeechObjectToken> Sapi5TokenOfEntry(Sapi5Voice& sapi5, const Sapi4Voice& sapi4,
                                                     int position);

// The position of a stored voice: the stored name (version 4) or the stored
// name plus " (SAPI5)" (any other version, as the Windows program's settings
// load does), compared whole and without regard to case, first match; -1
// when absent.
int FindStoredVoice(const VoicesList& list, const QString& stored_name, int sapi_version);

}  // namespace voxmere
