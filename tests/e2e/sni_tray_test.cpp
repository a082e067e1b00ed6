// SPDX-License-Identifier: GPL-3.0-or-later
// The tray icon under a StatusNotifierItem host (xfce4-panel's status tray):
// what the item tells the host over D-Bus, and what the host's calls do.
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QImage>
#include <QPoint>
#include <QStringList>
#include <chrono>
#include <optional>

#include "e2e_scenario.h"
#include "tray_menu_picture.h"
#include "ui/icons.h"

namespace voxmere::e2e {
namespace {

using namespace std::chrono_literals;

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kItemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString kItemPath = QStringLiteral("/StatusNotifierItem");
const QString kPanel = QStringLiteral("org.xfce.Panel");

// A blocking call on the test's session bus (the panel's); the reply's first
// argument, invalid on an error.
QVariant Call(const QString& service, const QString& path, const QString& interface,
              const QString& method, const QVariantList& arguments = {}) {
  QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
  call.setArguments(arguments);
  const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
  return reply.arguments().first();
}

QVariant Property(const QString& service, const QString& path, const QString& interface,
                  const QString& name) {
  const QVariant value = Call(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                              QStringLiteral("Get"), {interface, name});
  return value.value<QDBusVariant>().variant();
}

QVariant Bus(const QString& method, const QString& name) {
  return Call(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
              QStringLiteral("org.freedesktop.DBus"), method, {name});
}

// The unique name of the host that serves the watcher; empty when none does.
QString WatcherOwner() { return Bus(QStringLiteral("GetNameOwner"), kWatcher).toString(); }

// The items the watcher knows, as "bus name/object path".
QStringList RegisteredItems() {
  return Property(kWatcher, QStringLiteral("/StatusNotifierWatcher"), kWatcher,
                  QStringLiteral("RegisteredStatusNotifierItems"))
      .toStringList();
}

// The pictures of an a(iiay) value: ARGB32 in network byte order.
QList<QImage> ReadPictures(const QDBusArgument& argument) {
  QList<QImage> pictures;
  argument.beginArray();
  while (!argument.atEnd()) {
    int width = 0, height = 0;
    QByteArray bytes;
    argument.beginStructure();
    argument >> width >> height >> bytes;
    argument.endStructure();
    QImage picture(width, height, QImage::Format_ARGB32);
    if (bytes.size() != width * height * 4) return {};
    const auto* byte = reinterpret_cast<const uchar*>(bytes.constData());
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x, byte += 4) {
        picture.setPixel(x, y, qRgba(byte[1], byte[2], byte[3], byte[0]));
      }
    }
    pictures.append(picture);
  }
  argument.endArray();
  return pictures;
}

QList<QImage> Pictures(const QVariant& value) { return ReadPictures(value.value<QDBusArgument>()); }

