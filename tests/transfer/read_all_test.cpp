// The device check and read-all against the simulated instrument, both models: the requests on
// the wire, the page values, the status line, what stays when a read fails part-way, the
// device block's texts and file form, and two configurators of two models in one process.

#include <gtest/gtest.h>

#include "core/selector.h"
#include "models/model.h"
#include "tests/support/fixtures.h"
#include "transfer/config_block.h"
#include "transfer/dev_info.h"
#include "transfer/read_all.h"
#include "transfer/serial_read.h"
#include "transfer/write_all.h"

namespace {

using transfertest::Bytes;
using transfertest::kDevInfoRequest;
using transfertest::Read;
using transfertest::TransferTest;
using transfertest::Write;

// The requests of a complete model A read-all with a block of `count` registers.
std::vector<Bytes> ReadAllRequests(int count = 31) {
    return {kDevInfoRequest, Read(0x1F04, 2), Read(0x0000, count), Read(0x001F, 1),
            Read(0x1F02, 2)};
}

// A Quillet: a Tarnel under another code.
TEST_F(TransferTest, StartUpReadsAllAndShowsTheInstrumentsValues) {
    StartWith(106, 2);
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(StatusColour(), 0x008000);
    EXPECT_EQ(ctx.gr, 0);
    EXPECT_EQ(ctx.gvHW, 106);
    EXPECT_EQ(Cfg("DEVINFO_PRODUCT").text, "Quillet (Tarnel)");
    EXPECT_EQ(Cfg("DEVINFO_FW").text, "V02");
    // The low half 0xFE01 has its top bit set: it must not spill into the high half.
    EXPECT_EQ(Cfg("DEVINFO_SN").text, "1305280001");
    // The parameter pages are checked whole by the parameter file tests, which save them.
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
    // Firmware 2 reads 31 registers, by button or menu, and keeps frame format and lock usable.
    Put(8, 17);           // FILT
    Put(30, 1);           // LOCK
    Put(0x1F04, 0x4600);  // display digits: the code and the index
    Requests();
    EXPECT_EQ(PressRead(), 0);
    EXPECT_EQ(Requests(), ReadAllRequests());
    EXPECT_EQ(Cfg("FILT").number, 17);
    EXPECT_EQ(Cfg("LOCK").index, 1);
    EXPECT_EQ(Main("DIGIT").index, 0);
    EXPECT_FALSE(Cfg("LOCK").dimmed);
    EXPECT_FALSE(Cfg("RTU").dimmed);
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(Cfg("FILT").textBgColor, conf::kColorNormal);
    // The menu item reads all too; Enter on the button sends nothing.
    Menu("READ_DEV");
    EXPECT_EQ(Requests(), ReadAllRequests());
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

// Firmware 1 dims frame format and lock and reads 29 registers, keeping those two settings.
TEST_F(TransferTest, FirmwareOneReadsTwentyNineRegistersAndKeepsFrameFormatAndLock) {
    StartWith(104, 1, 1234);
    EXPECT_EQ(Cfg("DEVINFO_PRODUCT").text, "Tarnel");
    EXPECT_EQ(Cfg("DEVINFO_HW").text, "Tarnel");
    EXPECT_EQ(Cfg("DEVINFO_FW").text, "V01");
    EXPECT_EQ(Cfg("DEVINFO_SN").text, "0000001234");
    SetCfgIndex("LOCK", 1);
    SetCfgIndex("RTU", 3);
    Put(8, 21);
    Requests();
    EXPECT_EQ(PressRead(), 0);
    EXPECT_EQ(Requests(), ReadAllRequests(29));
    EXPECT_EQ(Cfg("FILT").number, 21);
    EXPECT_EQ(Cfg("LOCK").index, 1);
    EXPECT_EQ(Cfg("RTU").index, 3);
    EXPECT_TRUE(Cfg("LOCK").dimmed);
    EXPECT_TRUE(Cfg("RTU").dimmed);
    EXPECT_EQ(Status(), "Read OK");
    // Firmware 0 is read as firmware 1.
    for (int fw : {0, 1, 2, 9})
        EXPECT_EQ(conf::fn_Para_Block_Length(ctx, fw), fw < 2 ? 29 : 31) << fw;
}

TEST(DevInfoTexts, TextsAtTheirEndsAndUnpackingTakesSixteenBitsOfEachWord) {
    // Product codes, known or not, are shown by the start-up tests.
    EXPECT_EQ(conf::fn_DevInfo_Firmware_Text(0xAB), "VAB");
    EXPECT_EQ(conf::fn_DevInfo_Serial_Text(4294967295u), "4294967295");
    EXPECT_EQ(conf::fn_SN_Read_Text(0), "00     00    00       0000");
    conf::DevInfo r;
    // 0xFF01: code 255, firmware 1; serial 0x4DCC:0xFE01.
    conf::DevInfo2::RAM_dev_to_gui({-255, 0, 0x4DCC, -511}, &r);
    EXPECT_EQ(std::tuple(r.hw, r.fw, r.serial), std::tuple(255, 1, 1305280001u));
}

// A serial number beyond 31 bits as read at start-up, and the device block's file form.
TEST_F(TransferTest, SerialReadBackShowsTheNumberAndTheBlocksFileFormRoundTrips) {
    StartWith(104, 2, 4212319999u);
    EXPECT_EQ(Cal("SN_READ").text, "42     12    31       9999");
    // The block's file form round-trips and refuses short files.
    const conf::DevInfoWords words{0x6802, 0, 0x4DCC, -511};
    ASSERT_EQ(conf::DevInfo2::to_FILE(ctx, "devinfo.txt", words), 0);
    EXPECT_EQ(Slurp("devinfo.txt"), "6802\n0000\n4dcc\nfe01\n");
    conf::DevInfoWords back{};
    EXPECT_EQ(conf::DevInfo2::fr_FILE(ctx, "devinfo.txt", &back), 0);
    EXPECT_EQ(back, words);

    std::ofstream("short.txt") << "6802\n0000\n";
    conf::DevInfoWords kept{1, 2, 3, 4};
    EXPECT_EQ(conf::DevInfo2::fr_FILE(ctx, "short.txt", &kept), -1);
    EXPECT_EQ(kept, (conf::DevInfoWords{1, 2, 3, 4}));

    EXPECT_EQ(conf::DevInfo2::fr_FILE(ctx, "missing.txt", &kept), -1);
    ASSERT_FALSE(fe.Popups().empty());
    EXPECT_EQ(fe.Popups().back().title, "");
    EXPECT_EQ(fe.Popups().back().text, "DevInfo 2 : Open file NG missing.txt");
    EXPECT_EQ(conf::DevInfo2::to_FILE(ctx, "no/such/dir/f.txt", words), -1);
}

// Nothing is read or written after the check: not the parameters, not the production commands.
TEST_F(TransferTest, AForeignModelCodeStopsEveryCommandAfterTheDeviceCheck) {
    StartWith(0x6B, 3);
    EXPECT_EQ(Status(), "H/W not match");
    EXPECT_EQ(conf::DevInfo2::fr_Modbus_to_GUI(ctx), -1);
    EXPECT_NE(Log().find("===== HW code not match\n"), std::string::npos);
    rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "FILT"), 123);
    ASSERT_EQ(rt.UserSelectTab(ctx.gvMain, Id(ctx.gvMain, "TAB"), 1), 0);
    Requests();
    // Each command's button, and what its press returns (the buttons of the whole set report
    // through the context's result alone).
    const std::tuple<int, const char*, int> commands[] = {{ctx.gvMain, "READ", 0},
                                                          {ctx.gvMain, "WRITE", 0},
                                                          {ctx.gvMain, "AGENT_WRITE", -1},
                                                          {ctx.gvCAL, "SN_B", -1}};
    for (const auto& [panel, button, result] : commands) {
        SCOPED_TRACE(button);
        ctx.gr = 0;
        EXPECT_EQ(rt.UserPress(panel, Id(panel, button)), result);
        EXPECT_EQ(ctx.gr, -1);
        EXPECT_EQ(Requests(), std::vector<Bytes>{kDevInfoRequest});
        EXPECT_EQ(Status(), "H/W not match");
        EXPECT_EQ(StatusColour(), 0xFF0000);
    }
    EXPECT_EQ(ctx.gvHW, 0x6B);
    EXPECT_EQ(Cfg("DEVINFO_PRODUCT").text, "0x6b");
    EXPECT_EQ(Cfg("DEVINFO_HW").text, "0x6b");
    EXPECT_EQ(Cfg("DEVINFO_FW").text, "V03");
    EXPECT_EQ(Cfg("FILT").number, 123);
    EXPECT_EQ(Cal("SN_NO").number, 1);
}

