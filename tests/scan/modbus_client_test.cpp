// Scan's Modbus client against a scripted instrument on COM5: frames, retries, result codes
// and the trace in the log, byte for byte. Time is the runtime's virtual clock.

#include "scan/modbus_client.h"

#include "link/crc.h"
#include "popups.h"
#include "scan/scan_log.h"
#include "tests/support/fixtures.h"

namespace scantest {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The frame with its CRC appended.
Bytes Sealed(Bytes frame) {
    frame.resize(frame.size() + 2);
    conf::fn_Get_CRC(frame.data(), static_cast<int>(frame.size()));
    return frame;
}

std::string Hex4(unsigned v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04x", v & 0xFFFFu);
    return buf;
}

// The CRC field of a trace line: the two CRC bytes in wire order.
std::string CrcField(const Bytes& frame) {
    return "{" + Hex4(frame[frame.size() - 2] * 256u + frame.back()) + "}";
}

const std::string kStars = "\xA1\xB9\xA1\xB9\xA1\xB9";
const std::string kTimeOut = "\tP222\tMB.Rx\t" + kStars + " COM read Time-out\n\n";

class ScanModbus : public SweepTest {
  protected:
    void SetUp() override {
        SweepTest::SetUp();
        scan::Log::Create(ctx);
        ASSERT_EQ(com.OpenComConfig(scan::kPort222, "COM5", 19200, 0, 8, 2), 0);
        ASSERT_EQ(com.SetComTime(scan::kPort222, 0.5), 0);
    }
    double Now() { return fe.VirtualClock().Now(); }

