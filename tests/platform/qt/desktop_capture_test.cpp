// The files an unattended run saves its screenshots in.

#include "platform/qt/desktop_capture.h"

#include <gtest/gtest.h>

namespace {

TEST(ScreenshotFiles, TheNumberGoesBeforeTheExtensionOfTheFileNotOfAFolder) {
    EXPECT_EQ(qtfe::NumberedPath("/tmp/shots/tarnel.png", 1), "/tmp/shots/tarnel.png");
    EXPECT_EQ(qtfe::NumberedPath("/tmp/shots/tarnel.png", 2), "/tmp/shots/tarnel-2.png");
    EXPECT_EQ(qtfe::NumberedPath("demo.png", 12), "demo-12.png");
    EXPECT_EQ(qtfe::NumberedPath("/tmp/run.d/shot", 3), "/tmp/run.d/shot-3");
    EXPECT_EQ(qtfe::NumberedPath("shot", 2), "shot-2");
    EXPECT_EQ(qtfe::NumberedPath("a.b/c.d.png", 2), "a.b/c.d-2.png");
}

}  // namespace
