// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/desktop/qt_message_boxes.h"

namespace voxmere {
namespace {

TEST(MessageBoxTextTest, EveryWindowsLineBreakIsOneBreak) {
  // The no-engines message breaks with LF CR, the help message with a lone CR.
  EXPECT_EQ(MessageBoxText("installed in your system.\n\rPlease, install"),
            "installed in your system.\nPlease, install");
  EXPECT_EQ(MessageBoxText("HTMLHelp.\rPlease, consult"), "HTMLHelp.\nPlease, consult");
  EXPECT_EQ(MessageBoxText("a\r\nb\nc"), "a\nb\nc");
  // Two breaks stay two, whichever form they take.
  EXPECT_EQ(MessageBoxText("a\n\nb"), "a\n\nb");
  EXPECT_EQ(MessageBoxText("a\n\r\n\rb"), "a\n\nb");
  EXPECT_EQ(MessageBoxText("a\r\rb"), "a\n\nb");
  EXPECT_EQ(MessageBoxText("\r"), "\n");
  EXPECT_EQ(MessageBoxText("end\n\r"), "end\n");
  EXPECT_EQ(MessageBoxText("<b>not markup</b> & \"text\""), "<b>not markup</b> & \"text\"");
}

}  // namespace
}  // namespace voxmere
