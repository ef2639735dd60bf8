// Trace lines of requests and responses, byte for byte.

#include "log/modbus_trace.h"

#include <gtest/gtest.h>

#include <vector>

#include "link/crc.h"
#include "log/event_log.h"
#include "tests/support/fixtures.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class ModbusTrace : public ::testing::Test, public conf_test::StatusPanel {
  protected:
    // The frame given in hex ("01 03 ..."), with its CRC filled in.
    static Bytes Sealed(const std::string& hex) {
        Bytes frame;
        for (std::size_t i = 0; i < hex.size(); i += 3)
            frame.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
        frame.resize(frame.size() + 2);
        conf::fn_Get_CRC(frame.data(), static_cast<int>(frame.size()));
        return frame;
    }
    // Traces the frame one way (to no stream at all if told); returns the result and leaves
    // what the trace file got in `line`.
    int Trace(bool tx, const Bytes& f, bool toStream = true) {
        int n = static_cast<int>(f.size());
        sys::LogStream* to = toStream ? &trace : nullptr;
        int r = tx ? conf::fn_Log_Tx(ctx, 222, f.data(), n, to)
                   : conf::fn_Log_Rx(ctx, 222, f.data(), n, to);
        trace.Close();
        line = conf_test::ReadFile("trace.txt");
        trace.Open("trace.txt", "w");
        return r;
    }
    void SetUp() override { trace.Open("trace.txt", "w"); }
    sys::LogStream trace;
    std::string line;
};

// The read and write-words requests are checked line for line with the link's requests.
TEST_F(ModbusTrace, EachFunctionCodeHasItsRequestAndResponseLine) {
    const struct {
        bool tx;
        const char* frame;  // without its CRC
        const char* line;
    } cases[] = {
        {false, "01 03 0c 00 05 00 02 00 10 00 00 00 00 00 03",
         "\tP222\tMB.Rx\t#01.03 (0c)   [0005][0002]  [0010][0000]  [0000][0003]  {ca1c}\tRead\n\n"},
        {true, "01 05 00 0d 00 01", "\tP222\tMB.Tx\t#01.05 <000d> [0001] {9dc9}\tWrite RAM\n"},
        {true, "00 06 00 1f 00 01",
         "\tP222\tMB.Tx\t#00.06 <001f> [0001] {781d}\t---Broadcast--- Write EEPROM\n"},
        {false, "01 10 10 00 00 02",
         "\tP222\tMB.Rx\t#01.10 <1000> (0002) {4508}\tWrite n Words\n\n"},
        {false, "01 06 00 1f 00 01",
         "\tP222\tMB.Rx\t#01.06 <001f> [0001] {79cc}\tWrite EEPROM\n\n"},
        {true, "01 10 10 00 00 02 04 00 01 86 a0",
         "\tP222\tMB.Tx\t#01.10 <1000> (0002) (04)  [0001][86a0]  {0db7}\tWrite n Words\n"},
        // A byte count that lies (0x7c data bytes, two there) never reads past the frame.
        {false, "01 03 7c 12 34", "\tP222\tMB.Rx\t#01.03 (7c)   [1234]{d52b}\tRead\n\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frame);
        Bytes f = Sealed(c.frame);
        EXPECT_EQ(Trace(c.tx, f), 0);
        EXPECT_EQ(line, c.line);
        EXPECT_EQ(Trace(c.tx, f, false), 0);  // no stream: still decoded, nothing written
        EXPECT_EQ(line, "");
    }
    EXPECT_TRUE(fe.Popups().empty());
}

TEST_F(ModbusTrace, UnknownCodesArePrintedShortAndRaiseAPopup) {
    Bytes f = Sealed("01 07 00 00 00 01");
    EXPECT_EQ(Trace(true, f), -1);
    EXPECT_EQ(line, "\tP222\tMB.Tx\t#01.07 \n");
    EXPECT_EQ(Trace(false, f), -1);
    EXPECT_EQ(line, "\tP222\tMB.Rx\t#01.07 \n");
    ASSERT_EQ(fe.Popups().size(), 2u);
    EXPECT_EQ(fe.Popups()[0].title, "log Tx[] exception");
    EXPECT_EQ(fe.Popups()[0].text, "not enR, enRo, enWram, enWee, enWmw");
    EXPECT_EQ(fe.Popups()[1].text, "not enR, enRo, enWram, enWee");
}

TEST_F(ModbusTrace, ParameterReadLineAndHexText) {
    conf_test::WriteFile("YN_log_dbg.txt", "1 0");
    conf::Log::init(ctx);
    conf::Log::Modbus_R(ctx, 0x0011, -1, -1, "A1SP");
    conf::Log::Modbus_R(ctx, 2, 1, 1, "DP");
    // Address and value cut to 16 bits, a decimal wider than its 7 columns, a name with a NUL.
    conf::Log::Modbus_R(ctx, 0x1001F, 0x2ABCD, -12345678, std::string("LO\0X", 4));
    conf::Log::Modbus_R(ctx, 0xFFFF, 0x7FFF, 1234567, "");
    ctx.gvLogYN = 0;
    conf::Log::Modbus_R(ctx, 3, 3, 3, "OFF");  // the switch off: nothing
    ctx.gpLog.Close();
    std::string log = conf_test::ReadFile("log.txt");
    EXPECT_NE(log.find("<0011>\t[ffff]\t     -1   \tA1SP\n<0002>\t[0001]\t      1   \tDP\n"
                       "<001f>\t[abcd]\t-12345678   \tLO\n<ffff>\t[7fff]\t1234567   \t\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("OFF"), std::string::npos);
    std::string hex;
    conf::Log::DATA16_HEX(0x12345, &hex);
    EXPECT_EQ(hex, "2345");
}

}  // namespace
