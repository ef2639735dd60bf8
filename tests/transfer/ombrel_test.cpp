// Ombrel against the simulated model B instrument: start-up, read-all with its 32-bit block,
// write-all with its two buffer files, parameter files, polarity and the remote value, and the
// model's own ranges and captions.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/selector.h"
#include "models/model_b.h"
#include "monitor/remote_value.h"
#include "params/input.h"
#include "params/linear.h"
#include "params/main_panel.h"
#include "params/polarity.h"
#include "params/rules.h"
#include "tests/support/fixtures.h"
#include "transfer/param_file.h"
#include "transfer/polarity.h"
#include "transfer/write_all.h"

namespace {

using transfertest::Bytes;
using transfertest::Read;
using transfertest::Sealed;
using transfertest::Write;

// One 32-bit value written with code 16: two registers, four bytes, high word first.
Bytes Write32(int address, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    return Sealed({0x01, 0x10, static_cast<std::uint8_t>(address >> 8),
                   static_cast<std::uint8_t>(address & 0xFF), 0x00, 0x02, 0x04,
                   static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                   static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
}

// Device check, serial number, display setup, polarity, the 16-bit block, nine 32-bit values
// (18 registers), the RS-485 switch.
const std::vector<Bytes> kReadAll{Read(0x1F00, 4), Read(0x1F02, 2),  Read(0x1F04, 2),
                                  Read(0x0A08, 1), Read(0x0000, 31), Read(0x1001, 18),
                                  Read(0x0020, 1)};

// The instrument's defaults in the two buffer files.
const std::string kBuffer16 =
    "0000\t       2\tTYPE\n0002\t       1\tDP\n0008\t       5\tFILT\n0009\t       0\tDIR\n"
    "000a\t       0\tCUT\n000f\t       1\tA1FU\n0013\t       2\tA2FU\n0010\t       0\tA1MD\n"
    "0014\t       0\tA2MD\n0017\t       0\tmV.L\n0018\t    5000\tmV.H\n0019\t       0\tV.L\n"
    "001a\t    1000\tV.H\n001b\t     400\tmA.L\n001c\t    2000\tmA.H\n001e\t       0\tLOCK\n";
const std::string kBuffer32 =
    "1001\t       0\tLOLT\n1002\t   10000\tHILT\n1003\t       0\tSCAL\n1004\t   10000\tSCAH\n"
    "1005\t    8000\tA1SP\n1007\t    2000\tA2SP\n1006\t      10\tA1HY\n1008\t      10\tA2HY\n"
    "1009\t       0\tPVOF\n";

std::vector<std::string> Labels(const ui::Control& ring) {
    std::vector<std::string> out;
    for (const ui::ListItem& item : ring.items)
        out.push_back(item.label);
    return out;
}

class OmbrelTest : public transfertest::TransferTest {
  protected:
    OmbrelTest() : TransferTest(conf::ModelB()) {}
    void Start(int firmware = 3, int code = 105) {
        StartWith(code, firmware);
        ASSERT_EQ(ctx.gvHW, code);
    }
    // Write-all's device check, link settings, then the buffer files' lines.
    std::vector<Bytes> WriteAllRequests(const std::string& buffer16, const std::string& buffer32) {
        std::vector<Bytes> out{Read(0x1F00, 4), Write(5, 13, 1), Write(5, 14, 3), Write(5, 29, 1)};
        std::istringstream in16(buffer16);
        std::string address, name;
        int value = 0;
        while (in16 >> address >> value >> name) {
            const int a = std::stoi(address, nullptr, 16);
            out.push_back(Write(a == 30 ? 6 : 5, a, value));
        }
        std::istringstream in32(buffer32);
        while (in32 >> address >> value >> name)
            out.push_back(Write32(std::stoi(address, nullptr, 16), value));
        return out;
    }
};

class OmbrelFirmware : public OmbrelTest, public ::testing::WithParamInterface<int> {};

TEST_P(OmbrelFirmware, StartUpRecoversTheLinkAndReadsAllBeforeThePanelShows) {
    Start(GetParam());
    std::vector<Bytes> expected{Read(0x100C, 3), Write(5, 13, 1), Write(5, 14, 3), Write(5, 29, 1)};
    expected.insert(expected.end(), kReadAll.begin(), kReadAll.end());
    EXPECT_EQ(Requests(), expected);
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(StatusColour(), 0x008000);
    EXPECT_EQ(Cfg("DEVINFO_PRODUCT").text, "Ombrel");
    // No firmware condition: the frame format and lock stay usable.
    EXPECT_FALSE(Cfg("RTU").dimmed);
    EXPECT_FALSE(Cfg("LOCK").dimmed);
    EXPECT_EQ(Cfg("TYPE_2").state, 1);  // mA
    EXPECT_EQ(Cfg("DP").index, 1);
    EXPECT_EQ(Cfg("HILT").number, 1000.0);
    EXPECT_EQ(Cfg("A1SP").number, 800.0);
    EXPECT_EQ(Cfg("A2SP").number, 200.0);
    EXPECT_EQ(Cfg("A1HY").number, 1.0);
    EXPECT_EQ(Cfg("SCA_H").number, 1000.0);
    EXPECT_NEAR(Cfg("MA_H").number, 20.0, 1e-6);
    EXPECT_EQ(Main("RS485").state, 1);
    EXPECT_EQ(Cal("POLAR").index, 0);
    const std::string log = Log();
    // No "gvLogYN" line in this model's log start.
    EXPECT_EQ(log.find("gvLogYN"), std::string::npos);
    // Each 32-bit value is traced at its own address.
    for (const char* line : {"Modbus r 16-bit Parameter of Dev 31 words \n",
                             "Modbus r 32-bit Parameter of Dev 9 Dwords \n",
                             "<1001>\t[0000]\t      0   \tLOLT\n<1002>\t[2710]\t  10000   \tHILT\n",
                             "<1009>\t[0000]\t      0   \tPVOF\n", "Modbus r RS485 ON/OFF: 1 \n"})
        EXPECT_NE(log.find(line), std::string::npos) << line;
}

INSTANTIATE_TEST_SUITE_P(Firmware, OmbrelFirmware, ::testing::Values(1, 3),
                         [](const ::testing::TestParamInfo<int>& param) {
                             return "Fw" + std::to_string(param.param);
                         });

TEST_F(OmbrelTest, AModelACodeIsRefused) {
    StartWith(104, 2);
    EXPECT_EQ(Status(), "H/W not match");
    EXPECT_EQ(StatusColour(), 0xFF0000);
    EXPECT_EQ(Cfg("DEVINFO_PRODUCT").text, "0x68");
    Requests();
    EXPECT_LT(conf::Para_To_Dev::onClick(ctx), 0);
    EXPECT_EQ(Requests(), (std::vector<Bytes>{Read(0x1F00, 4)}));
}

TEST_F(OmbrelTest, ThePardineCodeIsAccepted) {
    Start(3, 107);
    EXPECT_EQ(Cfg("DEVINFO_PRODUCT").text, "Pardine (Ombrel)");
    EXPECT_EQ(Status(), "Read OK");
}

TEST_F(OmbrelTest, WriteAllSendsLinkSettingsThenBothBufferFiles) {
    Start();
    Requests();
    EXPECT_EQ(conf::Para_To_Dev::onClick(ctx), 0);
    EXPECT_EQ(Status(), "Write OK");
    EXPECT_EQ(Slurp("W_para_buff_16.txt"), kBuffer16);
    EXPECT_EQ(Slurp("W_para_buff_32.txt"), kBuffer32);
    EXPECT_EQ(Requests(), WriteAllRequests(kBuffer16, kBuffer32));
    const std::string log = LogFrom("=================Write Parameter=================\n");
    EXPECT_NE(log.find("Modbus w 16-bit Parameter to Dev \n\t\t\t(1) TYPE = 2 \n"),
              std::string::npos);
    EXPECT_NE(log.find("Modbus w 32-bit Parameter to Dev \n\t\t\t(1) LOLT = 0 \n"),
              std::string::npos);
    // The 32-bit values reached the instrument; a changed one travels through the buffer.
    EXPECT_EQ(Ram(0x1005), 8000);
    rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "A2SP"), 123.4);
    EXPECT_EQ(conf::Para_To_Dev::onClick(ctx), 0);
    EXPECT_EQ(Ram(0x1007), 1234);
}

TEST_F(OmbrelTest, AFailedOrBlockedWriteStopsWithoutARead) {
    Start();
    Requests();
    SilenceFrom(6);  // the device check, three link writes, two list lines, then silence
    EXPECT_LT(conf::Para_To_Dev::onClick(ctx), 0);
    EXPECT_EQ(Status(), "Write NG");
    const std::vector<Bytes> seen = Requests();
    // Three attempts at the seventh request, and no read-all after them.
    ASSERT_EQ(seen.size(), 9u);
    EXPECT_EQ(seen.back(), seen[6]);
    EXPECT_EQ(seen[6], Write(5, 8, 5));
    // An out-of-range value blocks the write without a status message.
    inst->ClearFaults();
    rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "FILT"), 5000);
    Requests();
    EXPECT_LT(conf::Para_To_Dev::onClick(ctx), 0);
    EXPECT_EQ(Requests(), (std::vector<Bytes>{Read(0x1F00, 4)}));
    EXPECT_EQ(Status(), "Reading");  // the device check's, and nothing after it
    EXPECT_EQ(Cfg("FILT").textBgColor, 0xFF0000);
}

