// The status line: texts and colours of the numbered messages and of free texts.

#include "lang/status_line.h"

#include <gtest/gtest.h>

#include "tests/lang/status_panel.h"

namespace {

using namespace conf;

class StatusLine : public ::testing::TestWithParam<const char*>, public conf_test::StatusPanel {
  protected:
    StatusLine() : StatusPanel(GetParam()) {}
};

INSTANTIATE_TEST_SUITE_P(Kinds, StatusLine, ::testing::Values("textmsg", "string"));

TEST_P(StatusLine, MessagesAndTheirColoursAndNoPanelIsAnError) {
    EXPECT_EQ(mf_104_msg_cfg__SID(ctx, 43), 0);
    EXPECT_EQ(LineText(), "Read NG");
    EXPECT_EQ(LineColor(), 0xFF0000);
    EXPECT_EQ(mf_104_msg_cfg__SID(ctx, 45), 0);
    EXPECT_EQ(LineText(), "Write OK");
    EXPECT_EQ(LineColor(), 0x008000);
    EXPECT_EQ(mf_104_msg_cfg__SID(ctx, 41), 0);
    EXPECT_EQ(LineColor(), 0x0000FF);

    mf_104_msg_cfg__SID(ctx, 46);
    EXPECT_EQ(mf_104_msg_cfg__SV(ctx, "COM3 busy"), 0);
    EXPECT_EQ(LineText(), "COM3 busy");
    EXPECT_EQ(LineColor(), 0xFF0000);
    EXPECT_EQ(mf_104_msg_cfg__SID(ctx, 48), -1);
    EXPECT_EQ(LineText(), "COM3 busy");
    EXPECT_EQ(LineColor(), 0xFF0000);
    EXPECT_EQ(mf_104_msg_cfg__SV_i32(ctx, -2), 0);
    EXPECT_EQ(LineText(), "-2");
    EXPECT_EQ(mf_104_msg_cfg__SCV(ctx, 0x123456, "Scan done"), 0);
    EXPECT_EQ(LineText(), "Scan done");
    EXPECT_EQ(LineColor(), 0x123456);
    EXPECT_TRUE(fe.Popups().empty());
    ctx.gvG104 = 0;  // no panel: an error, not a crash
    EXPECT_LT(mf_104_msg_cfg__SV(ctx, "x"), 0);
    EXPECT_LT(mf_104_msg_cfg__SID(ctx, 42), 0);
}

}  // namespace
