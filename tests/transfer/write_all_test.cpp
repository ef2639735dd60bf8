// Write-all against the simulated instrument: the requests on the wire with their line
// settings, the buffer file, the range check that blocks the write, the read that follows a
// failed write, the counter, and what the instrument keeps over a power cycle.

#include <gtest/gtest.h>

#include <filesystem>

#include "params/input104.h"
#include "params/locator.h"
#include "transfer/write_all.h"
#include "transfer_fixture.h"

namespace {

using transfertest::Bytes;
using transfertest::Sealed;
using transfertest::TransferTest;

Bytes Request(int station, int code, int address, int word) {
    return Sealed(
        {static_cast<std::uint8_t>(station), static_cast<std::uint8_t>(code),
         static_cast<std::uint8_t>(address >> 8 & 0xFF), static_cast<std::uint8_t>(address & 0xFF),
         static_cast<std::uint8_t>(word >> 8 & 0xFF), static_cast<std::uint8_t>(word & 0xFF)});
}

// The list lines as the instrument's defaults give them (LOCK first, firmware 2 only).
struct Line {
    int address;
    int value;
    const char* name;
};
const std::vector<Line> kDefaultList{
    {30, 0, "LOCK"},    {0, 1, "TYPE"},     {1, 0, "UNIT"},  {2, 0, "DP"},      {3, 0, "LOLT"},
    {4, 1000, "HILT"},  {5, 0, "PVOF"},     {6, 0, "SCAL"},  {7, 1000, "SCAH"}, {8, 5, "FILT"},
    {9, 0, "DIR"},      {10, 0, "CUT"},     {15, 1, "A1FU"}, {16, 0, "A1MD"},   {17, 800, "A1SP"},
    {18, 2, "A1HY"},    {19, 2, "A2FU"},    {20, 0, "A2MD"}, {21, 100, "A2SP"}, {22, 2, "A2HY"},
    {23, 0, "mV.L"},    {24, 5000, "mV.H"}, {25, 0, "V.L"},  {26, 1000, "V.H"}, {27, 400, "mA.L"},
    {28, 2000, "mA.H"},
};

std::vector<Line> ListFor(int firmware) {
    if (firmware >= 2) return kDefaultList;
    return {kDefaultList.begin() + 1, kDefaultList.end()};
}

// The device check, then station (13), baud rate (14), frame format (29, firmware 2), then
// the list: code 5 up to address 28, which goes with code 6. `station` is the new one: the
// instrument takes it with the first write.
std::vector<Bytes> WriteAllRequests(int oldStation, int station, int br, int rtu,
                                    const std::vector<Line>& list, bool withRtu) {
    std::vector<Bytes> out{Request(oldStation, 3, 0x1F00, 4), Request(oldStation, 5, 13, station),
                           Request(station, 5, 14, br)};
    if (withRtu) out.push_back(Request(station, 5, 29, rtu));
    for (const Line& l : list)
        out.push_back(Request(station, l.address == 28 ? 6 : 5, l.address, l.value));
    return out;
}

std::vector<Bytes> ReadAllRequests(int station, int count) {
    return {Request(station, 3, 0x1F00, 4), Request(station, 3, 0x1F04, 2),
            Request(station, 3, 0, count), Request(station, 3, 0x001F, 1),
            Request(station, 3, 0x1F02, 2)};
}

class WriteAll : public TransferTest {
  protected:
    int PressWrite() { return rt.UserPress(ctx.gvG104, Id(ctx.gvG104, "WRITE")); }
    int Reg(int address) {
        std::int32_t v = 0;
        EXPECT_EQ(inst->RamValue(address, &v), 0) << address;
        return v;
    }
    int Stored(int address) {
        std::int32_t v = 0;
        EXPECT_EQ(inst->StoredValue(address, &v), 0) << address;
        return v;
    }
    double Now() { return fe.VirtualClock().Now(); }
    void SetCfg(const char* name, int value) {
        rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, name), value);
    }
    void SetCfgIndex(const char* name, int index) {
        rt.SetCtrlIndex(ctx.gvCFG, Id(ctx.gvCFG, name), index);
    }
    std::string Log() {
        ctx.gpLog.Flush();
        return Slurp("log.txt");
    }
};

