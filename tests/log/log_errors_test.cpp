// Error reports: the log lines byte for byte, the popup and the status line.

#include "log/log_errors.h"

#include <gtest/gtest.h>

#include "log/event_log.h"
#include "tests/support/fixtures.h"

namespace {

using namespace conf;

const std::string kStars = "\xA1\xB9\xA1\xB9\xA1\xB9";  // "★★★" in Big5

class LogErrors : public ::testing::Test, public conf_test::StatusPanel {};

// No switch file: both switches off, and the reports are logged anyway.
TEST_F(LogErrors, ComPortGoesToTheStatusLineAndFileToAPopup) {
    Log::init(ctx);
    EXPECT_EQ(Log::err_Open_COM(ctx, "m104__UART", 2286313, -1), 0);
    EXPECT_TRUE(fe.Popups().empty());
    EXPECT_EQ(LineText(), "Open COM NG :: err code : -1");
    EXPECT_EQ(LineColor(), 0xFF0000);
    EXPECT_EQ(Log::err_Open_File(ctx, "m104__UART", 591475, "COM_Dev_use.txt"), 0);
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].title, "m104__UART :: 591475");
    EXPECT_EQ(fe.Popups()[0].text, "open file NG :: COM_Dev_use.txt");
    EXPECT_EQ(LineText(), "Open COM NG :: err code : -1");  // the file report leaves it
    EXPECT_EQ(conf_test::ReadFile("log.txt"),
              "gvLogYN = 0 \n" + kStars + " m104__UART :: 2286313 \n" + kStars +
                  " Open COM NG :: err code : -1 \n\n" + kStars + " m104__UART :: 591475 \n" +
                  kStars + " open file NG :: COM_Dev_use.txt \n\n");
}

}  // namespace
