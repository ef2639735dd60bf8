// Read-all against the simulated instrument: the requests on the wire, the page values, the
// status line, and what stays when a read fails part-way.

#include <gtest/gtest.h>

#include "core/selector.h"
#include "params/locator.h"
#include "tests/support/fixtures.h"
#include "transfer/dev_info.h"
#include "transfer/read_all.h"

namespace {

using transfertest::Bytes;
using transfertest::kDevInfoRequest;
using transfertest::TransferTest;

// The requests of a complete read-all with a block of `count` registers.
std::vector<Bytes> ReadAllRequests(int count) {
    return {kDevInfoRequest, transfertest::ReadRequest(0x1F04, 2),
            transfertest::ReadRequest(0x0000, count), transfertest::ReadRequest(0x001F, 1),
            transfertest::ReadRequest(0x1F02, 2)};
}

TEST_F(TransferTest, StartUpReadsAllAndShowsTheInstrumentsValues) {
    StartWith(104, 2);
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(StatusColour(), 0x008000);
    EXPECT_EQ(ctx.gr, 0);
    EXPECT_EQ(ctx.gvHW, 104);
    EXPECT_EQ(ctx.gvFW, 2);
    EXPECT_EQ(Cfg("TYPE_1").state, 1);  // thermocouple K
    EXPECT_EQ(Cfg("HILT").number, 1000);
    EXPECT_EQ(Cfg("FILT").number, 5);
    EXPECT_EQ(Cfg("A1SP").number, 800);
    EXPECT_EQ(Cfg("A2SP").number, 100);
    EXPECT_EQ(Cfg("BR").index, 3);
    EXPECT_EQ(Cfg("RTU").index, 1);
    EXPECT_EQ(Main("DIGIT").index, 1);
    EXPECT_EQ(Main("ALARM_AMOUNT").index, 2);
    EXPECT_EQ(Main("RS485").state, 1);
    EXPECT_EQ(Cal("SN_READ").text, "13     05    28       0001");
    // The log holds the read's heading and its reads.
    const std::string log = Log();
    for (const char* line :
         {"=============Read para\n\nModbus r Dev Info 4 words \n",
          "Modbus r Parameter of Dev 31 words \n", "Modbus r RS485 ON/OFF: 1 \n", "Modbus r SN\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line;
    // Firmware 2 reads 31 registers, by button or menu, and marks values out of range.
    Put(8, 17);           // FILT
    Put(30, 1);           // LOCK
    Put(0x1F04, 0x4600);  // display digits: the code and the index
    Requests();
    EXPECT_EQ(PressRead(), 0);
    EXPECT_EQ(Requests(), ReadAllRequests(31));
    EXPECT_EQ(Cfg("FILT").number, 17);
    EXPECT_EQ(Cfg("LOCK").index, 1);
    EXPECT_EQ(Main("DIGIT").index, 0);
    EXPECT_FALSE(Cfg("LOCK").dimmed);
    EXPECT_FALSE(Cfg("RTU").dimmed);
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(Cfg("FILT").textBgColor, conf::kColorNormal);
    // The menu item reads all too; Enter on the button sends nothing.
    int bar = rt.GetPanelMenuBar(ctx.gvMain);
    rt.UserMenuSelect(bar, rt.FindMenuItem(bar, "READ_DEV"));
    EXPECT_EQ(Requests(), ReadAllRequests(31));
    rt.UserKeyPress(ctx.gvMain, Id(ctx.gvMain, "READ"), ui::VAL_ENTER_VKEY);
    EXPECT_TRUE(Requests().empty());
    // Values out of range are marked after the read.
    Put(21, 20000);  // A2SP beyond the display range
    PressRead();
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(Cfg("A2SP").textBgColor, conf::kColorOutOfRange);
    EXPECT_EQ(Cfg("A1SP").textBgColor, conf::kColorNormal);
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelLinSig), 5);
}

TEST_F(TransferTest, FirmwareOneReadsTwentyNineRegistersAndKeepsFrameFormatAndLock) {
    StartWith(104, 1);
    rt.SetCtrlIndex(ctx.gvCFG, Id(ctx.gvCFG, "LOCK"), 1);
    rt.SetCtrlIndex(ctx.gvCFG, Id(ctx.gvCFG, "RTU"), 3);
    Put(8, 21);
    Requests();
    EXPECT_EQ(PressRead(), 0);
    EXPECT_EQ(Requests(), ReadAllRequests(29));
    EXPECT_EQ(Cfg("FILT").number, 21);
    EXPECT_EQ(Cfg("LOCK").index, 1);
    EXPECT_EQ(Cfg("RTU").index, 3);
    EXPECT_TRUE(Cfg("LOCK").dimmed);
    EXPECT_TRUE(Cfg("RTU").dimmed);
    EXPECT_EQ(Cfg("DEVINFO_FW").text, "V01");
    EXPECT_EQ(Status(), "Read OK");
    // Firmware 0 is read as firmware 1.
    for (int fw : {0, 1, 2, 9})
        EXPECT_EQ(conf::fn_Para_Block_Length(ctx, fw), fw < 2 ? 29 : 31) << fw;
}

// Nothing is read or written after the check: not the parameters, not the production commands.
TEST_F(TransferTest, AForeignModelCodeStopsEveryCommandAfterTheDeviceCheck) {
    StartWith(0x6B, 3);
    EXPECT_EQ(Status(), "H/W not match");
    EXPECT_EQ(conf::DevInfo2::fr_Modbus_to_GUI(ctx), -1);
    EXPECT_NE(Log().find("===== HW code not match\n"), std::string::npos);
    rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "FILT"), 123);
    Requests();
    PressRead();
    EXPECT_EQ(Requests(), std::vector<Bytes>{kDevInfoRequest});
    EXPECT_EQ(ctx.gr, -1);
    EXPECT_EQ(ctx.gvHW, 0x6B);
    EXPECT_EQ(Status(), "H/W not match");
    EXPECT_EQ(StatusColour(), 0xFF0000);
    EXPECT_EQ(Cfg("DEVINFO_PRODUCT").text, "0x6b");
    EXPECT_EQ(Cfg("DEVINFO_HW").text, "0x6b");
    EXPECT_EQ(Cfg("DEVINFO_FW").text, "V03");
    EXPECT_EQ(Cfg("FILT").number, 123);

    EXPECT_EQ(rt.UserPress(ctx.gvMain, Id(ctx.gvMain, "AGENT_WRITE")), -1);
    EXPECT_EQ(Requests(), std::vector<Bytes>{kDevInfoRequest});
    EXPECT_EQ(Status(), "H/W not match");
    ASSERT_EQ(rt.UserSelectTab(ctx.gvMain, Id(ctx.gvMain, "TAB"), 1), 0);
    EXPECT_EQ(rt.UserPress(ctx.gvCAL, Id(ctx.gvCAL, "SN_B")), -1);
    EXPECT_EQ(Requests(), std::vector<Bytes>{kDevInfoRequest});
    EXPECT_EQ(Status(), "H/W not match");
    EXPECT_EQ(Cal("SN_NO").number, 1);
}