// A failed read at each stage: "Read NG" in red, what came before stays applied, nothing
// after it is read.
struct Stage {
    const char* name;
    int silentFrom;  // the request that goes unanswered
    int hw, digit, filt, rs485;
};

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
    const std::vector<Bytes> all = ReadAllRequests();
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
                         [](const auto& p) { return p.param.name; });

// Model B on each code of its family it accepts, at either end of the firmware versions.
struct Instrument {
    int code, firmware;
    const char* product;
};

class OmbrelStart : public TransferTest, public ::testing::WithParamInterface<Instrument> {
  protected:
    OmbrelStart() : TransferTest(conf::ModelB()) {}
};

TEST_P(OmbrelStart, RecoversTheLinkAndReadsAllBeforeThePanelShows) {
    StartWith(GetParam().code, GetParam().firmware);
    ASSERT_EQ(ctx.gvHW, GetParam().code);
    // The recovery block, the link settings back to what the program uses, then the read-all:
    // device check, serial number, display setup, polarity, the 16-bit block, nine 32-bit values
    // (18 registers), the RS-485 switch.
    EXPECT_EQ(Requests(), (std::vector<Bytes>{Read(0x100C, 3), Write(5, 13, 1), Write(5, 14, 3),
                                              Write(5, 29, 1), Read(0x1F00, 4), Read(0x1F02, 2),
                                              Read(0x1F04, 2), Read(0x0A08, 1), Read(0x0000, 31),
                                              Read(0x1001, 18), Read(0x0020, 1)}));
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(StatusColour(), 0x008000);
    EXPECT_EQ(Cfg("DEVINFO_PRODUCT").text, GetParam().product);
    // No firmware condition: the frame format and lock stay usable.
    EXPECT_FALSE(Cfg("RTU").dimmed);
    EXPECT_FALSE(Cfg("LOCK").dimmed);
    EXPECT_EQ(Cfg("TYPE_2").state, 1);  // mA
    EXPECT_EQ(Cfg("DP").index, 1);
    // 32-bit values with the decimal point.
    EXPECT_EQ((std::vector<double>{Cfg("HILT").number, Cfg("A1SP").number, Cfg("A2SP").number,
                                   Cfg("A1HY").number, Cfg("SCA_H").number}),
              (std::vector<double>{1000, 800, 200, 1, 1000}));
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

INSTANTIATE_TEST_SUITE_P(Codes, OmbrelStart,
                         ::testing::Values(Instrument{105, 1, "Ombrel"},
                                           Instrument{107, 3, "Pardine (Ombrel)"}),
                         [](const auto& p) { return "Code" + std::to_string(p.param.code); });

// Model A's map with alarm 1's set point and hysteresis and alarm 2's set point as 32-bit
// values from 0x1005, accepting the codes of the model B instrument it is tried on, and another
// recovery block.
struct WideModel {
    WideModel() {
        // Model A's registers there (a second value and the status bits) give way.
        for (const conf::RegisterRecord& r : conf::ModelA().registers)
            if (r.address < 0x1005 || r.address > 0x1007) registers.push_back(r);
        registers.push_back({0x1005, 32, "A1SP", conf::Module::kAxSP, 0, conf::FollowUp::kNone});
        registers.push_back({0x1006, 32, "A1HY", conf::Module::kAxHY, 0, conf::FollowUp::kNone});
        registers.push_back({0x1007, 32, "A2SP", conf::Module::kAxSP, 1, conf::FollowUp::kNone});
        model.id.programNumber = 105;
        model.id.codes = codes;
        model.registers = registers;
        model.read.block32Address = 0x1005;
        model.read.block32Count = 3;
        model.recovery = {.address = 0x100C, .count = 3, .idWord = 0, .brWord = 1, .rtuWord = 2};
        model.transactions = {.wait32 = false, .logYNLine = false};
    }
    std::vector<conf::RegisterRecord> registers;
    const conf::ModelCode codes[1] = {{105, "Ombrel"}};
    conf::Model model = conf::ModelA();
};

// The second program: its own runtime, line and instrument.
struct SecondProgram : conf_test::Configurator {
    explicit SecondProgram(const conf::Model& model) : Configurator(model) {
        conf::RegisterCallbacks(ctx, registry);
        AttachSim(sim::DefaultConfig(sim::Model::kB));
    }
};

// Two configurators in one process, each running its own plans on its own line.
TEST_F(TransferTest, TwoContextsOfTwoModelsEachRunTheirOwnPlans) {
    const WideModel wide;
    StartWith(104, 2);
    SecondProgram second(wide.model);
    ASSERT_EQ(conf::MainPanel::init(second.ctx), 0) << second.rt.LastError();

    // Start-up of the second: its own recovery block, then read-all with its 32-bit block.
    EXPECT_EQ(second.Requests().at(0), Read(0x100C, 3));
    EXPECT_EQ(second.ctx.gvHW, 105);
    EXPECT_EQ(second.ctx.gr, 0);

    // One read-all each, interleaved: each line sees only its own plan.
    Requests();
    EXPECT_EQ(PressRead(), 0);
    EXPECT_EQ(conf::Para_Fr_Dev::onClick(second.ctx), 0);
    EXPECT_EQ(Requests(), ReadAllRequests());
    EXPECT_EQ(second.Requests(),
              (std::vector<Bytes>{kDevInfoRequest, Read(0x1F04, 2), Read(0x0000, 31),
                                  Read(0x1005, 6), Read(0x001F, 1), Read(0x1F02, 2)}));

    // The 32-bit values reached the second program's alarm controls, not the first's.
    EXPECT_EQ(conf::fn_Para_Block_Value(second.ctx, 0x1005), second.Ram(0x1005));
    EXPECT_EQ(conf::fn_Para_Block_Value(second.ctx, 0x1007), second.Ram(0x1007));
    EXPECT_EQ(conf::fn_Para_Block_Value(ctx, 0x1005), 0);  // model A has no such parameter
    EXPECT_EQ(conf::fn_Para_Block_Value(ctx, 17), Ram(17));
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(second.Status(), "Read OK");
    EXPECT_EQ(ctx.Source("__UART"), "m104__UART");
    EXPECT_EQ(second.ctx.Source("__UART"), "m105__UART");
    // The configuration block has a way to the page for every parameter register of the map,
    // and none for the registers outside it.
    for (const conf::RegisterRecord& r : conf::ModelA().registers)
        EXPECT_EQ(conf::fn_Para_to_GUI(ctx, r.address, conf::fn_Para_Block_Value(ctx, r.address)),
                  conf::IsParameterModule(r.module) ? 0 : -1)
            << r.name;
}

}  // namespace
