// Trace lines of requests and responses, byte for byte.

#include "log/modbus_trace.h"

#include <gtest/gtest.h>

#include <vector>

#include "../lang/status_panel.h"
#include "link/crc.h"
#include "log/event_log.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class ModbusTrace : public ::testing::Test, public conf_test::StatusPanel {
  protected:
    // The frame with its CRC filled in.
    static Bytes Sealed(Bytes frame) {
        frame.resize(frame.size() + 2);
        conf::fn_Get_CRC(frame.data(), static_cast<int>(frame.size()));
        return frame;
    }
    std::string Tx(const Bytes& f) {
        EXPECT_EQ(conf::fn_Log_Tx(ctx, 222, f.data(), static_cast<int>(f.size()), &trace), 0);
        return Flushed();
    }
    std::string Rx(const Bytes& f) {
        EXPECT_EQ(conf::fn_Log_Rx(ctx, 222, f.data(), static_cast<int>(f.size()), &trace), 0);
        return Flushed();
    }
    std::string Flushed() {
        trace.Close();
        std::string s = conf_test::ReadFile("trace.txt");
        trace.Open("trace.txt", "w");
        return s;
    }
    void SetUp() override { trace.Open("trace.txt", "w"); }
    conf::LogStream trace;
};

TEST_F(ModbusTrace, ReadRequestAndItsResponse) {
    EXPECT_EQ(Tx(Sealed({0x01, 0x03, 0x10, 0x00, 0x00, 0x06})),
              "\tP222\tMB.Tx\t#01.03 <1000> (0006) {c108}\tRead\n");
    Bytes answer = Sealed(
        {0x01, 0x03, 0x0c, 0x00, 0x05, 0x00, 0x02, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03});
    char crc[8];
    std::snprintf(crc, sizeof crc, "%02x%02x", answer[15], answer[16]);
    EXPECT_EQ(Rx(answer), std::string("\tP222\tMB.Rx\t#01.03 (0c)   [0005][0002]  [0010][0000]  "
                                      "[0000][0003]  {") +
                              crc + "}\tRead\n\n");
}

TEST_F(ModbusTrace, WritesBroadcastAndMultiWord) {
    EXPECT_EQ(Tx(Sealed({0x01, 0x05, 0x00, 0x0d, 0x00, 0x01})),
              "\tP222\tMB.Tx\t#01.05 <000d> [0001] {9dc9}\tWrite RAM\n");
    EXPECT_EQ(Tx(Sealed({0x00, 0x06, 0x00, 0x1f, 0x00, 0x01})),
              "\tP222\tMB.Tx\t#00.06 <001f> [0001] {781d}\t---Broadcast--- Write EEPROM\n");
    EXPECT_EQ(Tx(Sealed({0x01, 0x10, 0x10, 0x00, 0x00, 0x02, 0x04, 0x00, 0x01, 0x00, 0x02})),
              "\tP222\tMB.Tx\t#01.10 <1000> (0002) (04)  [0001][0002]  {ee6e}\tWrite n Words\n");
    EXPECT_EQ(Rx(Sealed({0x01, 0x10, 0x10, 0x00, 0x00, 0x02})),
              "\tP222\tMB.Rx\t#01.10 <1000> (0002) {4508}\tWrite n Words\n\n");
    EXPECT_EQ(Rx(Sealed({0x01, 0x06, 0x00, 0x1f, 0x00, 0x01})),
              "\tP222\tMB.Rx\t#01.06 <001f> [0001] {79cc}\tWrite EEPROM\n\n");
}

TEST_F(ModbusTrace, AByteCountThatLiesNeverReadsPastTheFrame) {
    // Says 0x7c data bytes, holds two.
    std::string line = Rx(Sealed({0x01, 0x03, 0x7c, 0x12, 0x34}));
    EXPECT_EQ(line.substr(0, 33), "\tP222\tMB.Rx\t#01.03 (7c)   [1234]{");
}

TEST_F(ModbusTrace, UnknownCodesArePrintedShortAndRaiseAPopup) {
    Bytes f = Sealed({0x01, 0x07, 0x00, 0x00, 0x00, 0x01});
    EXPECT_EQ(conf::fn_Log_Tx(ctx, 222, f.data(), 8, &trace), -1);
    EXPECT_EQ(conf::fn_Log_Rx(ctx, 222, f.data(), 8, &trace), -1);
    EXPECT_EQ(Flushed(), "\tP222\tMB.Tx\t#01.07 \n\tP222\tMB.Rx\t#01.07 \n");
    ASSERT_EQ(fe.Popups().size(), 2u);
    EXPECT_EQ(fe.Popups()[0].title, "log Tx[] exception");
    EXPECT_EQ(fe.Popups()[0].text, "not enR, enRo, enWram, enWee, enWmw");
    EXPECT_EQ(fe.Popups()[1].text, "not enR, enRo, enWram, enWee");
}

TEST_F(ModbusTrace, NoStreamWritesNothingAndStillDecodes) {
    Bytes f = Sealed({0x01, 0x03, 0x00, 0x00, 0x00, 0x01});
    EXPECT_EQ(conf::fn_Log_Tx(ctx, 222, f.data(), 8, nullptr), 0);
}

TEST_F(ModbusTrace, ParameterReadLineAndHexText) {
    conf_test::WriteFile("YN_log_dbg.txt", "1 0");
    conf::mf_104_Log__init(ctx);
    conf::mf_104_Log__Modbus_R(ctx, 0x0011, -1, -1, "A1SP");
    conf::mf_104_Log__Modbus_R(ctx, 2, 1, 1, "DP");
    ctx.gpLog.Close();
    std::string log = conf_test::ReadFile("log.txt");
    EXPECT_NE(log.find("<0011>\t[ffff]\t     -1   \tA1SP\n<0002>\t[0001]\t      1   \tDP\n"),
              std::string::npos)
        << log;
    std::string hex;
    conf::mf_104_Log__DATA16_HEX(0x12345, &hex);
    EXPECT_EQ(hex, "2345");
}

}  // namespace
