// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/options_window.h"

#include "app/app_log.h"
#include "platform/exception.h"
#include "settings/settings_folder.h"

namespace voxmere {

const QString& OptionsWindow::Caption() {
  static const QString caption = QStringLiteral("Voxmere! Options");
  return caption;
}

OptionsWindow::OptionsWindow(AppPlatform platform, AppPaths paths, QObject* parent)
    : QObject(parent),
      platform_(platform),
      paths_(std::move(paths)),
      sapi4_(std::make_unique<Sapi4Voice>(platform_.sapi4_factory)),
      sapi5_(std::make_unique<Sapi5Voice>(platform_.sapi5_connector)),
      hot_key_owner_(platform_.hot_keys),
      general(platform_.key_names),
      default_voice(*sapi4_, *sapi5_),
      word_editor(pronunciation, WordsPath(), platform_.messages, platform_.help,
                  [this](const QString& text) { default_voice.Speak(text); }),
      pronunciation_actions(pronunciation, word_editor, WordsPath(), platform_.messages,
                            [this](const QString& text) { default_voice.Speak(text); }),
      about(platform_.links, platform_.help, paths_.addresses),
      tray_menu(general),
      default_hot_key_(hot_key_owner_, QStringLiteral("DefaultHotKey")),
      options_hot_key_(hot_key_owner_, QStringLiteral("OptionsHotKey")),
      stop_hot_key_(hot_key_owner_, QStringLiteral("StopHotKey")) {
  setObjectName(QStringLiteral("frmMain"));
  slots_ = std::make_unique<VoiceSlotStore>(
      SlotsPath(), hot_key_owner_, platform_.key_names,
      [this](int slot) { Guard([this, slot] { reading_->SelectSlot(slot); }); });
  slots_list_ = std::make_unique<SlotsListModel>(*slots_);
  slots_page_ = std::make_unique<SlotsPage>(*slots_, platform_.messages);
  slot_editor_ = std::make_unique<SlotEditor>(SlotEditor::Parts{
      *sapi4_, *sapi5_, default_voice.voices_list, *slots_, *slots_page_, platform_.messages,
      platform_.help, platform_.key_names, default_hot_key_, stop_hot_key_, options_hot_key_});
  connect(slots_page_.get(), &SlotsPage::AddRequested, this,
          [this] { Guard([this] { slot_editor_->OpenForAdding(); }); });
  connect(slots_page_.get(), &SlotsPage::EditRequested, this,
          [this](int row) { Guard([this, row] { slot_editor_->OpenForEditing(row); }); });
  reading_ = std::make_unique<ReadingController>(
      ReadingController::Parts{flags_, *sapi4_, *sapi5_, default_voice, general, pronunciation,
                               *slots_, tray_icon, tray_menu,
                               CaptureServices{platform_.clipboard, platform_.focus_copy,
                                               platform_.key_injector, platform_.event_pump},
                               platform_.beeper, platform_.session_selection});
  reading_->ConnectEngineEvents();

  default_hot_key_.OnHotKey = [this](GlobalHotKey&) {
    Guard([this] { reading_->ReadWithDefaultVoice(); });
  };
  options_hot_key_.OnHotKey = [this](GlobalHotKey&) { Guard([this] { OptionsKeyPressed(); }); };
  stop_hot_key_.OnHotKey = [this](GlobalHotKey&) { Guard([this] { reading_->StopReading(); }); };

  connect(&pages, &PageControl::PageChanged, this, [this](int page) { PageChanged(page); });
  connect(&tray_menu.options, &MenuEntry::Clicked, this,
          [this] { Guard([this] { OptionsEntryClicked(); }); });
  connect(&tray_menu.configure_slots, &MenuEntry::Clicked, this,
          [this] { Guard([this] { ConfigureSlotsEntryClicked(); }); });
  connect(&tray_menu.stop_reading, &MenuEntry::Clicked, this,
          [this] { Guard([this] { reading_->StopReading(); }); });
  connect(&tray_menu.help, &MenuEntry::Clicked, this,
          [this] { Guard([this] { HelpEntryClicked(); }); });
  connect(&tray_menu.website, &MenuEntry::Clicked, this,
          [this] { Guard([this] { WebsiteEntryClicked(); }); });
  connect(&tray_menu.about, &MenuEntry::Clicked, this,
          [this] { Guard([this] { AboutEntryClicked(); }); });
  connect(&tray_menu.exit, &MenuEntry::Clicked, this,
          [this] { Guard([this] { ExitEntryClicked(); }); });

  platform_.session_end.SetQueryHandler([this] { return SessionEndQueried(); });
}

OptionsWindow::~OptionsWindow() {
  platform_.session_end.SetQueryHandler(nullptr);
  try {
    CleanUp();
  } catch (...) {
    // The clean-up reports nothing at this point.
    qCWarning(AppLog, "The clean-up at the end failed: %s",
              qUtf8Printable(CurrentExceptionMessage()));
  }
  // The slot hot keys and the controller go before the engines and the owner.
  reading_.reset();
  slot_editor_.reset();
  slots_page_.reset();
  slots_list_.reset();
  slots_.reset();
}

QString OptionsWindow::CfgPath() const {
  return SettingsFilePath(paths_.settings_folder, kCfgFileName);
}
QString OptionsWindow::SlotsPath() const {
  return SettingsFilePath(paths_.settings_folder, kSlotsFileName);
}
QString OptionsWindow::WordsPath() const {
  return SettingsFilePath(paths_.settings_folder, kWordsFileName);
}

void OptionsWindow::Guard(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowUnhandledError(error);
  } catch (...) {
    ShowUnhandledError(Exception(QStringLiteral("Unknown error")));
  }
}

void OptionsWindow::ShowUnhandledError(const std::exception& error) {
  const auto* ours = dynamic_cast<const Exception*>(&error);
  const QString text = ours ? ours->Message() : QString::fromLocal8Bit(error.what());
  try {
    platform_.messages.Plain(text);
  } catch (...) {
    // Nothing more can be shown.
    qCWarning(AppLog, "The error \"%s\" could not be shown: %s", qUtf8Printable(text),
              qUtf8Printable(CurrentExceptionMessage()));
  }
}

}  // namespace voxmere
