// One transaction against a scripted instrument: results, decoding and trace lines.

#include "session/modbus_core.h"

#include <gtest/gtest.h>

#include <array>

#include "platform/serial/serial_error.h"
#include "tests/support/fixtures.h"

namespace {

using linktest::Bytes;

class ModbusCore : public linktest::LinkTest {
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

TEST_F(ModbusCore, ThirtyTwoBitValuesAndTheirPause) {
    device.Answer(Sealed({0x01, 0x03, 0x08, 0x00, 0x01, 0x00, 0x02, 0xFF, 0xFF, 0xFF, 0xFE}),
                  0.005);
    std::array<std::int32_t, 2> v{};
    Bytes request{0x01, 0x03, 0x10, 0x00, 0x00, 0x04, 0, 0};
    double start = fe.VirtualClock().Now();
    EXPECT_EQ(conf::fn_Send_MB_MSG_32_A(ctx, 222, request.data(), 8, v, nullptr), 0);
    EXPECT_EQ(v, (std::array<std::int32_t, 2>{65538, -2}));
    EXPECT_GE(fe.VirtualClock().Now() - start, 0.05);
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

}  // namespace