    serial::ScriptedDevice& device = AddPort(5);
};

TEST_F(ScanModbus, BroadcastWriteIsTracedAndEndsInThreeTimeOuts) {
    ctx.gvIDd = 0;
    const double start = Now();
    EXPECT_EQ(scan::fn_Modbus_Device(ctx, 5, 0x0A07, 0x6C2E), -2000);
    EXPECT_EQ(ctx.gr, -2000);
    EXPECT_EQ(ctx.gvLogYN, 1);  // the trace is on from the first request

    const Bytes request = Sealed({0x00, 0x05, 0x0A, 0x07, 0x6C, 0x2E});
    ASSERT_EQ(device.requests.size(), 3u);
    for (const auto& r : device.requests) {
        EXPECT_EQ(r.bytes, request);
        EXPECT_EQ(r.settings, (serial::LineSettings{19200, 0, 8, 2}));
    }
    const std::string tx = "\tP222\tMB.Tx\t#00.05 <0a07> [6c2e] " + CrcField(request) +
                           "\t---Broadcast--- Write RAM\n";
    EXPECT_EQ(Log(), tx + kTimeOut + tx + kTimeOut + tx + kTimeOut);
    // Each attempt waits 0.05 s before its 0.5 s read time-out.
    EXPECT_GE(Now() - start, 3 * 0.55);
    EXPECT_LT(Now() - start, 3 * 0.55 + 0.1);
}

TEST_F(ScanModbus, ModelCodeReadIsTheKnownFrameAndStoresOneValue) {
    const Bytes reply = Sealed({0x01, 0x03, 0x02, 0x68, 0x02});
    device.Answer(reply, 0.01);
    std::uint16_t values[3] = {0xAAAA, 0xAAAA, 0xAAAA};
    ctx.gvIDd = 1;
    EXPECT_EQ(scan::fn_Modbus_Device(ctx, 3, 0x1F00, 1, values), 0);
    ASSERT_EQ(device.requests.size(), 1u);
    EXPECT_EQ(device.requests[0].bytes, (Bytes{0x01, 0x03, 0x1F, 0x00, 0x00, 0x01, 0x83, 0xDE}));
    EXPECT_EQ(values[0], 0x6802);
    EXPECT_EQ(values[1], 0xAAAA);
    EXPECT_EQ(Log(),
              "\tP222\tMB.Tx\t#01.03 <1f00> (0001) {83de}\tRead\n"
              "\tP222\tMB.Rx\t#01.03 (0002) [6802] " +
                  CrcField(reply) + "\tRead\n\n");
}

TEST_F(ScanModbus, ReadReplyRegistersAreUnpairedInTheTrace) {
    const Bytes reply = Sealed({0x01, 0x04, 0x06, 0x00, 0x01, 0xFF, 0xFE, 0x12, 0x34});
    device.Answer(reply, 0.01);
    std::uint16_t values[3] = {};
    EXPECT_EQ(scan::fn_Modbus_Device(ctx, 4, 0x1000, 3, values), 0);
    EXPECT_EQ(std::vector<std::uint16_t>(values, values + 3),
              (std::vector<std::uint16_t>{0x0001, 0xFFFE, 0x1234}));
    EXPECT_EQ(Log(), "\tP222\tMB.Tx\t#01.04 <1000> (0003) " +
                         CrcField(Sealed({0x01, 0x04, 0x10, 0x00, 0x00, 0x03})) +
                         "\tRead-only\n\tP222\tMB.Rx\t#01.04 (0006) [0001] [fffe] [1234] " +
                         CrcField(reply) + "\tRead-only\n\n");
}

TEST_F(ScanModbus, ShortReplyGivesMinus2003AndTheExceptionBlock) {
    const Bytes reply = Sealed({0x01, 0x03, 0x02, 0x68, 0x02});
    for (int i = 0; i < 3; ++i)
        device.AnswerPart(reply, 3, 0.01);
    std::uint16_t value = 0;
    EXPECT_EQ(scan::fn_Modbus_Device(ctx, 3, 0x1F00, 1, {&value, 1}), -2003);
    EXPECT_EQ(device.requests.size(), 3u);
    EXPECT_EQ(value, 0);
    const std::string block = "\tP222\tMB.Rx\t01 03 02 \n\t" + kStars +
                              " Modbus201 : Exception 0930 occured after COM read, n=3\n"
                              "\tPossibility :: If BAUD changed\n"
                              "\tPossibility :: If using [Ro] to read [R] memory\n"
                              "\tPossibility :: If using [Wram] or [Wee] to write [Ro] memory\n"
                              "\tReturn value of ComRd() is num of byte it received.\n\n";
    const std::string tx = "\tP222\tMB.Tx\t#01.03 <1f00> (0001) {83de}\tRead\n";
    EXPECT_EQ(Log(), tx + block + tx + block + tx + block);
}

TEST_F(ScanModbus, BadCrcIsRetriedWithoutAReceiveLine) {
    Bytes bad = Sealed({0x01, 0x03, 0x02, 0x68, 0x02});
    bad.back() ^= 0xFF;
    const Bytes good = Sealed({0x01, 0x03, 0x02, 0x68, 0x02});
    device.Answer(bad, 0.01);
    device.Answer(good, 0.01);
    std::uint16_t value = 0;
    EXPECT_EQ(
        scan::fn_Send_MB_MSG_201_A(ctx, 222, Bytes{0x01, 0x03, 0x1F, 0x00, 0x00, 0x01, 0, 0}.data(),
                                   8, &ctx.gpLog, {&value, 1}, 1),
        -1);
    EXPECT_EQ(value, 0);
    const std::string tx = "\tP222\tMB.Tx\t#01.03 <1f00> (0001) {83de}\tRead\n";
    EXPECT_EQ(Log(), tx);
    // fn_Modbus_Device sends it again and takes the good answer.
    EXPECT_EQ(scan::fn_Modbus_Device(ctx, 3, 0x1F00, 1, {&value, 1}), 0);
    EXPECT_EQ(value, 0x6802);
    EXPECT_EQ(device.requests.size(), 2u);
    EXPECT_EQ(Log(),
              tx + tx + "\tP222\tMB.Rx\t#01.03 (0002) [6802] " + CrcField(good) + "\tRead\n\n");
}

TEST_F(ScanModbus, WriteEchoIsTraced) {
    const Bytes echo = Sealed({0x01, 0x06, 0x0A, 0x07, 0x00, 0x03});
    device.Answer(echo, 0.01);
    EXPECT_EQ(scan::fn_Modbus_Device(ctx, 6, 0x0A07, 3), 0);
    EXPECT_EQ(Log(), "\tP222\tMB.Tx\t#01.06 <0a07> [0003] " + CrcField(echo) +
                         "\tWrite EEPROM\n\tP222\tMB.Rx\t#01.06 <0a07> [0003] " + CrcField(echo) +
                         "\tWrite EEPROM\n\n");
}

TEST_F(ScanModbus, TraceSwitchZeroKeepsOnlyTheErrorEntries) {
    Bytes frame{0x01, 0x03, 0x1F, 0x00, 0x00, 0x01, 0, 0};
    EXPECT_EQ(scan::fn_Send_MB_MSG_201_A(ctx, 222, frame.data(), 8, &ctx.gpLog, {}, 0), -2000);
    EXPECT_EQ(Log(), kTimeOut);
    EXPECT_EQ(frame[6], 0x83);  // the CRC is put into the caller's frame
    EXPECT_EQ(frame[7], 0xDE);
}

TEST_F(ScanModbus, UndefinedFunctionCodeIsRefusedBeforeSending) {
    Bytes frame{0x01, 0x10, 0x1F, 0x00, 0x00, 0x01, 0, 0};
    EXPECT_EQ(scan::fn_Send_MB_MSG_201_A(ctx, 222, frame.data(), 8, &ctx.gpLog, {}, 1), -1);
    EXPECT_TRUE(device.requests.empty());
    EXPECT_EQ(Popups(fe), (Shown{{"log Tx[] exception", "not enR, enRo, enWram, enWee"},
                                 {"Modbus105 :: 105.6963", "Un-defined Modbus OP"}}));
    EXPECT_EQ(Log(), "\tP222\tMB.Tx\t#01.10 \n");
}

// More registers than the 512-byte reply buffer holds: refused, nothing sent.
TEST_F(ScanModbus, OversizedReadIsRefused) {
    std::vector<std::uint16_t> values(300);
    EXPECT_EQ(scan::fn_Modbus_Device(ctx, 3, 0x0000, 254, values), -1);
    EXPECT_TRUE(device.requests.empty());
    EXPECT_NE(Log().find("Modbus201 : 254 registers asked, at most 253"), std::string::npos);
}

// An adapter pulled during the exchange: an error result and a log entry, no crash.
TEST_F(ScanModbus, PulledAdapterFailsCleanly) {
    device.Vanish();
    EXPECT_LT(scan::fn_Modbus_Device(ctx, 3, 0x1F00, 1), 0);
    EXPECT_LT(ctx.gr, 0);
    EXPECT_NE(Log().find(" COM read NG, err code: "), std::string::npos);
}

}  // namespace
}  // namespace scantest
