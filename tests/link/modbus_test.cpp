// One transaction against a scripted instrument (results, decoding and trace lines), and the
// register access over it: the station of the moment, three attempts, gr.

#include <gtest/gtest.h>

#include <array>

#include "link/crc.h"
#include "platform/serial/serial_error.h"
#include "session/link_controls.h"
#include "session/modbus_api.h"
#include "session/modbus_core.h"
#include "tests/support/fixtures.h"

namespace {

using linktest::Bytes;

// The link panel with its log and COM5 open on a scripted instrument.
class Modbus : public linktest::LinkTest {
  protected:
    void SetUp() override {
        OpenLog();
        OpenPort();
    }
    int Read16(Bytes request, std::span<std::int16_t> values) {
        request.resize(8);
        return conf::fn_Send_MB_MSG_16_A(ctx, 222, request.data(), 8, values, &ctx.gpLog);
    }
    const Bytes kReadSix{0x01, 0x03, 0x10, 0x00, 0x00, 0x06};
    const std::string kTxReadSix = "\tP222\tMB.Tx\t#01.03 <1000> (0006) {c108}\tRead\n";
};
using ModbusCore = Modbus;
using ModbusApi = Modbus;

// A CRC's low byte is checked first.
TEST(Crc, LowByteMismatchWinsOverHighByte) {
    Bytes frame{0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A};
    frame[6] ^= 0xFF;
    frame[7] ^= 0xFF;
    EXPECT_EQ(conf::fn_Verify_CRC(frame.data(), 8), -11);
    frame[6] ^= 0xFF;
    EXPECT_EQ(conf::fn_Verify_CRC(frame.data(), 8), -12);
}

TEST_F(ModbusCore, ACompleteAnswerIsDecodedAndTraced) {
    device.Answer(Sealed({0x01, 0x03, 0x0c, 0, 5, 0, 2, 0, 0, 0, 0, 0, 0, 0x80, 0x00}), 0.005);
    std::array<std::int16_t, 6> v{};
    EXPECT_EQ(Read16(kReadSix, v), 0);
    EXPECT_EQ(v, (std::array<std::int16_t, 6>{5, 2, 0, 0, 0, -32768}));
    ASSERT_EQ(device.requests.size(), 1u);
    EXPECT_EQ(device.requests[0].bytes, Sealed(kReadSix));
    EXPECT_EQ(
        Log().rfind(
            kTxReadSix + "\tP222\tMB.Rx\t#01.03 (0c)   [0005][0002]  [0000][0000]  [0000][8000]  {",
            0),
        0u);
}

TEST_F(ModbusCore, AnExceptionAnswerIsAPartialResponse) {
    device.Answer({0x01, 0x83, 0x02, 0xC0, 0xF1}, 0.005);
    std::array<std::int16_t, 6> v{};
    EXPECT_EQ(Read16(kReadSix, v), -2005);
    EXPECT_EQ(
        Log(),
        kTxReadSix +
            "\tP222\tMB.Rx\t01 83 02 c0 f1 \n"
            "\t\xA1\xB9\xA1\xB9\xA1\xB9 Modbus201 : Exception 0930 occured after COM read, n=5\n"
            "\tPossibility :: If BAUD changed\n"
            "\tPossibility :: If using [Ro] to read [R] memory\n"
            "\tPossibility :: If using [Wram] or [Wee] to write [Ro] memory\n"
            "\tReturn value of ComRd() is num of byte it received.\n\n");
    EXPECT_EQ(v[0], 0);
}

TEST_F(ModbusCore, SilenceCostsOneTimeOut) {
    device.StaySilent();
    std::array<std::int16_t, 6> v{};
    double start = fe.VirtualClock().Now();
    EXPECT_EQ(Read16(kReadSix, v), -2000);
    EXPECT_NEAR(fe.VirtualClock().Now() - start, 0.5 + 8 * 11 / 19200.0, 1e-9);
    EXPECT_EQ(Log(), kTxReadSix + "\tP222\tMB.Rx\t\xA1\xB9\xA1\xB9\xA1\xB9 COM read Time-out\n\n");
}

TEST_F(ModbusCore, ABadCrcIsMinusOneWithNoResponseLine) {
    Bytes answer = Sealed({0x01, 0x03, 0x02, 0x00, 0x07});
    answer.back() ^= 0x01;
    device.Answer(answer, 0.005);
    std::array<std::int16_t, 1> v{};
    EXPECT_EQ(Read16({0x01, 0x03, 0x00, 0x00, 0x00, 0x01}, v), -1);
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(Log(), "\tP222\tMB.Tx\t#01.03 <0000> (0001) {840a}\tRead\n");
}

TEST_F(ModbusCore, AByteCountThatClaimsMoreNeverWritesPastTheCallersArray) {
    // One register asked for, an answer of the right length whose byte count says 0x7c.
    device.Answer(Sealed({0x01, 0x03, 0x7c, 0x12, 0x34}), 0.005);
    std::array<std::int16_t, 3> v{-1, -1, -1};
    EXPECT_EQ(conf::fn_Send_MB_MSG_16_A(ctx, 222, Bytes{0x01, 0x03, 0, 0, 0, 1, 0, 0}.data(), 8,
                                        std::span(v).first(1), nullptr),
              0);
    EXPECT_EQ(v, (std::array<std::int16_t, 3>{0x1234, -1, -1}));
}

TEST_F(ModbusCore, AnUndefinedCodeIsRefusedBeforeAnythingIsSent) {
    Bytes request{0x01, 0x10, 0x10, 0x00, 0x00, 0x02, 0x04, 0, 1, 0, 2, 0, 0};
    EXPECT_EQ(conf::fn_Send_MB_MSG_16_A(ctx, 222, request.data(), 13, {}, &ctx.gpLog), -1);
    EXPECT_TRUE(device.requests.empty());
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].title, "m104__Modbus_core");
    EXPECT_EQ(fe.Popups()[0].text, "104.6963 Un-defined Modbus OP");
    EXPECT_EQ(Log(),
              "\tP222\tMB.Tx\t#01.10 <1000> (0002) (04)  [0001][0002]  {ee6e}\tWrite n Words\n");
}