TEST_F(WriteAll, FirmwareTwoSendsLinkSettingsFrameFormatAndTwentySixLinesLastToEeprom) {
    StartWith(104, 2);
    Requests();
    ctx.giCNT = 99;
    EXPECT_EQ(PressWrite(), 0);
    EXPECT_EQ(Requests(), WriteAllRequests(1, 1, 3, 1, ListFor(2), true));
    EXPECT_EQ(Status(), "Write OK");
    EXPECT_EQ(StatusColour(), 0x008000);
    EXPECT_EQ(ctx.gr, 0);
    // Counted from 0: three link settings and 26 lines.
    EXPECT_EQ(ctx.giCNT, 29);
    EXPECT_EQ(Main("GICNT").number, 29);
    // The write dims nothing.
    EXPECT_FALSE(Main("WRITE").dimmed);
    EXPECT_FALSE(Main("READ").dimmed);

    const std::string log = Log();
    EXPECT_NE(log.find("Modbus w ID = 1 \n"), std::string::npos);
    EXPECT_NE(log.find("Modbus w BR = 3 \n"), std::string::npos);
    EXPECT_NE(log.find("Modbus w RTU = 1 \n"), std::string::npos);
    EXPECT_NE(log.find("Modbus w Parameter to Dev \n"), std::string::npos);
    EXPECT_NE(log.find("\t\t\t(1) LOCK = 0 \n"), std::string::npos);
    EXPECT_NE(log.find("\t\t\t(26) mA.H = 2000 \n"), std::string::npos);
}

TEST_F(WriteAll, FirmwareOneHasNoFrameFormatAndTwentyFiveLines) {
    StartWith(104, 1);
    Requests();
    EXPECT_EQ(PressWrite(), 0);
    const std::vector<Bytes> sent = Requests();
    EXPECT_EQ(sent, WriteAllRequests(1, 1, 3, 0, ListFor(1), false));
    EXPECT_EQ(sent.back(), (Bytes{0x01, 0x06, 0x00, 0x1C, 0x07, 0xD0, 0x4B, 0xA0}));
    EXPECT_EQ(ctx.giCNT, 27);
    EXPECT_EQ(Status(), "Write OK");
    EXPECT_EQ(Log().find("Modbus w RTU"), std::string::npos);
}

// The buffer list of a firmware-2 instrument holding a few values of its own (negative ones
// among them); firmware 1 has the same without the lock line.
const std::string kBufferFile =
    "001e\t       2\tLOCK\n"
    "0000\t       1\tTYPE\n"
    "0001\t       0\tUNIT\n"
    "0002\t       0\tDP\n"
    "0003\t       0\tLOLT\n"
    "0004\t    1000\tHILT\n"
    "0005\t      -3\tPVOF\n"
    "0006\t       0\tSCAL\n"
    "0007\t    1000\tSCAH\n"
    "0008\t      17\tFILT\n"
    "0009\t       0\tDIR\n"
    "000a\t       0\tCUT\n"
    "000f\t       1\tA1FU\n"
    "0010\t       0\tA1MD\n"
    "0011\t     800\tA1SP\n"
    "0012\t       2\tA1HY\n"
    "0013\t       2\tA2FU\n"
    "0014\t       0\tA2MD\n"
    "0015\t     -45\tA2SP\n"
    "0016\t       2\tA2HY\n"
    "0017\t       0\tmV.L\n"
    "0018\t    5000\tmV.H\n"
    "0019\t       0\tV.L\n"
    "001a\t    1000\tV.H\n"
    "001b\t     400\tmA.L\n"
    "001c\t    2000\tmA.H\n";

class WriteBuffer : public WriteAll, public ::testing::WithParamInterface<int> {};

