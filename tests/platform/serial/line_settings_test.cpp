#include "platform/serial/line_settings.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/serial/serial_error.h"

namespace {

using serial::LineSettings;

TEST(LineSettings, BitsPerCharacterCountsStartParityAndStop) {
    EXPECT_EQ(serial::BitsPerCharacter({9600, serial::kParityNone, 8, 1}), 10);
    EXPECT_EQ(serial::BitsPerCharacter({9600, serial::kParityNone, 8, 2}), 11);
    EXPECT_EQ(serial::BitsPerCharacter({9600, serial::kParityEven, 8, 1}), 11);
    EXPECT_EQ(serial::BitsPerCharacter({9600, serial::kParitySpace, 7, 2}), 11);
    EXPECT_DOUBLE_EQ(serial::WireTime({19200, serial::kParityNone, 8, 2}, 8), 88.0 / 19200.0);
    EXPECT_DOUBLE_EQ(serial::WireTime({0, serial::kParityNone, 8, 1}, 8), 0.0);
}

TEST(LineSettings, CheckAcceptsTheStandardRatesAndFormatsOnly) {
    for (int baud : {2400, 4800, 9600, 19200, 38400, 57600, 115200})
        EXPECT_EQ(serial::CheckLineSettings({baud, serial::kParityMark, 5, 2}), 0) << baud;
    EXPECT_EQ(serial::CheckLineSettings({1200, 0, 8, 1}), serial::kErrSettings);
    EXPECT_EQ(serial::CheckLineSettings({19201, 0, 8, 1}), serial::kErrSettings);
    EXPECT_EQ(serial::CheckLineSettings({9600, 5, 8, 1}), serial::kErrSettings);
    EXPECT_EQ(serial::CheckLineSettings({9600, -1, 8, 1}), serial::kErrSettings);
    EXPECT_EQ(serial::CheckLineSettings({9600, 0, 4, 1}), serial::kErrSettings);
    EXPECT_EQ(serial::CheckLineSettings({9600, 0, 9, 1}), serial::kErrSettings);
    EXPECT_EQ(serial::CheckLineSettings({9600, 0, 8, 0}), serial::kErrSettings);
    EXPECT_EQ(serial::CheckLineSettings({9600, 0, 8, 3}), serial::kErrSettings);
}

TEST(SerialError, EveryCodeHasItsOwnText) {
    std::set<std::string> texts;
    for (int code = serial::kErrArgument; code <= serial::kErrNotMapped; ++code)
        texts.insert(serial::SerialErrorText(code));
    EXPECT_EQ(texts.size(), 10u);
    EXPECT_EQ(texts.count(serial::SerialErrorText(-99)), 0u);
    std::string permission = serial::SerialErrorText(serial::kErrPermission);
    EXPECT_NE(permission.find("dialout"), std::string::npos);
    EXPECT_NE(permission.find("usermod -aG dialout"), std::string::npos);
}

}  // namespace
