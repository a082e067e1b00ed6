#include "app/tfrm_main.h"

#include "settings/settings_folder.h"

namespace voxmere {

const QString& TfrmMain::Caption() {
  static const QString caption = QStringLiteral("Voxmere! Options");
  return caption;
}

TfrmMain::TfrmMain(AppPlatform platform, AppPaths paths, QObject* parent)
    : QObject(parent),
      platform_(platform),
      paths_(std::move(paths)),
      sapi4_(std::make_unique<TMSpeech>(platform_.sapi4_factory)),
      sapi5_(std::make_unique<TSpVoice>(platform_.sapi5_connector)),
      hot_key_owner_(platform_.hot_keys),
      General(platform_.key_names),
      DefaultVoice(*sapi4_, *sapi5_),
      About(platform_.links),
      TrayMenu(General),
      default_hot_key_(hot_key_owner_, QStringLiteral("DefaultHotKey")),
      options_hot_key_(hot_key_owner_, QStringLiteral("OptionsHotKey")),
      stop_hot_key_(hot_key_owner_, QStringLiteral("StopHotKey")) {
  setObjectName(QStringLiteral("frmMain"));
  slots_ = std::make_unique<VoiceSlotStore>(
      SlotsPath(), hot_key_owner_, platform_.key_names,
      [this](int slot) { Guard([this, slot] { reading_->SelectSlot(slot); }); });
  slots_list_ = std::make_unique<SlotsListModel>(*slots_);
  reading_ = std::make_unique<ReadingController>(ReadingController::Parts{
      flags_, *sapi4_, *sapi5_, DefaultVoice, Pronunciation, *slots_, TrayIcon, TrayMenu,
      CaptureServices{platform_.clipboard, platform_.focus_copy, platform_.key_injector,
                      platform_.event_pump},
      platform_.beeper});
  reading_->ConnectEngineEvents();

  default_hot_key_.OnHotKey = [this](TJvApplicationHotKey&) {
    Guard([this] { reading_->DefaultHotKeyHotKey(); });
  };
  options_hot_key_.OnHotKey = [this](TJvApplicationHotKey&) {
    Guard([this] { OptionsHotKeyHotKey(); });
  };
  stop_hot_key_.OnHotKey = [this](TJvApplicationHotKey&) {
    Guard([this] { reading_->StopHotKeyHotKey(); });
  };

  connect(&Pages, &PageControl::PagesChange, this, [this](int page) { PagesChange(page); });
  connect(&TrayMenu.Options1, &MenuEntry::Clicked, this,
          [this] { Guard([this] { Options1Click(); }); });
  connect(&TrayMenu.Configurevoiceslots1, &MenuEntry::Clicked, this,
          [this] { Guard([this] { Configurevoiceslots1Click(); }); });
  connect(&TrayMenu.Stopreading1, &MenuEntry::Clicked, this,
          [this] { Guard([this] { reading_->Stopreading1Click(); }); });
  connect(&TrayMenu.Website1, &MenuEntry::Clicked, this,
          [this] { Guard([this] { Website1Click(); }); });
  connect(&TrayMenu.About1, &MenuEntry::Clicked, this,
          [this] { Guard([this] { About1Click(); }); });
  connect(&TrayMenu.Exit1, &MenuEntry::Clicked, this, [this] { Guard([this] { Exit1Click(); }); });

  platform_.session_end.SetQueryHandler([this] { return WMQueryEndSession(); });
}

TfrmMain::~TfrmMain() {
  platform_.session_end.SetQueryHandler(nullptr);
  // FormDestroy.
  try {
    BeforeCloseActions();
  } catch (...) {
    // The clean-up reports nothing at this point.
  }
  // The slot hot keys and the controller go before the engines and the owner.
  reading_.reset();
  slots_list_.reset();
  slots_.reset();
}

QString TfrmMain::CfgPath() const { return SettingsFilePath(paths_.settings_folder, kCfgFileName); }
QString TfrmMain::SlotsPath() const {
  return SettingsFilePath(paths_.settings_folder, kSlotsFileName);
}
QString TfrmMain::WordsPath() const {
  return SettingsFilePath(paths_.settings_folder, kWordsFileName);
}

void TfrmMain::Guard(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    AppEventsException(error);
  } catch (...) {
    AppEventsException(Exception(QStringLiteral("Unknown error")));
  }
}

void TfrmMain::AppEventsException(const std::exception& error) {
  const auto* ours = dynamic_cast<const Exception*>(&error);
  const QString text = ours ? ours->Message() : QString::fromLocal8Bit(error.what());
  try {
    platform_.messages.Plain(text);
  } catch (...) {
    // Nothing more can be shown.
  }
}

}  // namespace voxmere
