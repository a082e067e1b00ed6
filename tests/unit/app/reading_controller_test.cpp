// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/reading_controller.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "fakes/fake_session_selection.h"
#include "speech/voice_catalogue.h"

namespace voxmere {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr ClipboardOwner kEditor = 8;
constexpr int kMary = 0, kMike = 1, kZira = 3;

// Slot 0: SAPI 5 Zira 180/105/70; 1: SAPI 4 Mike (stored in other case);
// 2: a SAPI 5 voice no longer installed; 3: a speed that is no number.
const QByteArray kSlots =
    "[Slot_0]\r\nVoice=Zira\r\nHotKey=0\r\nSpeed=180\r\nPitch=105\r\nVolume=70\r\n"
    "SAPIVersion=5\r\n[Slot_1]\r\nVoice=mike\r\nHotKey=0\r\nSpeed=200\r\nPitch=120\r\n"
    "Volume=80\r\nSAPIVersion=4\r\n[Slot_2]\r\nVoice=Gone\r\nHotKey=0\r\nSpeed=180\r\n"
    "Pitch=180\r\nVolume=100\r\nSAPIVersion=5\r\n[Slot_3]\r\nVoice=Mary\r\nHotKey=0\r\n"
    "Speed=fast\r\nPitch=100\r\nVolume=50\r\nSAPIVersion=4\r\n";

// While it lives, the program's log lines are on and go, in order, into
// `events` (as "category: message"); the previous handler and rules come back
// afterwards.
class LogRecorder {
 public:
  explicit LogRecorder(std::vector<std::string>& events) {
    events_ = &events;
    QLoggingCategory::setFilterRules(QStringLiteral("voxmere.*=true"));
    previous_ = qInstallMessageHandler(&Record);
  }
  ~LogRecorder() {
    qInstallMessageHandler(previous_);
    QLoggingCategory::setFilterRules(QString());
    events_ = nullptr;
  }
  LogRecorder(const LogRecorder&) = delete;
  LogRecorder& operator=(const LogRecorder&) = delete;

 private:
  static void Record(QtMsgType, const QMessageLogContext& context, const QString& message) {
    const std::string category = context.category != nullptr ? context.category : "";
    if (events_ != nullptr && category.starts_with("voxmere.")) {
      events_->push_back(category + ": " + message.toStdString());
    }
  }

  static inline std::vector<std::string>* events_ = nullptr;
  QtMessageHandler previous_ = nullptr;
};

// Two SAPI 4 modes ("Mary", "Mike") and two SAPI 5 voices.
struct EngineFakes {
  EngineFakes() {
    factory.AddMode("Adult Female #1", "Mary");
    factory.AddMode("Adult Male #1", "Mike");
    connector.Instance()->SetVoices({"Microsoft Anna", "Zira"});
  }
  FakeTtsObjectFactory factory;
  FakeSpeechVoiceConnector connector;
};

class ReadingControllerTest : public ::testing::Test {
 protected:
  ReadingControllerTest() {
    test_support::TestApplication();
    QFile file(dir_.filePath("slots.ini"));
    if (file.open(QIODevice::WriteOnly)) file.write(kSlots);
    file.close();
    slots_.LoadVoiceSlots();
    LoadVoicesList(sapi4_, sapi5_, true, page_.voices_list);
    // The focused editor copies its selection when Ctrl+C arrives.
    keys_.on_press = [this](const FakeKeyInjector::Press& press) {
      if (press.virtual_key == KeyInjector::kVkC && press.held.contains(KeyInjector::kVkControl))
        pump_.Post([this] { clipboard_.Take(kEditor, selection_); });
    };
    clipboard_.Take(5, "old");
    controller_.ConnectEngineEvents();
    connector_.Log()->Clear();
    factory_.Log()->Clear();
  }

