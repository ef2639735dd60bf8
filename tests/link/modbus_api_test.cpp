// Register access: the station of the moment, three attempts, gr.

#include "session/modbus_api.h"

#include <gtest/gtest.h>

#include <array>

#include "session/link_controls.h"
#include "tests/support/fixtures.h"

namespace {

using linktest::Bytes;

class ModbusApi : public linktest::LinkTest {
  protected:
    void SetUp() override {
        OpenLog();
        OpenPort();
    }
};

TEST_F(ModbusApi, TheStationComesFromTheControlAtEveryCall) {
    conf::ID_comm::SV(ctx, 5);
    device.Answer(Sealed({0x05, 0x03, 0x0c, 0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6}), 0.005);
    std::array<std::int16_t, 6> v{};
    EXPECT_EQ(conf::fn_Modbus_Device_RW_16(ctx, 3, 0x1000, 6, v), 0);
    EXPECT_EQ(v, (std::array<std::int16_t, 6>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(device.requests[0].bytes, Sealed({0x05, 0x03, 0x10, 0x00, 0x00, 0x06}));
    conf::ID_comm::SV(ctx, 7);
    device.Answer(Sealed({0x07, 0x05, 0x00, 0x0d, 0x00, 0x01}), 0.005);
    EXPECT_EQ(conf::fn_Modbus_Device_RW_16(ctx, 5, 13, 1), 0);  // a write takes no array
    EXPECT_EQ(device.requests[1].bytes, Sealed({0x07, 0x05, 0x00, 0x0d, 0x00, 0x01}));
    EXPECT_EQ(ctx.gr, 0);
}

TEST_F(ModbusApi, AnAnswerOnTheThirdAttemptSucceeds) {
    device.StaySilent();
    device.AnswerPart(Sealed({0x01, 0x03, 0x02, 0x00, 0x09}), 3, 0.005);
    device.Answer(Sealed({0x01, 0x03, 0x02, 0x00, 0x09}), 0.005);
    std::array<std::int16_t, 1> v{};
    EXPECT_EQ(conf::fn_Modbus_Device_RW_16(ctx, 3, 0x0002, 1, v), 0);
    EXPECT_EQ(v[0], 9);
    ASSERT_EQ(device.requests.size(), 3u);
    EXPECT_EQ(device.requests[0].bytes, device.requests[2].bytes);  // sent unchanged each time
    std::string log = Log();
    EXPECT_NE(log.find("COM read Time-out"), std::string::npos);
    EXPECT_NE(log.find("n=3\n"), std::string::npos);
    EXPECT_NE(log.find("MB.Rx\t#01.03 (02)   [0009]{"), std::string::npos);
}

// An answer cut by the time-out whose tail comes in late: the line is drained until quiet, so
// the next attempt reads its own answer, not the tail of the last one.
TEST_F(ModbusApi, TheTailOfALateAnswerIsNotTakenForTheNextOne) {
    // 125 registers of {high, i}: 146 ms of bytes at 19200 baud.
    auto answer = [](std::uint8_t high) {
        Bytes a{0x01, 0x03, 250};
        for (int i = 0; i < 125; ++i)
            a.insert(a.end(), {high, static_cast<std::uint8_t>(i)});
        return Sealed(a);
    };
    device.Answer(answer(0x11), 0.45);  // straddles the 0.5 s time-out
    device.Answer(answer(0x22), 0.005);
    std::array<std::int16_t, 125> v{};
    EXPECT_EQ(conf::fn_Modbus_Device_RW_16(ctx, 3, 0, 125, v), 0);
    EXPECT_EQ(v[0], 0x2200);
    EXPECT_EQ(v[124], 0x2200 + 124);
    EXPECT_EQ(device.requests.size(), 2u);
}

TEST_F(ModbusApi, ThreeFailuresLeaveTheLastResultInGr) {
    EXPECT_EQ(conf::fn_Modbus_Device_RW_16(ctx, 3, 0x1F00, 4), -2000);  // nothing scripted
    EXPECT_EQ(ctx.gr, -2000);
    EXPECT_EQ(device.requests.size(), 3u);
}

TEST_F(ModbusApi, CalibrationCallsTraceToTheCalibrationStream) {
    ctx.gpCAL.Open("log_ADC.txt", "w");
    device.Answer(Sealed({0x01, 0x03, 0x04, 0, 1, 0, 2}), 0.005);
    std::array<std::int16_t, 2> v{};
    EXPECT_EQ(conf::fn_Modbus_Device_RW_16_CAL(ctx, 3, 0x1003, 2, v), 0);
    ctx.gpCAL.Close();
    EXPECT_EQ(conf_test::ReadFile("log_ADC.txt")
                  .rfind("\tP222\tMB.Tx\t#01.03 <1003> (0002) {30cb}\tRead\n", 0),
              0u);
    EXPECT_EQ(Log(), "");
}

TEST_F(ModbusApi, ThirtyTwoBitCallsBuildTheirFrames) {
    device.Answer(Sealed({0x01, 0x03, 0x04, 0x00, 0x01, 0x00, 0x02}), 0.005);
    std::array<std::int32_t, 1> v{};
    EXPECT_EQ(conf::fn_Modbus_Device_RW_32(ctx, 3, 0x1000, 1, v), 0);
    EXPECT_EQ(v[0], 65538);
    EXPECT_EQ(device.requests[0].bytes, Sealed({0x01, 0x03, 0x10, 0x00, 0x00, 0x02}));
    device.Answer(Sealed({0x01, 0x10, 0x10, 0x00, 0x00, 0x02}), 0.005);
    EXPECT_EQ(conf::fn_Modbus_Device_RW_32(ctx, 16, 0x1000, 0x00010002), 0);
    EXPECT_EQ(device.requests[1].bytes, (Bytes{0x01, 0x10, 0x10, 0x00, 0x00, 0x02, 0x04, 0x00, 0x01,
                                               0x00, 0x02, 0xEE, 0x6E}));
}

}  // namespace
