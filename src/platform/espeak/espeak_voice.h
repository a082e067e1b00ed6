// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include "platform/tts_engine.h"

namespace voxmere {

// One espeak-ng voice as espeak_ListVoices describes it.
struct EspeakVoice {
  struct Language {
    int priority = 0;  // lower is preferred for that language
    QString tag;       // "en-gb"
  };
  QString name;        // "English (Great Britain)"
  QString identifier;  // "gmw/en": what selects the voice
  QList<Language> languages;
  int gender = 0;  // espeak-ng: 0 none, 1 male, 2 female
  int age = 0;     // 0 when not given
};

// The user's language as a lower-case tag ("en-gb" for en_GB.UTF-8), taken
// from the first of LC_ALL, LC_MESSAGES and LANG that is set; empty for the
// C and POSIX locales.
QString LocaleLanguageTag(const QString& lc_all, const QString& lc_messages, const QString& lang);
QString LocaleLanguageTagFromEnvironment();

// The order modes are listed in: the voices of the user's language first (a
// voice for the exact locale before the others, then espeak-ng's preference
// for the language, then the name), then every other voice by name.
QList<EspeakVoice> OrderVoicesForLocale(QList<EspeakVoice> voices, const QString& locale_tag);

// Modes are selected by name, so a name that an earlier voice already has
// (ignoring letter case) gets the voice identifier added.
void MakeVoiceNamesUnique(QList<EspeakVoice>* voices);

// The mode description of a voice. The mode name carries the engine's name so
// that it is unique among the system's engines; the speaker is the voice's own
// name, which is shorter, so the voice catalogue shows "English (Great
// Britain)". Mode identifiers are GUIDs derived from the voice identifier, so
// they stay the same from run to run.
TtsModeInfo ModeInfoForVoice(const EspeakVoice& voice, const QString& engine_version);

// The engine identifier shared by every mode.
QString EspeakEngineId();

}  // namespace voxmere
