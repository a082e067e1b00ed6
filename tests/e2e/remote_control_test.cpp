// SPDX-License-Identifier: GPL-3.0-or-later
// The running program asked from outside: through `voxmere --read` and its
// siblings, and through its interface on the session bus.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QObject>
#include <QVariantMap>
#include <chrono>
#include <cstdio>
#include <vector>

#include "e2e_scenario.h"
#include "platform/dbus/remote_control_address.h"
#include "support/event_sound_watcher.h"

namespace voxmere::e2e {

// Keeps the values of "Reading" that PropertiesChanged signals carried.
class ReadingListener : public QObject {
  Q_OBJECT

 public:
  ReadingListener() {
    QDBusConnection::sessionBus().connect(RemoteControlAddress::Service(),
                                          RemoteControlAddress::Path(),
                                          "org.freedesktop.DBus.Properties", "PropertiesChanged",
                                          this, SLOT(Changed(QString, QVariantMap, QStringList)));
  }
  std::vector<bool> values;

 private slots:
  void Changed(const QString& interface, const QVariantMap& changed, const QStringList&) {
    if (interface == RemoteControlAddress::Interface() && changed.contains("Reading"))
      values.push_back(changed.value("Reading").toBool());
  }
};

namespace {

using namespace std::chrono_literals;
using std::chrono::duration_cast;
using std::chrono::milliseconds;

// About twenty seconds of speech: still going long after the stop.
const QString kLongLine =
    "This long line is read aloud by the program until it is asked to stop, and it goes on for "
    "a good while longer so that the stop has something to cut short in the middle of it";

struct CallResult {
  int status = -1;
  QByteArray errors;  // standard error
};

// `voxmere ARGUMENTS` as a desktop's shortcut runs it, with no display at
// all: the call must not need one.
CallResult Voxmere(const QStringList& arguments) {
  QProcess call;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("DISPLAY");
  environment.remove("WAYLAND_DISPLAY");
  call.setProcessEnvironment(environment);
  call.start(VOXMERE_PROGRAM, arguments);
  if (!call.waitForFinished(10000) || call.exitStatus() != QProcess::NormalExit) return {};
  return {call.exitCode(), call.readAllStandardError()};
}

// A method of the running program through the bus; the reply.
QDBusMessage CallMethod(const QString& method, const QVariantList& arguments = {}) {
  QDBusMessage call =
      QDBusMessage::createMethodCall(RemoteControlAddress::Service(), RemoteControlAddress::Path(),
                                     RemoteControlAddress::Interface(), method);
  call.setArguments(arguments);
  return QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
}

std::optional<bool> ReadingProperty() {
  QDBusMessage get =
      QDBusMessage::createMethodCall(RemoteControlAddress::Service(), RemoteControlAddress::Path(),
                                     "org.freedesktop.DBus.Properties", "Get");
  get << RemoteControlAddress::Interface() << QString("Reading");
  const QDBusMessage reply = QDBusConnection::sessionBus().call(get, QDBus::Block, 5000);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
  return reply.arguments().first().value<QDBusVariant>().variant().toBool();
}

class RemoteControlTest : public ScenarioTest {
 protected:
  // The theme's warning sound, told from speech by its event.
  EventSoundWatcher warnings_{"dialog-warning"};
};

TEST_F(RemoteControlTest, CommandLineCallsDoWhatTheKeysDo) {
  // Nothing runs yet; mistakes are told apart from that.
  const struct {
    QStringList arguments;
    int status;
  } refused[] = {{{"--read"}, 1},      {{"--stop"}, 1},           {{"--bogus"}, 2},
                 {{"--read-slot"}, 2}, {{"--read-slot", "0"}, 2}, {{"--read", "--stop"}, 2}};
  for (const auto& c : refused) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    const CallResult result = Voxmere(c.arguments);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.errors.count('\n'), 1) << result.errors.toStdString();
    EXPECT_TRUE(result.errors.startsWith("voxmere: ")) << result.errors.toStdString();
  }

  ASSERT_NE(StartProgram(), nullptr);
  ASSERT_FALSE(SelectInXterm(kLongLine).isEmpty());
  monitor_->Clear();
  const Clock::time_point asked = Clock::now();
  ASSERT_EQ(Voxmere({"--read"}).status, 0) << Output().toStdString();
  const std::optional<Clock::time_point> start = monitor_->WaitForSound(20s);
  ASSERT_TRUE(start) << "nothing was spoken; " << Output().toStdString();
  std::printf("voxmere --read to speech: %lld ms\n",
              static_cast<long long>(duration_cast<milliseconds>(*start - asked).count()));
  Pause(1500);
  ASSERT_TRUE(monitor_->WaitForSound(500ms)) << "the reading had already ended";

  const Clock::time_point stopped = Clock::now();
  ASSERT_EQ(Voxmere({"--stop"}).status, 0);
  const std::optional<Clock::time_point> end = WaitForQuiet(15s);
  ASSERT_TRUE(end) << "the reading went on after voxmere --stop";
  std::printf("voxmere --stop to silence: %lld ms\n",
              static_cast<long long>(duration_cast<milliseconds>(*end - stopped).count()));

  // A slot that does not exist: told on the command line, and the warning
  // sound as for any failed reading.
  const CallResult no_slot = Voxmere({"--read-slot", "4"});
  EXPECT_EQ(no_slot.status, 2);
  EXPECT_EQ(no_slot.errors.count('\n'), 1) << no_slot.errors.toStdString();
  EXPECT_TRUE(WaitFor([&] { return warnings_.Count() == 1; }, 5000)) << Output().toStdString();

  ASSERT_EQ(Voxmere({"--options"}).status, 0);
  EXPECT_TRUE(copy_.WaitForOptionsWindow(*program_, 10000)) << Output().toStdString();
}

TEST_F(RemoteControlTest, BusMethodsAndTheReadingProperty) {
  ASSERT_NE(StartProgram(), nullptr);
  ReadingListener listener;
  EXPECT_EQ(ReadingProperty(), false);
  ASSERT_FALSE(SelectInXterm(kLongLine).isEmpty());

  monitor_->Clear();
  ASSERT_EQ(CallMethod("ReadSelection").type(), QDBusMessage::ReplyMessage);
  ASSERT_TRUE(monitor_->WaitForSound(20s)) << "nothing was spoken; " << Output().toStdString();
  ASSERT_TRUE(WaitFor([&] { return !listener.values.empty(); }, 5000)) << "no signal came";
  EXPECT_EQ(ReadingProperty(), true);

  ASSERT_EQ(CallMethod("StopReading").type(), QDBusMessage::ReplyMessage);
  ASSERT_TRUE(WaitForQuiet(15s)) << "the reading went on after StopReading";
  ASSERT_TRUE(WaitFor([&] { return listener.values.size() >= 2; }, 5000));
  EXPECT_EQ(listener.values, (std::vector<bool>{true, false}));
  EXPECT_EQ(ReadingProperty(), false);

  // Slot 1 of none: refused with the interface's error.
  const QDBusMessage no_slot = CallMethod("ReadSelectionWithSlot", {1});
  EXPECT_EQ(no_slot.type(), QDBusMessage::ErrorMessage);
  EXPECT_EQ(no_slot.errorName(), RemoteControlAddress::NoSuchSlotError());

  ASSERT_EQ(CallMethod("ShowOptions").type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(copy_.WaitForOptionsWindow(*program_, 10000)) << Output().toStdString();
}

}  // namespace
}  // namespace voxmere::e2e

#include "remote_control_test.moc"
