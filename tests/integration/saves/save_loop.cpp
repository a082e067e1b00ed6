// SPDX-License-Identifier: GPL-3.0-or-later
// Saves cfg.ini, slots.ini and words.ini through the program's own store code,
// alternating two known contents, until it is killed. Each round is one save
// per file, as one OK of the options window, one slot edit and one word edit
// make.
//
//   save_loop FOLDER once   writes content A once and exits (the start state)
//   save_loop FOLDER b      writes content B once and exits (the other state)
//   save_loop FOLDER        alternates B and A for ever; prints "saving" first
#include <QCoreApplication>
#include <QString>
#include <cstdio>

#include "fakes/fake_hot_key_registrar.h"
#include "fakes/fake_key_names.h"
#include "pronunciation/words_file.h"
#include "reading/global_hot_key.h"
#include "settings/cfg_keys.h"
#include "settings/settings_folder.h"
#include "slots/voice_slot_store.h"

namespace voxmere {
namespace {

// Many values in several sections, as the options window's save writes them.
void SaveCfg(const QString& folder, int variant) {
  const CfgFile cfg(SettingsFilePath(folder, kCfgFileName));
  const IniFile& file = cfg.File();
  file.BeginBatch();
  for (int i = 0; i < 12; ++i) {
    file.WriteInteger(kCfgGeneral, QStringLiteral("Value%1").arg(i), variant * 1000 + i);
    file.WriteString(kCfgSpeech, QStringLiteral("Text%1").arg(i),
                     QString(40 + variant * 7, QChar(u'a' + i)));
  }
  file.WriteBool(kCfgOptionsWindow, u"Visible", variant == 1);
  file.TidyBatch();
  file.CommitBatch();
}

void SaveSlot(VoiceSlotStore& store, int variant) {
  store.SaveSlot(1, variant == 0 ? QStringLiteral("Alpha (SAPI5)") : QStringLiteral("Bravo"),
                 variant == 0 ? 5 : 4, static_cast<ShortCut>(49217 + variant), 150 + variant,
                 100 - variant, 80 + variant);
}

void SaveWordTable(const QString& folder, int variant) {
  PronunciationTable table;
  for (int i = 0; i < 50 + variant * 30; ++i) {
    table.append({QStringLiteral("word%1").arg(i), QStringLiteral("said%1-%2").arg(i).arg(variant),
                  QStringLiteral("0")});
  }
  SaveWords(SettingsFilePath(folder, kWordsFileName), table);
}

int Run(const QString& folder, const QString& mode) {
  FakeHotKeyRegistrar registrar;
  HotKeyOwner owner(registrar);
  FakeKeyNames key_names;
  VoiceSlotStore store(SettingsFilePath(folder, kSlotsFileName), owner, key_names, nullptr);
  auto save_all = [&](int variant) {
    SaveCfg(folder, variant);
    SaveSlot(store, variant);
    SaveWordTable(folder, variant);
  };
  if (mode == u"once") {
    // Slot 0 stays as it is; only slot 1 changes between the two contents.
    store.SaveSlot(0, QStringLiteral("Zulu"), 4, 16392, 120, 90, 70);
    save_all(0);
    return 0;
  }
  if (mode == u"b") {
    save_all(1);
    return 0;
  }
  std::puts("saving");
  std::fflush(stdout);
  for (int round = 1;; ++round) save_all(round % 2);
}

}  // namespace
}  // namespace voxmere

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 2) return 2;
  return voxmere::Run(QString::fromLocal8Bit(argv[1]),
                      argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
}