QImage Argb(const QPixmap& pixmap) {
  return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

// The reading line: long enough to be still speaking while the test looks.
const QString kLongLine =
    "This long line is read aloud while the tray icon is watched over the session bus, and it "
    "goes on for a good while longer so that the stop has something to cut short";

class SniTrayTest : public ScenarioTest {
 protected:
  // Starts the program and waits until the watcher lists its item; false
  // (with a test failure) when it does not come.
  bool StartOnHost() {
    copy_.WriteSettingsFile("cfg.ini", kRunBefore);
    program_ = &copy_.Start();
    if (!WaitFor([&] { return !(item_ = OurItem()).isEmpty(); }, 30000)) {
      ADD_FAILURE() << "the item did not register: " << RegisteredItems().join(", ").toStdString()
                    << "; " << Output().toStdString();
      return false;
    }
    return true;
  }

  // The bus name of the program's item among those registered; empty when
  // it is not there.
  QString OurItem() const {
    for (const QString& entry : RegisteredItems()) {
      const QString service = entry.section('/', 0, 0);
      if (entry.section('/', 1) == kItemPath.mid(1) &&
          Bus(QStringLiteral("GetConnectionUnixProcessID"), service).toLongLong() ==
              program_->processId()) {
        return service;
      }
    }
    return {};
  }

  QVariant ItemProperty(const QString& name) const {
    return Property(item_, kItemPath, kItemInterface, name);
  }

  // The picture the item shows now (the 16 x 16 one).
  QImage Picture() const {
    for (const QImage& picture : Pictures(ItemProperty(QStringLiteral("IconPixmap")))) {
      if (picture.size() == QSize(16, 16)) return picture;
    }
    return {};
  }

  QString ToolTipTitle() const {
    // (icon name, pictures, title, text)
    const QDBusArgument argument = ItemProperty(QStringLiteral("ToolTip")).value<QDBusArgument>();
    QString icon_name, title, text;
    argument.beginStructure();
    argument >> icon_name;
    ReadPictures(argument);  // the tooltip's own pictures
    argument >> title >> text;
    argument.endStructure();
    return title;
  }

  // A host's click: Activate, ContextMenu, ... at the pointer.
  bool CallItem(const QString& method, const QPoint& at) {
    QDBusMessage call = QDBusMessage::createMethodCall(item_, kItemPath, kItemInterface, method);
    call.setArguments({at.x(), at.y()});
    return QDBusConnection::sessionBus().call(call, QDBus::Block, 5000).type() ==
           QDBusMessage::ReplyMessage;
  }

  QString item_;
};

// The item the host shows: registered, with the program's tooltip and
// picture, no D-Bus menu for the host to draw in place of the painted one,
// and the reading animation while a reading runs.
TEST_F(SniTrayTest, ItemShowsTheModelsHintAndPicturesIdleAndWhileReading) {
  ASSERT_TRUE(StartOnHost());
  EXPECT_EQ(ToolTipTitle(), QStringLiteral("Voxmere!"));
  EXPECT_EQ(ItemProperty(QStringLiteral("Status")).toString(), QStringLiteral("Active"));
  EXPECT_EQ(ItemProperty(QStringLiteral("ItemIsMenu")).toBool(), false);
  // Qt's placeholder path: no object there, so the host has no menu of ours
  // to draw and must ask for it with ContextMenu.
  EXPECT_EQ(ItemProperty(QStringLiteral("Menu")).value<QDBusObjectPath>().path(),
            QStringLiteral("/NO_DBUSMENU"));
  const QImage idle = Argb(IdleIconPixmap());
  EXPECT_EQ(Picture(), idle);

  ClipboardOwner before("clipboard text from before the reading");
  ASSERT_FALSE(SelectInXterm(kLongLine).isEmpty());
  ASSERT_TRUE(PressAndListen("ctrl+BackSpace", 20s)) << Output().toStdString();
  const QImage frame1 = Argb(ReadingFrame1Pixmap());
  const QImage frame2 = Argb(ReadingFrame2Pixmap());
  bool saw1 = false, saw2 = false;
  EXPECT_TRUE(WaitFor(
      [&] {
        const QImage now = Picture();
        saw1 = saw1 || now == frame1;
        saw2 = saw2 || now == frame2;
        return saw1 && saw2;
      },
      10000))
      << "reading frames seen: first " << saw1 << ", second " << saw2;
  EXPECT_EQ(ToolTipTitle(), QStringLiteral("Voxmere!"));
  EXPECT_EQ(ItemProperty(QStringLiteral("Status")).toString(), QStringLiteral("Active"));

  ASSERT_TRUE(PressKeys("ctrl+F12"));
  ASSERT_TRUE(WaitForQuiet(15s)) << "the stop key did not stop the reading";
  EXPECT_TRUE(WaitFor([&] { return Picture() == idle; }, 5000))
      << "the idle picture did not return";
}

// SNI has no double click: the host's Activate (a left click) shows the
// options window on the General page, as a double click does under XEmbed.
TEST_F(SniTrayTest, ActivateShowsTheOptionsWindowOnGeneral) {
  ASSERT_TRUE(StartOnHost());
  // Photographs of the General page and of another one to tell them apart.
  ASSERT_TRUE(PressKeys("ctrl+F11"));
  std::optional<WindowInfo> window = copy_.WaitForOptionsWindow(*program_);
  ASSERT_TRUE(window);
  ASSERT_TRUE(Focus(window->id));
  const QImage general = GrabScreen(window->geometry);
  ASSERT_TRUE(PressKeys("ctrl+Tab"));
  Pause(500);
  const QImage other = GrabScreen(window->geometry);
  ASSERT_NE(general, other) << "ctrl+Tab did not change the page";
  ASSERT_TRUE(PressKeys("Escape"));
  ASSERT_TRUE(WaitFor([&] {
    return !VisibleWindowNamed(program_->processId(), "Voxmere! Options");
  })) << "Esc did not hide the window";

  ASSERT_TRUE(CallItem(QStringLiteral("Activate"), QPoint(10, 10)));
  window = copy_.WaitForOptionsWindow(*program_);
  ASSERT_TRUE(window) << "Activate did not show the window; " << Output().toStdString();
  const auto differing = [](const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height();
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
      for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
    }
    return count;
  };
  QImage shown;
  EXPECT_TRUE(WaitFor(
      [&] {
        shown = GrabScreen(window->geometry);
        return differing(shown, general) < differing(shown, other);
      },
      5000))
      << "not the General page: " << SaveArtifact(shown, "sni-activate.png").toStdString();
}