// Thirty-two-bit values, their pause, and the register access building their frames.
TEST_F(ModbusCore, ThirtyTwoBitValuesAndTheirPause) {
    device.Answer(Sealed({0x01, 0x03, 0x08, 0x00, 0x01, 0x00, 0x02, 0xFF, 0xFF, 0xFF, 0xFE}),
                  0.005);
    std::array<std::int32_t, 2> v{};
    Bytes request{0x01, 0x03, 0x10, 0x00, 0x00, 0x04, 0, 0};
    double start = fe.VirtualClock().Now();
    EXPECT_EQ(conf::fn_Send_MB_MSG_32_A(ctx, 222, request.data(), 8, v, nullptr), 0);
    EXPECT_EQ(v, (std::array<std::int32_t, 2>{65538, -2}));
    EXPECT_GE(fe.VirtualClock().Now() - start, 0.05);
    // Through the register access: its read and its write of two words.
    device.Answer(Sealed({0x01, 0x03, 0x04, 0x00, 0x01, 0x00, 0x02}), 0.005);
    std::array<std::int32_t, 1> one{};
    EXPECT_EQ(conf::fn_Modbus_Device_RW_32(ctx, 3, 0x1000, 1, one), 0);
    EXPECT_EQ(one[0], 65538);
    EXPECT_EQ(device.requests[1].bytes, Sealed({0x01, 0x03, 0x10, 0x00, 0x00, 0x02}));
    device.Answer(Sealed({0x01, 0x10, 0x10, 0x00, 0x00, 0x02}), 0.005);
    EXPECT_EQ(conf::fn_Modbus_Device_RW_32(ctx, 16, 0x1000, 0x00010002), 0);
    EXPECT_EQ(device.requests[2].bytes, (Bytes{0x01, 0x10, 0x10, 0x00, 0x00, 0x02, 0x04, 0x00, 0x01,
                                               0x00, 0x02, 0xEE, 0x6E}));
}

TEST_F(ModbusCore, AClosedPortFailsAtTheFlush) {
    com.CloseCom(222);
    EXPECT_EQ(Read16(kReadSix, {}), -555);
    EXPECT_EQ(Log(), kTxReadSix);
}

TEST_F(ModbusCore, APulledAdapterIsAReadError) {
    device.Vanish();
    std::array<std::int16_t, 6> v{};
    int r = Read16(kReadSix, v);
    EXPECT_TRUE(r == -2000 - serial::kErrIo || r == -1000 - serial::kErrIo) << r;
    EXPECT_NE(Log().find("err code: -7\n"), std::string::npos);
}

// A port that takes only part of every frame.
class ShortWritePort final : public serial::Port {
  public:
    int Write(const std::uint8_t*, int n) override { return n > 3 ? 3 : n; }
    int Read(std::uint8_t*, int, double) override { return 0; }
    int FlushInput() override { return 0; }
    int FlushOutput() override { return 0; }
    const serial::LineSettings& Settings() const override { return settings_; }

  private:
    serial::LineSettings settings_{19200, 0, 8, 2};
};

class ShortWriteBackend final : public serial::Backend {
  public:
    int Open(const std::string&, const serial::LineSettings&,
             std::unique_ptr<serial::Port>* out) override {
        *out = std::make_unique<ShortWritePort>();
        return 0;
    }
};

TEST_F(ModbusCore, AShortWriteIsReportedWithItsCount) {
    ShortWriteBackend shortBackend;
    serial::Rs232 shortCom(shortBackend, serial::ComMapEnv{});
    ASSERT_EQ(shortCom.OpenComConfig(222, "/dev/short", 19200, 0, 8, 2), 0);
    ctx.com = &shortCom;
    EXPECT_EQ(Read16(kReadSix, {}), -1003);
    EXPECT_EQ(
        Log(),
        kTxReadSix +
            "\t\xA1\xB9\xA1\xB9\xA1\xB9 COM write NG, err code: 3\n\n\tcheck Help of LW.CVI\n");
    ctx.com = &com;
}

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

TEST_F(ModbusApi, AnAnswerOnTheThirdAttemptSucceedsAndThreeFailuresLeaveTheirResultInGr) {
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
    EXPECT_EQ(ctx.gr, 0);
    // Three failures leave the last result in gr.
    EXPECT_EQ(conf::fn_Modbus_Device_RW_16(ctx, 3, 0x1F00, 4), -2000);  // nothing scripted
    EXPECT_EQ(ctx.gr, -2000);
    EXPECT_EQ(device.requests.size(), 6u);
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

}  // namespace