// The 32-bit list cannot be written (a full disk): the 16-bit list went out, the 32-bit one
// does not, and the report tells it from a file that cannot be created.
TEST_F(OmbrelTest, ABufferFileThatCannotBeWrittenStopsTheWriteWithItsOwnReport) {
    Start();
    std::filesystem::create_symlink("/dev/full", "W_para_buff_32.txt");
    Requests();
    fe.ClearPopups();
    EXPECT_EQ(conf::Para_To_Dev::onClick(ctx), -1);
    EXPECT_EQ(Requests(), WriteAllRequests(kBuffer16, ""));
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].title, "m105___main :: 1232977");
    EXPECT_EQ(fe.Popups()[0].text, "write file NG :: W_para_buff_32.txt");
}

TEST_F(OmbrelTest, ParameterFilesHoldThirtyOneLinesLoadBackAndRefuseWhatNoControlCanHold) {
    Start();
    const std::string path = (root_ / "ParameterFile" / "b.txt").string();
    std::filesystem::create_directories(root_ / "ParameterFile");
    fe.AnswerFile(ui::VAL_NEW_FILE_SELECTED, path);
    EXPECT_EQ(Menu("SAVE_FILE"), 0);
    const std::string file = Slurp(path);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 31);
    EXPECT_TRUE(file.ends_with('\n'));
    EXPECT_EQ(file.substr(0, 10), "1f00\t105\n0");
    EXPECT_NE(file.find("\n1002\t10000\n"), std::string::npos);
    EXPECT_EQ(file.find("ffff"), std::string::npos);  // no terminator line

    // Changed on the page, then loaded back from the file.
    rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "HILT"), 5.0);
    fe.AnswerFile(ui::VAL_EXISTING_FILE_SELECTED, path);
    EXPECT_EQ(Menu("LOAD_FILE"), 0);
    EXPECT_EQ(Cfg("HILT").number, 1000.0);
    EXPECT_EQ(Status(), "Parameter load OK") << LogFrom("Parameter");
    EXPECT_EQ(StatusColour(), 0x008000);

    // A model A file is refused.
    auto load = [&](const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
        fe.AnswerFile(ui::VAL_EXISTING_FILE_SELECTED, path);
        return Menu("LOAD_FILE");
    };
    EXPECT_EQ(load("1f00\t104\n0000\t1\nffff\t0\n"), 0);
    EXPECT_EQ(Status(), "HW not match");
    EXPECT_EQ(StatusColour(), 0xFF0000);

    // A value no control can hold refuses the whole file (in red, as this model's refusals are)
    // and names the line; a 32-bit value is held whole, out of range or not.
    const struct {
        std::string line;
        const char* logged;
    } bad[] = {
        {"0000\t3\n", "TYPE 3"}, {"0009\t7\n", "DIR 7"},          {"0002\t6\n", "DP 6"},
        {"001e\t3\n", "LOCK 3"}, {"0008\t40000\n", "FILT 40000"}, {"000d\t-40000\n", "ID -40000"},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(b.line);
        Requests();
        EXPECT_EQ(load("1f00\t105\n0002\t2\n0008\t17\n" + b.line + "1002\t5000\n"), 0);
        EXPECT_EQ(Status(), "File format error");
        EXPECT_EQ(StatusColour(), 0xFF0000);
        EXPECT_TRUE(Requests().empty());
        EXPECT_EQ(Cfg("FILT").number, 5);
        EXPECT_EQ(Cfg("DP").index, 1);
        EXPECT_EQ(Cfg("HILT").number, 1000.0);
        EXPECT_EQ(conf::TYPE_cfg::GV(ctx), 2);
        EXPECT_EQ(conf::DIR_cfg::GV(ctx), 0);
        EXPECT_EQ(LogFrom("Parameter file: "), std::string("Parameter file: line 4: ") + b.logged +
                                                   " is not a value its control can hold\n");
    }

    EXPECT_EQ(load("1f00\t105\n0002\t0\n0008\t32767\n1002\t2000000\n1001\t-2000000\n"), 0);
    EXPECT_EQ(Status(), "Parameter load OK");
    EXPECT_EQ(Cfg("HILT").number, 2000000.0);
    EXPECT_EQ(Cfg("LOLT").number, -2000000.0);
    EXPECT_EQ(Cfg("HILT").textBgColor, 0xFF0000);
    EXPECT_EQ(Cfg("FILT").number, 32767);
}