// The host's ContextMenu pops the painted menu at the pointer, and its
// "Stop reading" stops a reading.
TEST_F(SniTrayTest, ContextMenuPopsThePaintedMenuWhoseStopReadingWorks) {
  ASSERT_TRUE(StartOnHost());
  ClipboardOwner before("clipboard text from before the reading");
  ASSERT_FALSE(SelectInXterm(kLongLine).isEmpty());
  ASSERT_TRUE(PressAndListen("ctrl+BackSpace", 20s)) << Output().toStdString();

  const QPoint pointer(600, 400);
  ASSERT_TRUE(Xdo({"mousemove", QString::number(pointer.x()), QString::number(pointer.y())}));
  ASSERT_TRUE(CallItem(QStringLiteral("ContextMenu"), pointer));
  MenuRows rows;
  const QRect menu = CheckOpenedMenu(*program_, Output(), true, "sni-tray-menu-reading", rows);
  ASSERT_FALSE(menu.isEmpty());
  EXPECT_EQ(menu.topLeft(), pointer) << "the menu is not at the pointer";
  ASSERT_TRUE(monitor_->WaitForSound(500ms)) << "no longer speaking";

  const QPoint stop(menu.left() + 60, menu.top() + (rows.stop_first + rows.stop_last) / 2);
  const Clock::time_point clicked = Clock::now();
  ASSERT_TRUE(
      Xdo({"mousemove", QString::number(stop.x()), QString::number(stop.y()), "click", "1"}));
  const std::optional<Clock::time_point> end = WaitForQuiet(15s);
  ASSERT_TRUE(end) << "the reading went on";
  EXPECT_LT(*end - clicked, 1000ms);
  EXPECT_TRUE(WaitFor([&] { return PopupsOf(program_->processId()).empty(); }));
}

// A restarted panel brings a new watcher: the item registers with it by
// itself, and the new host's clicks reach the program.
TEST_F(SniTrayTest, ItemRegistersAgainWhenThePanelRestarts) {
  ASSERT_TRUE(StartOnHost());
  // The panel itself: the watcher lives in the status tray's plugin
  // process, which the panel would start again by itself.
  const qint64 panel = Bus(QStringLiteral("GetConnectionUnixProcessID"),
                           Bus(QStringLiteral("GetNameOwner"), kPanel).toString())
                           .toLongLong();
  ASSERT_GT(panel, 0);
  ASSERT_TRUE(e2e::Run("kill", {QString::number(panel)}).ok);
  // Gone once it leaves the bus: the watcher's name and the panel's own,
  // which a new panel checks to refuse a second instance.
  ASSERT_TRUE(WaitFor([&] {
    return WatcherOwner().isEmpty() && Bus(QStringLiteral("GetNameOwner"), kPanel).isNull();
  })) << "the panel did not end";

  // Started as the test services start it; it lives until the bus goes,
  // for the tests after this one.
  ASSERT_TRUE(QProcess::startDetached(QStringLiteral("xfce4-panel"), {"--disable-wm-check"}));
  EXPECT_TRUE(WaitFor([&] { return !WatcherOwner().isEmpty() && OurItem() == item_; }, 30000))
      << "the item did not register again: " << RegisteredItems().join(", ").toStdString() << "; "
      << Output().toStdString();
  EXPECT_EQ(program_->state(), QProcess::Running);

  ASSERT_TRUE(CallItem(QStringLiteral("Activate"), QPoint(10, 10)));
  EXPECT_TRUE(copy_.WaitForOptionsWindow(*program_));
}

}  // namespace
}  // namespace voxmere::e2e
