// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/remote_control.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <climits>
#include <functional>
#include <string>

#include "app_fixture.h"
#include "fakes/fake_remote_control_service.h"

namespace voxmere {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr ClipboardOwner kEditor = 8;

// A program that has run before, hidden in the tray, with two voice slots
// (1: SAPI 5 Zira, 2: SAPI 4 Mike) and an editor that copies its selection
// on Ctrl+C; its remote control offered through the fake service.
class RemoteControlTest : public ::testing::Test {
 protected:
  RemoteControlTest() {
    fixture_.WriteCfg("[General]\nFirstRun=0\nWelcomeDlg=1\n");
    QFile slots_file(fixture_.folder.filePath("slots.ini"));
    if (slots_file.open(QIODevice::WriteOnly)) {
      slots_file.write(
          "[Slot_0]\r\nVoice=Zira\r\nHotKey=0\r\nSpeed=0\r\nPitch=0\r\nVolume=100\r\n"
          "SAPIVersion=5\r\n[Slot_1]\r\nVoice=Mike\r\nHotKey=0\r\nSpeed=200\r\nPitch=120\r\n"
          "Volume=80\r\nSAPIVersion=4\r\n");
    }
    slots_file.close();
    fixture_.key_injector.on_press = [this](const FakeKeyInjector::Press& press) {
      if (press.virtual_key == KeyInjector::kVkC && press.held.contains(KeyInjector::kVkControl))
        fixture_.pump.Post([this] { fixture_.clipboard.Take(kEditor, "hello world"); });
    };
    window_ = &fixture_.Start();
    remote_ = std::make_unique<RemoteControl>(*window_, service_);
    EXPECT_TRUE(remote_->Start());
    EXPECT_EQ(service_.requests, remote_.get());
    Forget();
  }

  // How often each engine was given something to say since the last Forget.
  int Sapi5Speaks() const { return fixture_.sapi5.Log()->CountOf("Speak"); }
  int Sapi4Texts() const {
    int texts = -sapi4_texts_before_;
    for (const auto& engine : fixture_.sapi4.Engines())
      texts += static_cast<int>(engine->TextDataCalls().size());
    return texts;
  }
  void Forget() {
    fixture_.capture_log.clear();
    fixture_.sapi5.Log()->Clear();
    sapi4_texts_before_ += Sapi4Texts();
  }

  AppFixture fixture_;
  FakeRemoteControlService service_;
  OptionsWindow* window_ = nullptr;
  std::unique_ptr<RemoteControl> remote_;
  int sapi4_texts_before_ = 0;
};

TEST_F(RemoteControlTest, RequestsAnswerFirstThenWorkAsTheirKeys) {
  const struct {
    const char* name;
    std::function<void(RemoteRequests&)> request;
    std::function<void()> check;
  } cases[] = {
      {"read with the default voice", [](RemoteRequests& r) { r.ReadSelection(); },
       [this] {
         EXPECT_FALSE(fixture_.capture_log.empty()) << "no capture";
         EXPECT_EQ(Sapi5Speaks() + Sapi4Texts(), 1);
       }},
      {"read with slot 2, the SAPI 4 voice",
       [](RemoteRequests& r) { EXPECT_TRUE(r.ReadSelectionWithSlot(2).isEmpty()); },
       [this] {
         EXPECT_EQ(window_->Sapi4().EngineInfo().mode_name, "Adult Male #1");
         EXPECT_EQ(window_->Sapi4().Speed(), 200u);
         EXPECT_EQ(Sapi4Texts(), 1);
       }},
      {"stop", [](RemoteRequests& r) { r.StopReading(); },
       // SAPI 5 is stopped with an empty purging Speak.
       [this] { EXPECT_EQ(Sapi5Speaks(), 1); }},
      {"show options", [](RemoteRequests& r) { r.ShowOptions(); },
       [this] {
         EXPECT_TRUE(fixture_.shell.Visible());
         EXPECT_EQ(window_->pages.ActivePageIndex(), OptionsWindow::kGeneral);
       }},
  };
  // Also while the program is still starting: then the request waits until
  // the start-up is over.
  for (const bool starting : {false, true}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (starting ? ", while starting" : ""));
      Forget();
      window_->HideMainWindow();
      window_->pages.SetActivePageIndex(OptionsWindow::kAbout);
      window_->tray_icon.SetAnswering(!starting);

      c.request(*service_.requests);
      // The caller has its answer before anything is done.
      EXPECT_TRUE(fixture_.capture_log.empty());
      EXPECT_EQ(Sapi5Speaks(), 0);
      EXPECT_FALSE(fixture_.shell.Visible());
      QCoreApplication::processEvents();
      if (starting) {
        EXPECT_TRUE(fixture_.capture_log.empty());
        EXPECT_EQ(Sapi5Speaks(), 0);
        EXPECT_FALSE(fixture_.shell.Visible());
        window_->tray_icon.SetAnswering(true);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
      }
      c.check();
      EXPECT_EQ(fixture_.messages.Beeps(), 0);
    }
  }
}

TEST_F(RemoteControlTest, ASlotThatDoesNotExistIsRefusedAndBeeps) {
  int beeps = 0;
  for (const int slot : {0, 3, -1, INT_MIN, INT_MAX}) {
    SCOPED_TRACE(slot);
    EXPECT_THAT(service_.requests->ReadSelectionWithSlot(slot).toStdString(),
                HasSubstr("numbered 1 to 2"));
    QCoreApplication::processEvents();
    // As a failed reading: the warning sound, and nothing spoken.
    EXPECT_EQ(fixture_.messages.Beeps(), ++beeps);
    EXPECT_EQ(Sapi5Speaks() + Sapi4Texts(), 0);
  }
}

TEST_F(RemoteControlTest, ReadingFollowsTheTrayAnimationAndTellsEachChangeOnce) {
  FakeSpeechVoiceServer& server = *fixture_.sapi5.Instance();
  EXPECT_FALSE(service_.requests->Reading());
  server.StartStream(1);
  server.StartStream(2);
  EXPECT_TRUE(service_.requests->Reading());
  EXPECT_TRUE(window_->Reading().AnimationTimer().isActive());
  server.EndStream(1);
  server.EndStream(2);
  EXPECT_FALSE(service_.requests->Reading());
  EXPECT_THAT(service_.changes, ElementsAre(true, false));
}

}  // namespace
}  // namespace voxmere
