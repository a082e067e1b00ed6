// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/icons.h"

#include <QColor>
#include <QImage>
#include <array>

namespace voxmere {
namespace {

constexpr int kSize = 16;
using PixelRows = std::array<const char*, kSize>;

// Palette of the pictures: '.' is transparent.
QColor PaletteColour(char code) {
  switch (code) {
    case 'k':
      return QColor(20, 36, 84);  // outline
    case 'b':
      return QColor(49, 106, 197);  // body
    case 'l':
      return QColor(122, 150, 223);  // lit side
    case 'w':
      return QColor(255, 255, 255);  // highlight
    case 's':
      return QColor(0, 94, 187);  // sound waves
    default:
      return QColor(0, 0, 0, 0);
  }
}

// The loudspeaker, facing right.
constexpr PixelRows kSpeaker = {
    "................",  //
    "................",  //
    ".......kk.......",  //
    "......klk.......",  //
    ".....kllk.......",  //
    "kkkkklblk.......",  //
    "kwllbbblk.......",  //
    "klbbbbblk.......",  //
    "klbbbbblk.......",  //
    "klbbbbblk.......",  //
    "kkkkkbbbk.......",  //
    ".....kbbk.......",  //
    "......kbk.......",  //
    ".......kk.......",  //
    "................",  //
    "................",  //
};

// The near wave, two pixels thick so it reads at tray size.
constexpr PixelRows kNearWave = {
    "................",  //
    "................",  //
    "................",  //
    "................",  //
    "................",  //
    "..........s.....",  //
    "..........ss....",  //
    "...........s....",  //
    "...........s....",  //
    "..........ss....",  //
    "..........s.....",  //
    "................",  //
    "................",  //
    "................",  //
    "................",  //
    "................",  //
};

// The far wave.
constexpr PixelRows kFarWave = {
    "................",  //
    "................",  //
    "............s...",  //
    ".............s..",  //
    ".............ss.",  //
    "..............s.",  //
    "..............s.",  //
    "..............s.",  //
    "..............s.",  //
    "..............s.",  //
    "..............s.",  //
    ".............ss.",  //
    ".............s..",  //
    "............s...",  //
    "................",  //
    "................",  //
};

void PaintLayer(QImage& image, const PixelRows& rows) {
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const char code = rows[static_cast<size_t>(y)][x];
      if (code != '.') image.setPixelColor(x, y, PaletteColour(code));
    }
  }
}

QPixmap Picture(int waves) {
  QImage image(kSize, kSize, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  PaintLayer(image, kSpeaker);
  if (waves >= 1) PaintLayer(image, kNearWave);
  if (waves >= 2) PaintLayer(image, kFarWave);
  return QPixmap::fromImage(image);
}

}  // namespace

QPixmap IdleIconPixmap() { return Picture(0); }
QPixmap ReadingFrame1Pixmap() { return Picture(1); }
QPixmap ReadingFrame2Pixmap() { return Picture(2); }

QIcon IdleIcon() { return QIcon(IdleIconPixmap()); }

QIcon TrayPictureIcon(TrayPicture picture) {
  switch (picture) {
    case TrayPicture::kReadingFrame1:
      return QIcon(ReadingFrame1Pixmap());
    case TrayPicture::kReadingFrame2:
      return QIcon(ReadingFrame2Pixmap());
    case TrayPicture::kTrayDefault:
    case TrayPicture::kIdleIcon:
      break;
  }
  return IdleIcon();
}

TrayPictureIcons::TrayPictureIcons()
    : idle_(TrayPictureIcon(TrayPicture::kIdleIcon)),
      frame1_(TrayPictureIcon(TrayPicture::kReadingFrame1)),
      frame2_(TrayPictureIcon(TrayPicture::kReadingFrame2)) {}

const QIcon& TrayPictureIcons::Of(TrayPicture picture) const {
  switch (picture) {
    case TrayPicture::kReadingFrame1:
      return frame1_;
    case TrayPicture::kReadingFrame2:
      return frame2_;
    case TrayPicture::kTrayDefault:
    case TrayPicture::kIdleIcon:
      break;
  }
  return idle_;
}

}  // namespace voxmere
