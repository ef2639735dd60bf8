// Scan's Modbus client against a scripted instrument on COM5: frames, retries, result codes
// and the trace in the log, byte for byte. Time is the runtime's virtual clock.

#include "scan/modbus_client.h"

#include "popups.h"
#include "scan/scan_log.h"
#include "tests/support/fixtures.h"

namespace scantest {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kStars = "\xA1\xB9\xA1\xB9\xA1\xB9";
const std::string kTimeOut = "\tP222\tMB.Rx\t" + kStars + " COM read Time-out\n\n";
const std::string kModelCodeTx = "\tP222\tMB.Tx\t#01.03 <1f00> (0001) {83de}\tRead\n";
const Bytes kModelCodeReply{0x01, 0x03, 0x02, 0x68, 0x02, 0x16, 0x45};

class ScanModbus : public SweepTest {
  protected:
    void SetUp() override {
        SweepTest::SetUp();
        scan::Log::Create(ctx);
        ASSERT_EQ(com.OpenComConfig(scan::kPort222, "COM5", 19200, 0, 8, 2), 0);
        ASSERT_EQ(com.SetComTime(scan::kPort222, 0.5), 0);
    }

    serial::ScriptedDevice& device = AddPort(5);
};

TEST_F(ScanModbus, BroadcastWriteIsTracedAndEndsInThreeTimeOuts) {
    ctx.gvIDd = 0;
    const double start = fe.VirtualClock().Now();
    EXPECT_EQ(scan::fn_Modbus_Device(ctx, 5, 0x0A07, 0x6C2E), -2000);
    EXPECT_EQ(ctx.gr, -2000);
    EXPECT_EQ(ctx.gvLogYN, 1);  // the trace is on from the first request

    ASSERT_EQ(device.requests.size(), 3u);
    for (const auto& r : device.requests) {
        EXPECT_EQ(r.bytes, (Bytes{0x00, 0x05, 0x0A, 0x07, 0x6C, 0x2E, 0xD3, 0x1E}));
        EXPECT_EQ(r.settings, (serial::LineSettings{19200, 0, 8, 2}));
    }
    const std::string tx =
        "\tP222\tMB.Tx\t#00.05 <0a07> [6c2e] {d31e}\t---Broadcast--- Write RAM\n";
    EXPECT_EQ(Log(), tx + kTimeOut + tx + kTimeOut + tx + kTimeOut);
    // Each attempt waits 0.05 s before its 0.5 s read time-out.
    EXPECT_GE(fe.VirtualClock().Now() - start, 3 * 0.55);
    EXPECT_LT(fe.VirtualClock().Now() - start, 3 * 0.55 + 0.1);
}

// One request, its answer: the frame sent, the registers stored (no more than asked, none for
// a write) and both trace lines, read registers unpaired.
TEST_F(ScanModbus, AnsweredRequestsAreTracedBothWays) {
    const auto exchange = [this](int function, int address, int data, const Bytes& request,
                                 const Bytes& reply, const std::vector<std::uint16_t>& stored,
                                 const std::string& log) {
        SCOPED_TRACE(function);
        device.requests.clear();
        scan::Log::Create(ctx);
        device.Answer(reply, 0.01);
        std::vector<std::uint16_t> values(3, 0xAAAA);
        EXPECT_EQ(scan::fn_Modbus_Device(ctx, function, address, data, values), 0);
        ASSERT_EQ(device.requests.size(), 1u);
        EXPECT_EQ(device.requests[0].bytes, request);
        EXPECT_EQ(values, stored);
        EXPECT_EQ(Log(), log);
    };
    exchange(3, 0x1F00, 1, {0x01, 0x03, 0x1F, 0x00, 0x00, 0x01, 0x83, 0xDE}, kModelCodeReply,
             {0x6802, 0xAAAA, 0xAAAA},
             kModelCodeTx + "\tP222\tMB.Rx\t#01.03 (0002) [6802] {1645}\tRead\n\n");
    exchange(4, 0x1000, 3, {0x01, 0x04, 0x10, 0x00, 0x00, 0x03, 0xB4, 0xCB},
             {0x01, 0x04, 0x06, 0x00, 0x01, 0xFF, 0xFE, 0x12, 0x34, 0x01, 0xC0},
             {0x0001, 0xFFFE, 0x1234},
             "\tP222\tMB.Tx\t#01.04 <1000> (0003) {b4cb}\tRead-only\n"
             "\tP222\tMB.Rx\t#01.04 (0006) [0001] [fffe] [1234] {01c0}\tRead-only\n\n");
    exchange(6, 0x0A07, 3, {0x01, 0x06, 0x0A, 0x07, 0x00, 0x03, 0x7B, 0xD2},
             {0x01, 0x06, 0x0A, 0x07, 0x00, 0x03, 0x7B, 0xD2}, {0xAAAA, 0xAAAA, 0xAAAA},
             "\tP222\tMB.Tx\t#01.06 <0a07> [0003] {7bd2}\tWrite EEPROM\n"
             "\tP222\tMB.Rx\t#01.06 <0a07> [0003] {7bd2}\tWrite EEPROM\n\n");
}

TEST_F(ScanModbus, ShortReplyGivesMinus2003AndTheExceptionBlock) {
    for (int i = 0; i < 3; ++i)
        device.AnswerPart(kModelCodeReply, 3, 0.01);
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
    EXPECT_EQ(Log(), kModelCodeTx + block + kModelCodeTx + block + kModelCodeTx + block);
}

TEST_F(ScanModbus, BadCrcIsRetriedWithoutAReceiveLine) {
    device.Answer({0x01, 0x03, 0x02, 0x68, 0x02, 0x16, 0xBA}, 0.01);
    device.Answer(kModelCodeReply, 0.01);
    std::uint16_t value = 0;
    EXPECT_EQ(
        scan::fn_Send_MB_MSG_201_A(ctx, 222, Bytes{0x01, 0x03, 0x1F, 0x00, 0x00, 0x01, 0, 0}.data(),
                                   8, &ctx.gpLog, {&value, 1}, 1),
        -1);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(Log(), kModelCodeTx);
    // fn_Modbus_Device sends it again and takes the good answer.
    EXPECT_EQ(scan::fn_Modbus_Device(ctx, 3, 0x1F00, 1, {&value, 1}), 0);
    EXPECT_EQ(value, 0x6802);
    EXPECT_EQ(device.requests.size(), 2u);
    EXPECT_EQ(Log(),
              kModelCodeTx + kModelCodeTx + "\tP222\tMB.Rx\t#01.03 (0002) [6802] {1645}\tRead\n\n");
}

TEST_F(ScanModbus, TraceSwitchZeroKeepsOnlyTheErrorEntries) {
    Bytes frame{0x01, 0x03, 0x1F, 0x00, 0x00, 0x01, 0, 0};
    EXPECT_EQ(scan::fn_Send_MB_MSG_201_A(ctx, 222, frame.data(), 8, &ctx.gpLog, {}, 0), -2000);
    EXPECT_EQ(Log(), kTimeOut);
    // The CRC is put into the caller's frame.
    EXPECT_EQ(frame, (Bytes{0x01, 0x03, 0x1F, 0x00, 0x00, 0x01, 0x83, 0xDE}));
}

// Refused before anything is sent: a function code the trace does not know, and more
// registers than the 512-byte reply buffer holds.
TEST_F(ScanModbus, UndefinedCodeOrOversizedReadIsRefusedBeforeSending) {
    Bytes frame{0x01, 0x10, 0x1F, 0x00, 0x00, 0x01, 0, 0};
    EXPECT_EQ(scan::fn_Send_MB_MSG_201_A(ctx, 222, frame.data(), 8, &ctx.gpLog, {}, 1), -1);
    EXPECT_EQ(Popups(fe), (Shown{{"log Tx[] exception", "not enR, enRo, enWram, enWee"},
                                 {"Modbus105 :: 105.6963", "Un-defined Modbus OP"}}));
    std::vector<std::uint16_t> values(300);
    EXPECT_EQ(scan::fn_Modbus_Device(ctx, 3, 0x0000, 254, values), -1);
    EXPECT_TRUE(device.requests.empty());
    // Each of the three attempts is refused on its own.
    const std::string refused = "\t" + kStars + " Modbus201 : 254 registers asked, at most 253\n\n";
    EXPECT_EQ(Log(), "\tP222\tMB.Tx\t#01.10 \n" + refused + refused + refused);
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