  // Chooses a default voice as the user does on the page, then sets the bars.
  void ChooseDefault(int row, int speed, int pitch, int volume) {
    page_.voices_list.UserSelect(row);
    page_.speed_bar.SetPosition(speed);
    page_.pitch_bar.SetPosition(pitch);
    page_.volume_bar.SetPosition(volume);
    connector_.Log()->Clear();
    factory_.Log()->Clear();
  }
  std::vector<std::string> Sapi5Calls(const std::string& prefix) const {
    std::vector<std::string> calls;
    for (const std::string& call : connector_.Log()->Calls())
      if (call.starts_with(prefix)) calls.push_back(call);
    return calls;
  }
  // Every text handed to a SAPI 4 engine, without the line end and the zero.
  QStringList Sapi4Texts() const {
    QStringList texts;
    for (const auto& engine : factory_.Engines())
      for (const auto& call : engine->TextDataCalls())
        texts << QString::fromUtf8(call.data.chopped(3));
    return texts;
  }
  FakeSpeechVoiceServer& Server() { return *connector_.Instance(); }

  QTemporaryDir dir_;
  EngineFakes engines_;
  FakeTtsObjectFactory& factory_ = engines_.factory;
  FakeSpeechVoiceConnector& connector_ = engines_.connector;
  Sapi4Voice sapi4_{factory_};
  Sapi5Voice sapi5_{connector_};
  DefaultVoicePage page_{sapi4_, sapi5_};
  PronunciationPage pronunciation_;
  FakeKeyNames key_names_;
  FakeHotKeyRegistrar registrar_;
  HotKeyOwner owner_{registrar_};
  VoiceSlotStore slots_{dir_.filePath("slots.ini"), owner_, key_names_, [](int) {}};
  GeneralPage general_{key_names_};
  TrayIconModel tray_;
  TrayMenuModel menu_{general_};
  CaptureLog log_;
  FakeClipboard clipboard_{log_};
  FakeFocusCopy focus_{log_};
  FakeKeyInjector keys_{log_};
  FakeEventPump pump_{log_};
  FakeMessageBoxes beeper_;
  AppFlags flags_;
  QString selection_ = "hello world";
  FakeSessionSelection session_;
  ReadingController controller_{{flags_, sapi4_, sapi5_, page_, general_, pronunciation_, slots_,
                                 tray_, menu_, CaptureServices{clipboard_, focus_, keys_, pump_},
                                 beeper_, &session_}};
};

TEST_F(ReadingControllerTest, DefaultVoiceReadsWithTheBarsAsTheyStand) {
  // SAPI 5: voice, rate and volume applied, the pitch in the markup, queued
  // behind the speech already running (no purge).
  ChooseDefault(kZira, 4, -5, 60);
  Server().StartStream(1);
  controller_.ReadWithDefaultVoice();
  selection_ = "second";
  controller_.ReadWithDefaultVoice();
  EXPECT_THAT(Sapi5Calls("Speak"), ElementsAre("Speak(<pitch middle=\"-5\">hello world,1)",
                                               "Speak(<pitch middle=\"-5\">second,1)"));
  EXPECT_EQ(controller_.PitchPrefix(), "<pitch middle=\"-5\">");
  EXPECT_EQ(Server().CurrentVoice(), "Zira");
  EXPECT_EQ(Server().Rate(), 4);
  EXPECT_EQ(Server().Volume(), 60);
  EXPECT_EQ(clipboard_.Current().text, "old");  // put back after each capture

  // SAPI 4: the engine of the row at the bar positions, the text without
  // markup, nothing stopped; the pitch prefix is emptied.
  ChooseDefault(kMike, 200, 120, 80);
  controller_.ReadWithDefaultVoice();
  EXPECT_THAT(Sapi4Texts(), ElementsAre("second"));
  EXPECT_EQ(sapi4_.EngineInfo().mode_name, "Adult Male #1");
  EXPECT_EQ(sapi4_.Speed(), 200u);
  EXPECT_EQ(sapi4_.Pitch(), 120u);
  EXPECT_EQ(sapi4_.Volume(), 80u);
  EXPECT_TRUE(controller_.PitchPrefix().isEmpty());
  EXPECT_EQ(factory_.Log()->CountOf("AudioReset"), 0);
  EXPECT_THAT(Sapi5Calls("Speak"), IsEmpty());
  EXPECT_EQ(beeper_.Beeps(), 0);
}

TEST_F(ReadingControllerTest, AStopOrANewerReadingDuringTheCaptureCallsItOff) {
  // The capture runs waiting events: a stop key, or a reading key pressed
  // again, handled there. The stop silences the reading it follows; of two
  // readings the later speaks, once. Both engines, the default and a slot.
  const struct {
    const char* name;
    int row;
    bool slot;
    bool stop;
  } cases[] = {
      {"SAPI 5 default, stop", kZira, false, true}, {"SAPI 5 default, again", kZira, false, false},
      {"SAPI 4 default, stop", kMike, false, true}, {"SAPI 4 default, again", kMike, false, false},
      {"SAPI 4 slot, stop", kMike, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChooseDefault(c.row, 0, 0, 100);
    const int sapi4_before = static_cast<int>(Sapi4Texts().size());
    pump_.during_wait = [&] {
      selection_ = "newer";
      if (c.stop) {
        controller_.StopReading();
      } else {
        controller_.ReadWithDefaultVoice();
      }
    };
    selection_ = "first";
    if (c.slot) {
      controller_.SelectSlot(1);
    } else {
      controller_.ReadWithDefaultVoice();
    }
    QStringList spoken = Sapi4Texts().mid(sapi4_before);
    for (const std::string& call : Sapi5Calls("Speak(<pitch"))
      spoken << QString::fromStdString(call);
    if (c.stop) {
      EXPECT_TRUE(spoken.isEmpty()) << spoken.join(u'|').toStdString();
    } else {
      ASSERT_EQ(spoken.size(), 1) << spoken.join(u'|').toStdString();
      EXPECT_TRUE(spoken[0].contains(u"newer")) << spoken[0].toStdString();
    }
    EXPECT_EQ(clipboard_.Current().text, "old");
    EXPECT_EQ(beeper_.Beeps(), 0);
  }
}

TEST_F(ReadingControllerTest, DefaultVoiceFailuresOnlyBeep) {
  // No row selected: nothing captured.
  page_.voices_list.SetItemIndex(-1);
  controller_.ReadWithDefaultVoice();
  EXPECT_EQ(beeper_.Beeps(), 1);
  EXPECT_THAT(log_, IsEmpty());

  // The engine refuses the text.
  ChooseDefault(kZira, 0, 0, 100);
  connector_.Log()->FailOn("Speak", "engine gone");
  controller_.ReadWithDefaultVoice();
  EXPECT_EQ(beeper_.Beeps(), 2);
  EXPECT_EQ(clipboard_.Current().text, "old");

  // Failures that are not the program's own are caught as well, in both
  // requests.
  focus_.on_copy = [] { throw std::runtime_error("no focus"); };
  controller_.ReadWithDefaultVoice();
  controller_.SelectSlot(1);
  EXPECT_EQ(beeper_.Beeps(), 4);
  focus_.on_copy = nullptr;

  // The clipboard cannot be opened: nothing reaches the engine.
  connector_.Log()->ClearFailures();
  connector_.Log()->Clear();
  clipboard_.FailAt("Save");
  controller_.ReadWithDefaultVoice();
  EXPECT_EQ(beeper_.Beeps(), 5);
  EXPECT_THAT(Sapi5Calls("Speak"), IsEmpty());

  EXPECT_THAT(beeper_.Boxes(), IsEmpty());
}

TEST_F(ReadingControllerTest, EveryBeepComesAfterALogLineNamingItsCause) {
  std::vector<std::string> events;
  const LogRecorder recorder(events);
  beeper_.SetOnBeep([&events] { events.push_back("beep"); });
  ChooseDefault(kZira, 0, 0, 100);

  struct Case {
    const char* failure;
    std::function<void()> make_it_fail;
    int slot;  // -1: the default voice's reading
    const char* reading;
    const char* cause;
  };
  const Case cases[] = {
      {"an uninstalled slot voice", [] {}, 2, "voice slot 2",
       "The voice \"Gone\" is not installed."},
      {"the engine", [this] { connector_.Log()->FailOn("Speak", "engine gone", 0, 1); }, -1,
       "the default voice", "engine gone"},
      {"a foreign exception",
       [this] { focus_.on_copy = [] { throw std::runtime_error("no focus"); }; }, 1, "voice slot 1",
       "no focus"},
      {"the capture",
       [this] {
         focus_.on_copy = nullptr;
         clipboard_.FailAt("Save");
       },
       -1, "the default voice", kCannotOpenClipboard},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failure);
    c.make_it_fail();
    events.clear();
    if (c.slot < 0) {
      controller_.ReadWithDefaultVoice();
    } else {
      controller_.SelectSlot(c.slot);
    }
    EXPECT_THAT(events, ElementsAre(AllOf(HasSubstr("voxmere.app: "), HasSubstr(c.reading),
                                          HasSubstr(c.cause)),
                                    "beep"));
  }
  beeper_.SetOnBeep(nullptr);
}

TEST_F(ReadingControllerTest, PreparedTextAsThePronunciationPageStandsReachesTheEngine) {
  ChooseDefault(kZira, 0, 2, 100);
  pronunciation_.ignore_characters.SetChecked(true);
  pronunciation_.ignored_characters.SetText("*");
  pronunciation_.use_corrections.SetChecked(true);
  pronunciation_.Table().append({"teh", "the", "No"});
  selection_ = "*Teh* cat";
  controller_.ReadWithDefaultVoice();
  pronunciation_.use_corrections.SetChecked(false);
  controller_.ReadWithDefaultVoice();
  EXPECT_THAT(Sapi5Calls("Speak"), ElementsAre("Speak(<pitch middle=\"2\"> the  cat,1)",
                                               "Speak(<pitch middle=\"2\"> Teh  cat,1)"));
}

TEST_F(ReadingControllerTest, TheGeneralPageBoxAsItStandsChoosesTheDirectReading) {
  ChooseDefault(kZira, 0, 0, 100);
  clipboard_.Select("on the screen");
  general_.primary_selection.SetChecked(true);
  controller_.ReadWithDefaultVoice();
  general_.primary_selection.SetChecked(false);
  controller_.ReadWithDefaultVoice();
  EXPECT_THAT(Sapi5Calls("Speak"), ElementsAre("Speak(<pitch middle=\"0\">on the screen,1)",
                                               "Speak(<pitch middle=\"0\">hello world,1)"));
}

TEST_F(ReadingControllerTest, RemoteReadingsTakeTheSessionsSelectionWithoutTheClipboard) {
  // A Wayland session: the remote control's readings (default and slot) read
  // what is highlighted there, prepared as usual; a hot key still copies; a
  // session that offers no selection ends the reading with the beep.
  ChooseDefault(kZira, 0, 0, 100);
  pronunciation_.use_corrections.SetChecked(true);
  pronunciation_.Table().append({"teh", "the", "No"});
  session_.result = {SessionSelectionText::Outcome::kRead, QStringLiteral("teh highlight")};
  log_.clear();
  controller_.ReadRequestedRemotely(std::nullopt);
  EXPECT_THAT(log_, IsEmpty());
  controller_.ReadRequestedRemotely(1);  // the SAPI 4 slot
  controller_.ReadWithDefaultVoice();
  session_.result = {SessionSelectionText::Outcome::kNotOffered, {}};
  controller_.ReadRequestedRemotely(std::nullopt);

  EXPECT_THAT(Sapi5Calls("Speak"), ElementsAre("Speak(<pitch middle=\"0\">the highlight,1)",
                                               "Speak(<pitch middle=\"0\">hello world,1)"));
  EXPECT_THAT(Sapi4Texts(), ElementsAre("the highlight"));
  EXPECT_EQ(session_.reads.size(), 3U);
  EXPECT_EQ(beeper_.Beeps(), 1);
}

TEST_F(ReadingControllerTest, Sapi5SlotPurgesItsOwnEngineOnlyAndConvertsTheStoredNumbers) {
  // SAPI 4 is speaking a default reading.
  ChooseDefault(kMary, 175, 100, 100);
  controller_.ReadWithDefaultVoice();
  factory_.Log()->Clear();
  connector_.Log()->Clear();

  controller_.SelectSlot(0);
  EXPECT_THAT(
      connector_.Log()->Calls(),
      ElementsAre("Speak(,2)", "GetVoices(,)", "Item(1)", "PutPropertyByName(Voice,Zira)",
                  "SetRate(0)", "SetVolume(70)", "Speak(<pitch middle=\"-5\">hello world,1)"));
  EXPECT_EQ(factory_.Log()->CountOf("AudioReset"), 0);
  EXPECT_EQ(controller_.PitchPrefix(), "<pitch middle=\"-5\">");
  EXPECT_EQ(beeper_.Beeps(), 0);

  // The voice was uninstalled: the earlier speech is stopped, then a beep.
  connector_.Log()->Clear();
  log_.clear();
  controller_.SelectSlot(2);
  EXPECT_THAT(connector_.Log()->Calls(), ElementsAre("Speak(,2)"));
  EXPECT_THAT(log_, IsEmpty());
  EXPECT_EQ(beeper_.Beeps(), 1);
  EXPECT_TRUE(controller_.PitchPrefix().isEmpty());

  // A slot number beyond the table.
  controller_.SelectSlot(9);
  EXPECT_EQ(beeper_.Beeps(), 2);
}

TEST_F(ReadingControllerTest, Sapi4SlotStopsItsOwnEngineOnly) {
  ChooseDefault(kZira, 0, 0, 100);
  controller_.ReadWithDefaultVoice();
  const auto engine_before = factory_.LastEngine();
  connector_.Log()->Clear();
  factory_.Log()->Clear();

  controller_.SelectSlot(1);
  // The running engine was reset before another mode was selected.
  EXPECT_EQ(factory_.Log()->Calls().front(), "AudioReset");
  EXPECT_NE(factory_.LastEngine(), engine_before);
  EXPECT_EQ(sapi4_.EngineInfo().mode_name, "Adult Male #1");
  EXPECT_EQ(sapi4_.Speed(), 200u);
  EXPECT_EQ(sapi4_.Pitch(), 120u);
  EXPECT_EQ(sapi4_.Volume(), 80u);
  EXPECT_THAT(Sapi4Texts(), ElementsAre("hello world"));
  EXPECT_THAT(connector_.Log()->Calls(), IsEmpty());  // SAPI 5 goes on
  EXPECT_EQ(beeper_.Beeps(), 0);

  // A speed that is no number fails after the mode was chosen; nothing read.
  log_.clear();
  controller_.SelectSlot(3);
  EXPECT_EQ(beeper_.Beeps(), 1);
  EXPECT_THAT(log_, IsEmpty());
  EXPECT_EQ(Sapi4Texts().size(), 1);
}

TEST_F(ReadingControllerTest, SlotWithoutItsEngine) {
  // No SAPI 4 at all: a SAPI 4 slot does nothing, not even a beep.
  flags_.sapi4_available = false;
  controller_.SelectSlot(1);
  EXPECT_THAT(log_, IsEmpty());
  EXPECT_THAT(factory_.Log()->Calls(), IsEmpty());
  EXPECT_THAT(connector_.Log()->Calls(), IsEmpty());
  EXPECT_EQ(beeper_.Beeps(), 0);

  // A SAPI 5 slot without SAPI 5 goes to SAPI 4, which has no such voice.
  flags_.sapi4_available = true;
  flags_.sapi5_available = false;
  controller_.SelectSlot(0);
  EXPECT_THAT(factory_.Log()->Calls(), ElementsAre("AudioReset"));
  EXPECT_THAT(connector_.Log()->Calls(), IsEmpty());
  EXPECT_THAT(log_, IsEmpty());
  EXPECT_EQ(beeper_.Beeps(), 1);
}

TEST_F(ReadingControllerTest, StopPurgesTheAvailableEnginesAndEnablesExit) {
  // While idle, through the stop hot key while "Stop reading" is disabled: no
  // error, Exit stays enabled, "Stop reading" stays disabled.
  controller_.StopReading();
  EXPECT_THAT(connector_.Log()->Calls(), ElementsAre("Speak(,2)"));
  EXPECT_THAT(factory_.Log()->Calls(), ElementsAre("AudioReset"));
  EXPECT_TRUE(menu_.exit.Enabled());
  EXPECT_FALSE(menu_.stop_reading.Enabled());

  // While speaking: Exit comes back at once; the rest waits for the end.
  Server().StartStream(1);
  ASSERT_FALSE(menu_.exit.Enabled());
  controller_.StopReading();
  EXPECT_TRUE(menu_.exit.Enabled());
  EXPECT_TRUE(menu_.stop_reading.Enabled());
  EXPECT_TRUE(controller_.AnimationTimer().isActive());

  // Engines that are not available are left alone; a failure reaches the
  // caller instead of a beep.
  connector_.Log()->Clear();
  flags_.sapi4_available = false;
  connector_.Log()->FailOn("Speak", "purge failed");
  EXPECT_THROW(controller_.StopReading(), Exception);
  flags_.sapi5_available = false;
  factory_.Log()->Clear();
  controller_.StopReading();
  EXPECT_THAT(factory_.Log()->Calls(), IsEmpty());
  EXPECT_EQ(connector_.Log()->CountOf("Speak"), 1);
  EXPECT_EQ(beeper_.Beeps(), 0);
}

TEST_F(ReadingControllerTest, EngineEventsDriveTheMenuTimerAndAnimation) {
  QTimer& timer = controller_.AnimationTimer();
  EXPECT_EQ(timer.interval(), 500);
  EXPECT_FALSE(timer.isSingleShot());
  EXPECT_FALSE(timer.isActive());
  std::vector<TrayPicture> shown;
  QObject context;
  QObject::connect(&tray_, &TrayIconModel::PictureChanged, &context,
                   [&shown](TrayPicture picture) { shown.push_back(picture); });

  ASSERT_EQ(Server().StartStream(1), 1);
  EXPECT_TRUE(menu_.stop_reading.Enabled());
  EXPECT_FALSE(menu_.exit.Enabled());
  EXPECT_TRUE(timer.isActive());
  // The first reading: two unchanged ticks, then frame 1, frame 2, idle, ...
  for (int tick = 0; tick < 6; ++tick) {
    controller_.AdvanceAnimation();
    if (tick == 1) {
      EXPECT_THAT(shown, IsEmpty());
    }
  }
  EXPECT_THAT(shown, ElementsAre(TrayPicture::kReadingFrame1, TrayPicture::kReadingFrame2,
                                 TrayPicture::kIdleIcon, TrayPicture::kReadingFrame1));

  Server().EndStream(1);
  EXPECT_FALSE(menu_.stop_reading.Enabled());
  EXPECT_TRUE(menu_.exit.Enabled());
  EXPECT_FALSE(timer.isActive());
  EXPECT_EQ(tray_.Picture(), TrayPicture::kIdleIcon);
  EXPECT_EQ(TrayIconModel::Hint(), "Voxmere!");

  // A later SAPI 4 reading goes on with the cycle where it stopped.
  ChooseDefault(kMary, 175, 100, 100);
  controller_.ReadWithDefaultVoice();
  ASSERT_EQ(factory_.LastEngine()->FireAudioStart(), 1);
  EXPECT_TRUE(timer.isActive());
  controller_.AdvanceAnimation();
  EXPECT_EQ(tray_.Picture(), TrayPicture::kReadingFrame2);
  // The timer itself ticks the animation.
  const int phase = tray_.Tag();
  EXPECT_TRUE(QTest::qWaitFor([&] { return tray_.Tag() != phase; }, 5000));
  factory_.LastEngine()->FireAudioStop();
  EXPECT_FALSE(timer.isActive());
  EXPECT_EQ(tray_.Picture(), TrayPicture::kIdleIcon);
}

TEST_F(ReadingControllerTest, AGoneControllerHearsNoEngineEvents) {
  auto other = std::make_unique<ReadingController>(ReadingController::Parts{
      flags_, sapi4_, sapi5_, page_, general_, pronunciation_, slots_, tray_, menu_,
      CaptureServices{clipboard_, focus_, keys_, pump_}, beeper_});
  other->ConnectEngineEvents();
  other.reset();
  Server().StartStream(1);
  factory_.LastEngine()->FireAudioStart();
  EXPECT_FALSE(menu_.stop_reading.Enabled());
  EXPECT_TRUE(menu_.exit.Enabled());
  menu_.stop_reading.SetEnabled(true);
  menu_.exit.SetEnabled(false);
  Server().EndStream(1);
  factory_.LastEngine()->FireAudioStop();
  EXPECT_TRUE(menu_.stop_reading.Enabled());
  EXPECT_FALSE(menu_.exit.Enabled());
  EXPECT_EQ(tray_.Picture(), TrayPicture::kTrayDefault);
}

}  // namespace
}  // namespace voxmere
