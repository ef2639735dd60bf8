#include "link/crc.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Vector {
    const char* name;
    Bytes frame;  // with its CRC
};

class CrcVectors : public ::testing::TestWithParam<Vector> {};

TEST_P(CrcVectors, SealAndVerify) {
    Bytes frame = GetParam().frame;
    Bytes blank = frame;
    blank[blank.size() - 2] = blank[blank.size() - 1] = 0;
    conf::fn_Get_CRC(blank.data(), static_cast<int>(blank.size()));
    EXPECT_EQ(blank, frame);
    EXPECT_EQ(conf::fn_Verify_CRC(frame.data(), static_cast<int>(frame.size())), 0);
}

// The frame's name and bytes, as a failure names the case.
void PrintTo(const Vector& v, std::ostream* os) {
    const char* digits = "0123456789ABCDEF";
    *os << v.name;
    for (std::uint8_t b : v.frame)
        *os << ' ' << digits[b >> 4] << digits[b & 15];
}

INSTANTIATE_TEST_SUITE_P(
    Frames, CrcVectors,
    ::testing::Values(Vector{"ReadOne", {0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A}},
                      Vector{"ReadSix", {0x01, 0x03, 0x10, 0x00, 0x00, 0x06, 0xC1, 0x08}},
                      Vector{"WriteRam", {0x01, 0x05, 0x00, 0x0D, 0x00, 0x01, 0x9D, 0xC9}},
                      Vector{"WriteEeprom", {0x01, 0x06, 0x00, 0x1F, 0x00, 0x01, 0x79, 0xCC}},
                      Vector{"MultiWord",
                             {0x01, 0x10, 0x10, 0x00, 0x00, 0x02, 0x04, 0x00, 0x01, 0x00, 0x02,
                              0xEE, 0x6E}}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(Crc, LowByteMismatchWinsOverHighByte) {
    Bytes frame{0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A};
    frame[6] ^= 0xFF;
    frame[7] ^= 0xFF;
    EXPECT_EQ(conf::fn_Verify_CRC(frame.data(), 8), -11);
    frame[6] ^= 0xFF;
    EXPECT_EQ(conf::fn_Verify_CRC(frame.data(), 8), -12);
}

TEST(Crc, ByteStep) {
    EXPECT_EQ(conf::fn_CRC_8_bit(0xFFFF, 0x01), 0x807E);
}

}  // namespace