TEST_P(WriteBuffer, HoldsTheListAsThePagesShowIt) {
    const int firmware = GetParam();
    StartWith(104, firmware);
    std::ofstream("W_para_buff.txt") << "0008\t     999\tFILT\n";  // an earlier list
    Put(5, -3);                                                    // PVOF
    Put(8, 17);                                                    // FILT
    Put(21, -45);                                                  // A2SP
    if (firmware >= 2) Put(30, 2);                                 // LOCK
    PressRead();
    ASSERT_EQ(Status(), "Read OK");
    EXPECT_EQ(PressWrite(), 0);
    EXPECT_EQ(Slurp("W_para_buff.txt"),
              firmware >= 2 ? kBufferFile : kBufferFile.substr(kBufferFile.find('\n') + 1));
    // The negative values went out as two's complement words.
    EXPECT_EQ(Reg(5), -3);
    EXPECT_EQ(Reg(21), -45);
}

INSTANTIATE_TEST_SUITE_P(Firmware, WriteBuffer, ::testing::Values(1, 2));

// A new station, baud rate and frame format on the page: the instrument takes each with its
// write, the configurator follows, and the rest arrives at the new station and speed.
TEST_F(WriteAll, TheLinkFollowsTheNewStationBaudRateAndFrameFormat) {
    StartWith(104, 2);
    SetCfg("ID", 7);
    SetCfgIndex("BR", 2);   // 9600
    SetCfgIndex("RTU", 0);  // 8N1
    Requests();
    EXPECT_EQ(PressWrite(), 0);
    EXPECT_EQ(Status(), "Write OK");

    const std::vector<sim::LogEntry> log = inst->TakeLog();
    std::vector<Line> list = ListFor(2);
    const std::vector<Bytes> expected = WriteAllRequests(1, 7, 2, 0, list, true);
    ASSERT_EQ(log.size(), expected.size());
    for (std::size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].request, expected[i]) << i;
        EXPECT_EQ(log[i].outcome, sim::Outcome::kAnswered) << i;
        // Check and station at 19200 8N2; baud rate at 19200 to station 7; frame format at
        // 9600 8N2; the list at 9600 8N1.
        const int baud = i < 3 ? 19200 : 9600;
        const int stopBits = i < 4 ? 2 : 1;
        EXPECT_EQ(log[i].settings.baud, baud) << i;
        EXPECT_EQ(log[i].settings.stopBits, stopBits) << i;
    }
    EXPECT_EQ(inst->Station(Now()), 7);
    EXPECT_EQ(inst->Settings(Now()), (serial::LineSettings{9600, 0, 8, 1}));
    EXPECT_EQ(Main("ID_COMM").number, 7);
    EXPECT_EQ(Main("BR_COMM").index, 2);
    EXPECT_EQ(Main("RTU_COMM").index, 0);
    EXPECT_EQ(ctx.giCNT, 29);

    // Later commands go out over the new link as well.
    EXPECT_EQ(PressRead(), 0);
    EXPECT_EQ(Requests(), ReadAllRequests(7, 31));
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(Cfg("ID").number, 7);
    EXPECT_EQ(Cfg("BR").index, 2);
}

TEST_F(WriteAll, TheMenuItemWritesAllAndEnterOnWriteMovesOnWithoutSending) {
    StartWith(104, 2);
    Requests();
    int bar = rt.GetPanelMenuBar(ctx.gvG104);
    EXPECT_EQ(rt.UserMenuSelect(bar, rt.FindMenuItem(bar, "WRITE_DEV")), 0);
    EXPECT_EQ(Requests(), WriteAllRequests(1, 1, 3, 1, ListFor(2), true));
    EXPECT_EQ(Status(), "Write OK");

    rt.SetActiveCtrl(ctx.gvG104, Id(ctx.gvG104, "WRITE"));
    Enter();
    EXPECT_EQ(Focused(), "main:MSPV_B");
    EXPECT_TRUE(Requests().empty());
}

// One value just outside its range blocks everything after the device check, the link
// settings included.
struct OutOfRangeCase {
    const char* control;
    int inRange;
    int outside;
};

void PrintTo(const OutOfRangeCase& c, std::ostream* os) {
    *os << c.control << " " << c.outside;
}

class WriteAllOutOfRange : public WriteAll, public ::testing::WithParamInterface<OutOfRangeCase> {};