TEST_F(OmbrelTest, PolarityRemoteValueAndRsSwitchWriteTheirOwnRegisters) {
    Start();
    Requests();
    rt.UserSelectTab(ctx.gvMain, Id(ctx.gvMain, "TAB"), 1);
    EXPECT_EQ(rt.UserSelectIndex(ctx.gvCAL, Id(ctx.gvCAL, "POLAR"), 1), 0);
    EXPECT_EQ(Requests(),
              (std::vector<Bytes>{Read(0x1F00, 4), Write(6, 0x0A08, 1), Read(0x0A08, 1)}));
    EXPECT_EQ(Stored(0x0A08), 1);
    EXPECT_EQ(Cal("POLAR").index, 1);
    EXPECT_EQ(Status(), "Write OK");
    // The remote value is one 32-bit write.
    rt.SetCtrlVal(ctx.gvMain, Id(ctx.gvMain, "RSP"), 123.4);
    EXPECT_EQ(conf::RSP::to_Modbus(ctx), 0);
    EXPECT_EQ(Requests(), (std::vector<Bytes>{Write32(0x1000, 1234)}));
    EXPECT_EQ(Status(), "Write OK");
    EXPECT_NE(Log().find("Modbus w RSP = 1234 \n"), std::string::npos);
    EXPECT_FALSE(Main("RSP").dimmed);  // no input type dims it in this model
    // The RS-485 switch is register 32.
    rt.UserToggle(ctx.gvMain, Id(ctx.gvMain, "RS485"));
    EXPECT_EQ(Requests(), (std::vector<Bytes>{Write(6, 0x0020, 0)}));
}

