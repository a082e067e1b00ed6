// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>

#include "app/tray_model.h"

namespace voxmere {

// The program's 16 x 16 pictures, painted pixel by pixel so they stay crisp
// at their own size: a loudspeaker (the idle icon, also the application's and
// the window's icon), and the two reading frames that add one and then two
// sound waves to it.
QPixmap IdleIconPixmap();
QPixmap ReadingFrame1Pixmap();
QPixmap ReadingFrame2Pixmap();

QIcon IdleIcon();
// The icon the tray shows for a picture of the tray model, built anew.
QIcon TrayPictureIcon(TrayPicture picture);

// The tray's icons, built once and handed out again for each change of
// picture. Qt caches the pixmaps an icon paints under the icon's identity,
// and keeps them while the cache has room (megabytes): a new icon for every
// change would leave another cached pixmap behind at each reading and each
// animation frame.
class TrayPictureIcons {
 public:
  TrayPictureIcons();
  const QIcon& Of(TrayPicture picture) const;

 private:
  QIcon idle_;
  QIcon frame1_;
  QIcon frame2_;
};

}  // namespace voxmere
