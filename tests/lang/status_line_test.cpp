// The status line: texts and colours of the numbered messages and of free texts.

#include "lang/status_line.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/support/fixtures.h"
#include "tests/support/param_name.h"

namespace {

using namespace conf;

class StatusLine : public ::testing::TestWithParam<const char*>, public conf_test::StatusPanel {
  protected:
    StatusLine() : StatusPanel(GetParam()) {}
    // The line as shown: its text, then its colour.
    std::string Shown() {
        char rgb[16];
        std::snprintf(rgb, sizeof rgb, " #%06X", LineColor());
        return LineText() + rgb;
    }
};

INSTANTIATE_TEST_SUITE_P(Kinds, StatusLine, ::testing::Values("textmsg", "string"),
                         conf_test::PrintedName());

TEST_P(StatusLine, MessagesAndTheirColoursAndNoPanelIsAnError) {
    EXPECT_EQ(msg_cfg::SID(ctx, 43), 0);
    EXPECT_EQ(Shown(), "Read NG #FF0000");
    EXPECT_EQ(msg_cfg::SID(ctx, 45), 0);
    EXPECT_EQ(Shown(), "Write OK #008000");
    EXPECT_EQ(msg_cfg::SID(ctx, 41), 0);
    EXPECT_EQ(Shown(), "Reading #0000FF");
    msg_cfg::SID(ctx, 46);
    EXPECT_EQ(msg_cfg::SV(ctx, "COM3 busy"), 0);  // a free text keeps the colour
    EXPECT_EQ(Shown(), "COM3 busy #FF0000");
    EXPECT_EQ(msg_cfg::SID(ctx, 48), -1);  // an unknown number changes nothing
    EXPECT_EQ(Shown(), "COM3 busy #FF0000");
    EXPECT_EQ(msg_cfg::SV_i32(ctx, -2), 0);
    EXPECT_EQ(Shown(), "-2 #FF0000");
    EXPECT_EQ(msg_cfg::SCV(ctx, 0x123456, "Scan done"), 0);
    EXPECT_EQ(Shown(), "Scan done #123456");
    EXPECT_TRUE(fe.Popups().empty());
    ctx.gvMain = 0;  // no panel: an error, not a crash
    EXPECT_LT(msg_cfg::SV(ctx, "x"), 0);
    EXPECT_LT(msg_cfg::SID(ctx, 42), 0);
}

}  // namespace