TEST_F(OmbrelTest, DecimalPointRangeAndCaptionsFollowTheDisplayDigits) {
    Start();
    int low = 0, high = 0;
    conf::DIGIT_cfg::SI(ctx, 0);
    conf::fn_Affect_by_DIGIT(ctx);
    conf::DP_cfg::Query_Range(ctx, &low, &high);
    EXPECT_EQ(high, 4);
    EXPECT_EQ(Labels(Cfg("DP")),
              (std::vector<std::string>{"00000.", "0000.0", "000.00", "00.000", "0.0000", "----"}));
    EXPECT_EQ(Cfg("DRNG_L").number, -19999);
    EXPECT_EQ(Cfg("DRNG_H").number, 99999);
    conf::DIGIT_cfg::SI(ctx, 1);
    conf::fn_Affect_by_DIGIT(ctx);
    conf::DP_cfg::Query_Range(ctx, &low, &high);
    EXPECT_EQ(high, 5);
    EXPECT_EQ(Labels(Cfg("DP")), (std::vector<std::string>{"000000.", "00000.0", "0000.00",
                                                           "000.000", "00.0000", "0.00000"}));
    // The rated range is the display range; the offset range 5 % of its span, rounded up.
    conf::fn_Affect_by_TYPE_UNIT_DP_DIGIT(ctx);
    EXPECT_NEAR(Cfg("MRNG_RAT_L").number, -19999.9, 1e-3);
    EXPECT_NEAR(Cfg("PVOF_RAT_H").number, 6000.0, 1e-3);
    // Linear rows are hundredths whatever the digits.
    for (int digit : {0, 1}) {
        conf::DIGIT_cfg::SI(ctx, digit);
        conf::fn_Affect_by_DIGIT(ctx);
        SetField(ctx.gsRAM01, conf::kSelLinSig, 5);
        rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "MA_H"), 12.34);
        EXPECT_EQ(conf::LinSig_cfg::GV(ctx), 1234) << digit;
        conf::LinSig_cfg::SV(ctx, 2000);
        EXPECT_NEAR(Cfg("MA_H").number, 20.0, 1e-6) << digit;
    }
    // Entries beyond the signal's reach are confined to 66.00.
    rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "MA_H"), 99.0);
    EXPECT_EQ(conf::LinSig_cfg::GV(ctx), 6600);
}

}  // namespace