TEST_P(WriteAllOutOfRange, BlocksTheWholeWrite) {
    const OutOfRangeCase c = GetParam();
    StartWith(104, 2);
    SetCfg("ID", 9);
    SetCfgIndex("BR", 1);
    SetCfg(c.control, c.outside);
    std::filesystem::remove("W_para_buff.txt");
    Requests();
    PressWrite();
    EXPECT_EQ(ctx.gr, -1);
    EXPECT_EQ(Requests(), std::vector<Bytes>{Request(1, 3, 0x1F00, 4)});
    EXPECT_EQ(Status(), "Out of Range");
    EXPECT_EQ(StatusColour(), 0xFF0000);
    EXPECT_EQ(Cfg(c.control).textBgColor, conf::kColorOutOfRange);
    EXPECT_EQ(Cfg("PVOF").textBgColor, conf::kColorNormal);
    EXPECT_FALSE(std::filesystem::exists("W_para_buff.txt"));
    EXPECT_EQ(inst->Station(Now()), 1);
    EXPECT_EQ(Main("ID_COMM").number, 1);
    EXPECT_EQ(Main("BR_COMM").index, 3);

    // At the edge of its range the same value goes out, and its mark clears.
    SetCfg(c.control, c.inRange);
    EXPECT_EQ(PressWrite(), 0);
    EXPECT_EQ(Status(), "Write OK");
    EXPECT_EQ(Cfg(c.control).textBgColor, conf::kColorNormal);
    EXPECT_EQ(inst->Station(Now()), 9);
}

INSTANTIATE_TEST_SUITE_P(Limits, WriteAllOutOfRange,
                         ::testing::Values(OutOfRangeCase{"FILT", 999, 1000},
                                           OutOfRangeCase{"A1SP", -1999, -2000},
                                           OutOfRangeCase{"A2HY", 0, -1}),
                         [](const ::testing::TestParamInfo<OutOfRangeCase>& p) {
                             return std::string(p.param.control);
                         });

// A register write that goes unanswered: "Write NG", then a read-all over whatever link
// settings were already changed, whose status is the last word.
TEST_F(WriteAll, AFailedListWriteIsFollowedByAReadOverTheNewLink) {
    StartWith(104, 2);
    SetCfg("ID", 5);
    SetCfg("FILT", 40);  // line 10, never reaches the instrument
    // The device check, three link writes and eight lines pass; the ninth goes unanswered
    // three times.
    sim::Fault f;
    f.kind = sim::FaultKind::kSilence;
    f.after = 12;
    f.count = 3;
    inst->AddFault(f);
    Requests();
    PressWrite();
    EXPECT_EQ(ctx.gr, -2000);  // the write's silence, though the read went well

    std::vector<Bytes> expected = WriteAllRequests(1, 5, 3, 1, ListFor(2), true);
    expected.resize(13);
    expected.insert(expected.end(), 2, expected.back());
    for (const Bytes& b : ReadAllRequests(5, 31))
        expected.push_back(b);
    EXPECT_EQ(Requests(), expected);
    // The silenced write was carried out; the page takes the instrument's values back.
    EXPECT_EQ(Reg(7), 1000);
    EXPECT_EQ(Reg(8), 5);
    EXPECT_EQ(Cfg("FILT").number, 5);
    EXPECT_EQ(Cfg("ID").number, 5);
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(ctx.giCNT, 11);
    // Nothing went to EEPROM.
    EXPECT_EQ(Stored(13), 1);
    const std::string log = Log();
    EXPECT_NE(log.find("\t\t\t(9) SCAH = 1000 \n"), std::string::npos);
    EXPECT_EQ(log.find("\t\t\t(10)"), std::string::npos);
}

TEST_F(WriteAll, AFailedStationWriteKeepsTheLinkAndReadsBack) {
    StartWith(104, 2);
    SetCfg("ID", 5);
    Requests();
    SilenceFrom(1);
    PressWrite();
    EXPECT_EQ(ctx.gr, -2000);
    std::vector<Bytes> expected{Request(1, 3, 0x1F00, 4)};
    expected.insert(expected.end(), 3, Request(1, 5, 13, 5));
    // The instrument took the new station but its answers were lost: the configurator stays
    // on station 1, where the read finds nobody.
    expected.insert(expected.end(), 3, Request(1, 3, 0x1F00, 4));
    EXPECT_EQ(Requests(), expected);
    EXPECT_EQ(Main("ID_COMM").number, 1);
    EXPECT_EQ(Status(), "Read NG");
    EXPECT_EQ(StatusColour(), 0xFF0000);
    EXPECT_EQ(ctx.giCNT, 0);
}

