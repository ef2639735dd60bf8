#include "link/crc.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Frames with their CRC: sealing them afresh gives the same bytes, and they verify.
TEST(Crc, SealsAndVerifiesKnownFrames) {
    const std::pair<const char*, Bytes> frames[] = {
        {"ReadOne", {0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A}},
        {"ReadSix", {0x01, 0x03, 0x10, 0x00, 0x00, 0x06, 0xC1, 0x08}},
        {"WriteRam", {0x01, 0x05, 0x00, 0x0D, 0x00, 0x01, 0x9D, 0xC9}},
        {"WriteEeprom", {0x01, 0x06, 0x00, 0x1F, 0x00, 0x01, 0x79, 0xCC}},
        {"MultiWord",
         {0x01, 0x10, 0x10, 0x00, 0x00, 0x02, 0x04, 0x00, 0x01, 0x00, 0x02, 0xEE, 0x6E}}};
    for (const auto& [name, frame] : frames) {
        SCOPED_TRACE(name);
        Bytes blank = frame;
        blank[blank.size() - 2] = blank[blank.size() - 1] = 0;
        conf::fn_Get_CRC(blank.data(), static_cast<int>(blank.size()));
        EXPECT_EQ(blank, frame);
        EXPECT_EQ(conf::fn_Verify_CRC(frame.data(), static_cast<int>(frame.size())), 0);
    }
}

TEST(Crc, LowByteMismatchWinsOverHighByte) {
    Bytes frame{0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A};
    frame[6] ^= 0xFF;
    frame[7] ^= 0xFF;
    EXPECT_EQ(conf::fn_Verify_CRC(frame.data(), 8), -11);
    frame[6] ^= 0xFF;
    EXPECT_EQ(conf::fn_Verify_CRC(frame.data(), 8), -12);
}

}  // namespace
