// Error reports: the log lines byte for byte, the popup and the status line.

#include "log/log_errors.h"

#include <gtest/gtest.h>

#include "log/event_log.h"
#include "platform/sys/codepage.h"
#include "tests/lang/status_panel.h"

namespace {

using namespace conf;
using conf_test::ReadFile;

class LogErrors : public ::testing::Test, public conf_test::StatusPanel {
  protected:
    void SetUp() override {
        mf_104_Log__init(ctx);  // no switch file: both off, and the reports are logged anyway
        sys::FromUtf8("★★★", sys::CodePage::Big5, &stars);
    }
    std::string stars;
};

TEST_F(LogErrors, ComPort) {
    EXPECT_EQ(stars, "\xA1\xB9\xA1\xB9\xA1\xB9");
    EXPECT_EQ(mf_104_Log__err_Open_COM(ctx, "m104__UART", 2286313, -1), 0);
    EXPECT_EQ(ReadFile("log.txt"), "gvLogYN = 0 \n" + stars + " m104__UART :: 2286313 \n" + stars +
                                       " Open COM NG :: err code : -1 \n\n");
    EXPECT_TRUE(fe.Popups().empty());
    EXPECT_EQ(LineText(), "Open COM NG :: err code : -1");
    EXPECT_EQ(LineColor(), 0xFF0000);
}

TEST_F(LogErrors, File) {
    EXPECT_EQ(mf_104_Log__err_Open_File(ctx, "m104__UART", 591475, "COM_Dev_use.txt"), 0);
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].title, "m104__UART :: 591475");
    EXPECT_EQ(fe.Popups()[0].text, "open file NG :: COM_Dev_use.txt");
    EXPECT_EQ(ReadFile("log.txt"), "gvLogYN = 0 \n" + stars + " m104__UART :: 591475 \n" + stars +
                                       " open file NG :: COM_Dev_use.txt \n\n");
    EXPECT_EQ(LineText(), "Ready");
}

}  // namespace
