// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/voice_catalogue.h"

#include <QStringList>

#include "platform/exception.h"
#include "speech/speech_log.h"

namespace voxmere {
namespace {

// The name a mode is listed under once it is selected.
QString Sapi4ListName(Sapi4Voice& sapi4, const QString& mode_name) {
  try {
    sapi4.SelectEngine(mode_name);
  } catch (const Sapi4Error& error) {
    // The adapter refuses every selection after a broken enumeration; the
    // mode still gets its entry.
    qCDebug(SpeechLog, "SAPI 4 mode \"%s\" listed under its mode name: %s",
            qUtf8Printable(mode_name), qUtf8Printable(error.Message()));
    return mode_name;
  }
  // A failed selection reads no speaker: the one in EngineInfo belongs to an
  // earlier mode. (The adapter has logged why.)
  if (!sapi4.EngineSelected()) return mode_name;
  const QString& speaker = sapi4.EngineInfo().speaker;
  return speaker.size() < mode_name.size() ? speaker : mode_name;
}

}  // namespace

QString Sapi5ListName(const QString& description) {
  return description + QStringLiteral(" (SAPI5)");
}

void LoadVoicesList(Sapi4Voice& sapi4, Sapi5Voice& sapi5, bool sapi5_available, VoicesList& list) {
  list.Clear();
  QStringList sapi4_names;
  // A copy: the names are read while modes are selected.
  const QStringList mode_names = sapi4.EngineNames();
  for (const QString& mode_name : mode_names) sapi4_names.append(Sapi4ListName(sapi4, mode_name));
  list.AddStrings(sapi4_names);

  if (sapi5_available) {
    const int count = sapi5.GetVoices(QString(), QString())->Count();
    for (int i = 0; i < count; ++i) {
      const std::shared_ptr<SpeechObjectToken> token =
          sapi5.GetVoices(QString(), QString())->Item(i);
      if (!token) throw Exception(QStringLiteral("The voice collection returned no voice."));
      list.Add(Sapi5ListName(token->GetDescription(0)));
    }
  }

  list.SetItemIndex(0);
  // An empty list has nothing for the page to show; it would ignore it.
  if (list.Count() > 0) list.NotifyChange(-1, 0);
}

VoiceEngine EngineOfEntry(const Sapi4Voice& sapi4, int position) {
  return position < sapi4.EngineNames().size() ? VoiceEngine::kSapi4 : VoiceEngine::kSapi5;
}

QString Sapi4ModeNameOfEntry(const Sapi4Voice& sapi4, int position) {
  const QStringList& names = sapi4.EngineNames();
  if (position < 0 || position >= names.size()) {
    throw Exception(QStringLiteral("List index out of bounds (%1)").arg(position));
  }
  return names.at(position);
}

int Sapi5IndexOfEntry(const Sapi4Voice& sapi4, int position) {
  return position - static_cast<int>(sapi4.EngineNames().size());
}

std::shared_ptr<SpeechObjectToken> Sapi5TokenOfEntry(Sapi5Voice& sapi5, const Sapi4Voice& sapi4,
                                                     int position) {
  return sapi5.GetVoices(QString(), QString())->Item(Sapi5IndexOfEntry(sapi4, position));
}

int FindStoredVoice(const VoicesList& list, const QString& stored_name, int sapi_version) {
  const QString wanted = sapi_version == 4 ? stored_name : Sapi5ListName(stored_name);
  const QStringList& items = list.Items();
  for (int i = 0; i < items.size(); ++i) {
    if (items[i].compare(wanted, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

}  // namespace voxmere