// A failed read at each stage: "Read NG" in red, what came before stays applied, nothing
// after it is read.
struct Stage {
    const char* name;
    int silentFrom;  // the request that goes unanswered
    int hw, digit, filt, rs485;
};

void PrintTo(const Stage& s, std::ostream* os) {
    *os << s.name;
}

class ReadFailure : public TransferTest, public ::testing::WithParamInterface<Stage> {};

TEST_P(ReadFailure, KeepsWhatCameBeforeAndReadsNothingAfter) {
    StartWith(104, 2);
    // New values in the instrument, old ones on the pages.
    Put(8, 42);
    Put(0x1F04, 0x4600);  // display digits: the code and the index
    Put(0x001F, 0);
    rt.SetCtrlVal(ctx.gvCAL, Id(ctx.gvCAL, "SN_READ"), "before");
    Requests();
    const Stage& s = GetParam();
    SilenceFrom(s.silentFrom);
    EXPECT_LT(PressRead(), 1);
    EXPECT_LT(ctx.gr, 0);
    EXPECT_EQ(Status(), "Read NG");
    EXPECT_EQ(StatusColour(), 0xFF0000);
    const std::vector<Bytes> all = ReadAllRequests(31);
    std::vector<Bytes> expected(all.begin(), all.begin() + s.silentFrom);
    expected.insert(expected.end(), 3, all[static_cast<std::size_t>(s.silentFrom)]);
    EXPECT_EQ(Requests(), expected);
    EXPECT_EQ(ctx.gvHW, s.hw);
    EXPECT_EQ(ctx.gvFW, 2);
    EXPECT_EQ(Cfg("DEVINFO_PRODUCT").text, "Tarnel");
    EXPECT_EQ(Main("DIGIT").index, s.digit);
    EXPECT_EQ(Cfg("FILT").number, s.filt);
    EXPECT_EQ(Main("RS485").state, s.rs485);
    EXPECT_EQ(Cal("SN_READ").text, "before");
}

INSTANTIATE_TEST_SUITE_P(Stages, ReadFailure,
                         ::testing::Values(Stage{"DeviceCheck", 0, 255, 1, 5, 1},
                                           Stage{"DisplaySetup", 1, 104, 1, 5, 1},
                                           Stage{"ParameterBlock", 2, 104, 0, 5, 1},
                                           Stage{"Rs485Setting", 3, 104, 0, 42, 1},
                                           Stage{"SerialNumber", 4, 104, 0, 42, 0}),
                         [](const ::testing::TestParamInfo<Stage>& p) { return p.param.name; });

}  // namespace
