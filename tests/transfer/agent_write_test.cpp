// The Set button against the simulated instrument: display digits and alarm amount with their
// command codes on the wire, the rules they govern, a failure between the two writes.

#include <gtest/gtest.h>

#include "tests/support/fixtures.h"
#include "transfer/agent_write.h"

namespace {

using transfertest::Bytes;
using transfertest::kDevInfoRequest;
using transfertest::TransferTest;

const Bytes kDigit1{0x01, 0x05, 0x1F, 0x04, 0x46, 0x01, 0x78, 0x7F};
const Bytes kAlarms2{0x01, 0x06, 0x1F, 0x05, 0x47, 0x02, 0x2C, 0x2E};
const Bytes kDigit0{0x01, 0x05, 0x1F, 0x04, 0x46, 0x00, 0xB9, 0xBF};
const Bytes kAlarms1{0x01, 0x06, 0x1F, 0x05, 0x47, 0x01, 0x6C, 0x2F};

class AgentWrite : public TransferTest {
  protected:
    void SetUp() override {
        TransferTest::SetUp();
        StartWith(104, 2);
        Requests();
    }
    int PressSet() { return rt.UserPress(ctx.gvMain, Id(ctx.gvMain, "AGENT_WRITE")); }
    // The user's choice in the two rings, without their own callbacks.
    void Choose(int digit, int alarms) {
        rt.SetCtrlIndex(ctx.gvMain, Id(ctx.gvMain, "DIGIT"), digit);
        rt.SetCtrlIndex(ctx.gvMain, Id(ctx.gvMain, "ALARM_AMOUNT"), alarms);
    }
    std::string DpCaption(int item) {
        return Cfg("DP").items.at(static_cast<std::size_t>(item)).label;
    }
    // Whether each alarm's four controls are all enabled (1), all dimmed (0) or mixed (-1).
    int AlarmEnabled(int alarm) {
        const std::string n = std::to_string(alarm);
        int enabled = 0, dimmed = 0;
        for (const char* part : {"FU", "MD", "SP", "HY"})
            (Cfg(("A" + n + part).c_str()).dimmed ? dimmed : enabled)++;
        return dimmed == 0 ? 1 : enabled == 0 ? 0 : -1;
    }
};

TEST_F(AgentWrite, WritesDigitsToRamAndAlarmAmountToEepromAndAppliesTheirRules) {
    ASSERT_EQ(Main("MSPV_V").text, "8888");
    ASSERT_EQ(AlarmEnabled(1), 1);
    Choose(0, 1);
    EXPECT_EQ(PressSet(), 0);
    EXPECT_EQ(Requests(), (std::vector<Bytes>{kDevInfoRequest, kDigit0, kAlarms1}));
    EXPECT_EQ(Ram(0x1F04), 0);
    EXPECT_EQ(Ram(0x1F05), 1);
    // Three digits: the sample on the display and the decimal-point captions.
    EXPECT_EQ(Main("MSPV_V").text, "888");
    EXPECT_EQ(DpCaption(0), "000.");
    EXPECT_EQ(DpCaption(3), "----");
    // One alarm in use.
    EXPECT_EQ(AlarmEnabled(1), 1);
    EXPECT_EQ(AlarmEnabled(2), 0);

    Choose(1, 2);
    EXPECT_EQ(PressSet(), 0);
    EXPECT_EQ(Requests(), (std::vector<Bytes>{kDevInfoRequest, kDigit1, kAlarms2}));
    EXPECT_EQ(Status(), "Write OK");
    EXPECT_EQ(StatusColour(), 0x008000);
    EXPECT_EQ(LogFrom("Modbus w DIGIT"),
              "Modbus w DIGIT = 4601 \n"
              "\tP222\tMB.Tx\t#01.05 <1f04> [4601] {787f}\tWrite RAM\n"
              "\tP222\tMB.Rx\t#01.05 <1f04> [4601] {787f}\tWrite RAM\n\n"
              "Modbus w Alarm.Num = 4702 \n"
              "\tP222\tMB.Tx\t#01.06 <1f05> [4702] {2c2e}\tWrite EEPROM\n"
              "\tP222\tMB.Rx\t#01.06 <1f05> [4702] {2c2e}\tWrite EEPROM\n\n");
    EXPECT_EQ(AlarmEnabled(2), 1);

    Choose(1, 0);
    EXPECT_EQ(PressSet(), 0);
    EXPECT_EQ(Main("MSPV_V").text, "8888");
    EXPECT_EQ(AlarmEnabled(1), 0);
    Requests();
    // Enter only moves on.
    rt.UserKeyPress(ctx.gvMain, Id(ctx.gvMain, "AGENT_WRITE"), ui::VAL_ENTER_VKEY);
    EXPECT_EQ(Focused(), "cfg:ID");
    EXPECT_TRUE(Requests().empty());
}

TEST_F(AgentWrite, AFailedAlarmWriteLeavesTheDigitRulesApplied) {
    inst->AddFault(conf_test::MakeFault(sim::FaultKind::kException, 2, 0));  // alarms refused
    Choose(0, 1);
    EXPECT_LT(PressSet(), 0);
    EXPECT_EQ(Requests(),
              (std::vector<Bytes>{kDevInfoRequest, kDigit0, kAlarms1, kAlarms1, kAlarms1}));
    EXPECT_EQ(Status(), "Write NG");
    EXPECT_EQ(StatusColour(), 0xFF0000);
    EXPECT_EQ(Main("MSPV_V").text, "888");
    EXPECT_EQ(DpCaption(0), "000.");
    // The alarm rule did not run: the second alarm stays enabled.
    EXPECT_EQ(AlarmEnabled(2), 1);
    EXPECT_EQ(Ram(0x1F04), 0);
    EXPECT_EQ(Ram(0x1F05), 2);
}

}  // namespace