// When the buffer file cannot be created no list goes out, not even one left from an earlier
// write; the report names the file and the read-all follows.
TEST_F(WriteAll, ABufferFileThatCannotBeCreatedStopsBeforeTheList) {
    StartWith(104, 2);
    std::filesystem::create_directory("W_para_buff.txt");
    Requests();
    fe.ClearPopups();
    PressWrite();
    EXPECT_EQ(ctx.gr, -1);
    std::vector<Bytes> expected = WriteAllRequests(1, 1, 3, 1, {}, true);
    for (const Bytes& b : ReadAllRequests(1, 31))
        expected.push_back(b);
    EXPECT_EQ(Requests(), expected);
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].title, "m104___main :: 1232969");
    EXPECT_EQ(fe.Popups()[0].text, "open file NG :: W_para_buff.txt");
    const std::string log = Log();
    EXPECT_NE(log.find("\xA1\xB9\xA1\xB9\xA1\xB9 m104___main :: 1232969 \n"
                       "\xA1\xB9\xA1\xB9\xA1\xB9 open file NG :: W_para_buff.txt \n\n"),
              std::string::npos);
    EXPECT_EQ(log.find("Modbus w Parameter to Dev"), std::string::npos);
    EXPECT_EQ(ctx.giCNT, 3);
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(ctx.gr, -1);
}

TEST_F(WriteAll, ADeviceCheckThatFailsSendsNoWrite) {
    StartWith(104, 2);
    SilenceFrom(0);
    Requests();
    PressWrite();
    EXPECT_EQ(ctx.gr, -2000);
    EXPECT_EQ(Requests(), std::vector<Bytes>(3, Request(1, 3, 0x1F00, 4)));
    EXPECT_EQ(Status(), "Read NG");
    EXPECT_EQ(ctx.gvHW, 255);
}

// Code 5 changes RAM only; the final code 6 makes the instrument store its whole RAM bank, so
// the set written before it survives a power cycle, link settings included. A RAM write made
// after the write-all does not.
TEST_F(WriteAll, WhatWasWrittenSurvivesAPowerCycle) {
    StartWith(104, 2);
    SetCfg("ID", 12);
    SetCfgIndex("BR", 2);
    SetCfg("FILT", 33);
    SetCfg("A1SP", 750);
    SetCfgIndex("LOCK", 1);
    ASSERT_EQ(PressWrite(), 0);
    EXPECT_EQ(Stored(8), 33);
    EXPECT_EQ(Stored(17), 750);
    EXPECT_EQ(Stored(30), 1);
    EXPECT_EQ(Stored(28), 2000);
    EXPECT_EQ(Stored(13), 12);
    EXPECT_EQ(Stored(14), 2);
    Put(9, 1);  // DIR, RAM only, after the store

    // Other values on the page, then the instrument off and on again.
    SetCfg("FILT", 1);
    SetCfg("A1SP", 1);
    SetCfgIndex("LOCK", 0);
    conf::mf_104_DIR_cfg__SV(ctx, 1);
    inst->PowerCycle(Now());
    EXPECT_EQ(Reg(9), 0);
    EXPECT_EQ(inst->Station(Now()), 12);
    EXPECT_EQ(inst->Settings(Now()).baud, 9600);

    Requests();
    EXPECT_EQ(PressRead(), 0);
    EXPECT_EQ(Requests(), ReadAllRequests(12, 31));
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(Cfg("FILT").number, 33);
    EXPECT_EQ(Cfg("A1SP").number, 750);
    EXPECT_EQ(Cfg("LOCK").index, 1);
    EXPECT_EQ(Cfg("ID").number, 12);
    EXPECT_EQ(Cfg("BR").index, 2);
    EXPECT_EQ(conf::mf_104_DIR_cfg__GV(ctx), 0);
}

}  // namespace
