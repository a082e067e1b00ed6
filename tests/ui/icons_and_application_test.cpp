// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "platform/exception.h"
#include "ui/icons.h"
#include "ui_fixture.h"

namespace voxmere {
namespace {

TEST(Icons, ThreeCrispDistinctPictures) {
  UiApplication();
  const QImage idle = IdleIconPixmap().toImage();
  const QImage one = ReadingFrame1Pixmap().toImage();
  const QImage two = ReadingFrame2Pixmap().toImage();
  for (const QImage* image : {&idle, &one, &two}) {
    ASSERT_EQ(image->size(), QSize(16, 16));
    // Drawn on the pixel grid: every pixel fully opaque or fully clear.
    std::set<int> alphas;
    int opaque = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const int alpha = image->pixelColor(x, y).alpha();
        alphas.insert(alpha);
        if (alpha == 255) ++opaque;
      }
    }
    EXPECT_EQ(alphas, (std::set<int>{0, 255}));
    EXPECT_GT(opaque, 30);
    EXPECT_EQ(image->pixelColor(0, 0).alpha(), 0);
  }
  EXPECT_NE(idle, one);
  EXPECT_NE(idle, two);
  EXPECT_NE(one, two);

  EXPECT_EQ(TrayPictureIcon(TrayPicture::kReadingFrame1).pixmap(16, 16).toImage(), one);
  EXPECT_EQ(TrayPictureIcon(TrayPicture::kTrayDefault).pixmap(16, 16).toImage(), idle);
  EXPECT_EQ(IdleIcon().availableSizes(), QList<QSize>{QSize(16, 16)});
}

// Throws from its event handler.
class Thrower : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) throw Exception(QStringLiteral("Disk full"));
    if (event->type() == QEvent::User + 1) throw 42;
    return QObject::event(event);
  }
};

TEST(VoxmereApplication, EscapedErrorsGoToTheHandlerNotTheEventLoop) {
  VoxmereApplication& application = UiApplication();
  QStringList shown;
  application.SetErrorHandler([&shown](const std::exception& error) {
    const auto* ours = dynamic_cast<const Exception*>(&error);
    shown << (ours ? ours->Message() : QString::fromLatin1(error.what()));
  });
  Thrower thrower;
  QEvent user(QEvent::User);
  EXPECT_TRUE(QCoreApplication::sendEvent(&thrower, &user));
  QEvent other(static_cast<QEvent::Type>(QEvent::User + 1));
  QCoreApplication::sendEvent(&thrower, &other);
  // A posted event goes through the same door inside the event loop.
  QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
  QCoreApplication::processEvents();
  EXPECT_EQ(shown, (QStringList{"Disk full", "Unknown error", "Disk full"}));

  // Without a handler the error is dropped and the program goes on.
  application.SetErrorHandler(nullptr);
  EXPECT_TRUE(QCoreApplication::sendEvent(&thrower, &user));
}

}  // namespace
}  // namespace voxmere
