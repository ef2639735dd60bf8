// Write-all against the simulated instrument: the requests with their line settings, the
// buffer file, the range check that blocks the write, the read that follows a failed write,
// the counter, and what the instrument keeps over a power cycle.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "params/input.h"
#include "params/locator.h"
#include "tests/support/file_trouble.h"
#include "tests/support/fixtures.h"

namespace {

using transfertest::Bytes;
using transfertest::Edited;
using transfertest::Sealed;
using transfertest::TransferTest;

Bytes Request(int station, int code, int address, int word) {
    return Sealed(
        {static_cast<std::uint8_t>(station), static_cast<std::uint8_t>(code),
         static_cast<std::uint8_t>(address >> 8 & 0xFF), static_cast<std::uint8_t>(address & 0xFF),
         static_cast<std::uint8_t>(word >> 8 & 0xFF), static_cast<std::uint8_t>(word & 0xFF)});
}

// The buffer file of an instrument with its defaults; firmware 1 has no LOCK line.
const std::string kBuffer =
    "001e\t       0\tLOCK\n0000\t       1\tTYPE\n0001\t       0\tUNIT\n0002\t       0\tDP\n"
    "0003\t       0\tLOLT\n0004\t    1000\tHILT\n0005\t       0\tPVOF\n0006\t       0\tSCAL\n"
    "0007\t    1000\tSCAH\n0008\t       5\tFILT\n0009\t       0\tDIR\n000a\t       0\tCUT\n"
    "000f\t       1\tA1FU\n0010\t       0\tA1MD\n0011\t     800\tA1SP\n0012\t       2\tA1HY\n"
    "0013\t       2\tA2FU\n0014\t       0\tA2MD\n0015\t     100\tA2SP\n0016\t       2\tA2HY\n"
    "0017\t       0\tmV.L\n0018\t    5000\tmV.H\n0019\t       0\tV.L\n001a\t    1000\tV.H\n"
    "001b\t     400\tmA.L\n001c\t    2000\tmA.H\n";

// The device check, station (13), baud rate (14), frame format (29, when rtu >= 0), then the
// buffer's lines: code 5, but code 6 for address 28. The instrument takes the new station
// with its first write.
std::vector<Bytes> WriteAllRequests(int oldStation, int station, int br, int rtu,
                                    const std::string& buffer) {
    std::vector<Bytes> out{Request(oldStation, 3, 0x1F00, 4), Request(oldStation, 5, 13, station),
                           Request(station, 5, 14, br)};
    if (rtu >= 0) out.push_back(Request(station, 5, 29, rtu));
    std::istringstream in(buffer);
    std::string address, name;
    int value = 0;
    while (in >> address >> value >> name) {
        const int a = std::stoi(address, nullptr, 16);
        out.push_back(Request(station, a == 28 ? 6 : 5, a, value));
    }
    return out;
}

std::vector<Bytes> ReadAllRequests(int station) {
    return {Request(station, 3, 0x1F00, 4), Request(station, 3, 0x1F04, 2),
            Request(station, 3, 0, 31), Request(station, 3, 0x001F, 1),
            Request(station, 3, 0x1F02, 2)};
}

class WriteAll : public TransferTest {
  protected:
    int PressWrite() { return rt.UserPress(ctx.gvMain, Id(ctx.gvMain, "WRITE")); }
    double Now() { return fe.VirtualClock().Now(); }

    // Write-all with a buffer file it cannot use: the link settings go out, the list does not,
    // the report (site and text) is a popup and in the log, then the instrument is read back.
    void ExpectStoppedBeforeTheList(const std::string& site, const std::string& report) {
        Requests();
        fe.ClearPopups();
        const std::size_t from = Log().size();
        PressWrite();
        EXPECT_EQ(ctx.gr, -1);
        std::vector<Bytes> expected = WriteAllRequests(1, 1, 3, 1, "");
        for (const Bytes& b : ReadAllRequests(1))
            expected.push_back(b);
        EXPECT_EQ(Requests(), expected);
        ASSERT_EQ(fe.Popups().size(), 1u);
        EXPECT_EQ(fe.Popups()[0].title, "m104___main :: " + site);
        EXPECT_EQ(fe.Popups()[0].text, report);
        const std::string log = Log().substr(from);
        EXPECT_NE(log.find("\xA1\xB9\xA1\xB9\xA1\xB9 m104___main :: " + site +
                           " \n\xA1\xB9\xA1\xB9\xA1\xB9 " + report + " \n\n"),
                  std::string::npos);
        EXPECT_EQ(log.find("Modbus w Parameter to Dev"), std::string::npos);
        EXPECT_EQ(Status(), "Read OK");
    }
};

class WriteAllFirmware : public WriteAll, public ::testing::WithParamInterface<int> {};

TEST_P(WriteAllFirmware, SendsTheLinkSettingsAndTheListAsTheBufferFileHoldsIt) {
    const bool full = GetParam() >= 2;
    StartWith(104, GetParam());
    std::ofstream("W_para_buff.txt") << "0008\t     999\tFILT\n";  // an earlier list
    Put(5, -3);                                                    // PVOF
    Put(21, -45);                                                  // A2SP
    PressRead();
    Requests();
    ctx.giCNT = 99;
    EXPECT_EQ(PressWrite(), 0);

    std::string buffer = Edited(
        kBuffer, {{"0005\t       0", "0005\t      -3"}, {"0015\t     100", "0015\t     -45"}});
    if (!full) buffer.erase(0, buffer.find('\n') + 1);
    EXPECT_EQ(Slurp("W_para_buff.txt"), buffer);
    const std::vector<Bytes> sent = Requests();
    EXPECT_EQ(sent, WriteAllRequests(1, 1, 3, full ? 1 : -1, buffer));
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), (Bytes{0x01, 0x06, 0x00, 0x1C, 0x07, 0xD0, 0x4B, 0xA0}));
    EXPECT_EQ(Status(), "Write OK");
    EXPECT_EQ(StatusColour(), 0x008000);
    EXPECT_EQ(ctx.gr, 0);
    // Counted from 0: the link settings and the list's lines.
    EXPECT_EQ(ctx.giCNT, full ? 29 : 27);
    EXPECT_EQ(Main("GICNT").number, ctx.giCNT);
    EXPECT_FALSE(Main("WRITE").dimmed || Main("READ").dimmed);

    const std::string log = Log();
    for (const char* line :
         {"Modbus w ID = 1 \n", "Modbus w BR = 3 \n", "Modbus w Parameter to Dev \n",
          full ? "\t\t\t(1) LOCK = 0 \n" : "\t\t\t(1) TYPE = 1 \n",
          full ? "\t\t\t(26) mA.H = 2000 \n" : "\t\t\t(25) mA.H = 2000 \n"})
        EXPECT_NE(log.find(line), std::string::npos) << line;
    EXPECT_EQ(log.find("Modbus w RTU = 1 \n") != std::string::npos, full);
}

INSTANTIATE_TEST_SUITE_P(Firmware, WriteAllFirmware, ::testing::Values(1, 2),
                         [](const ::testing::TestParamInfo<int>& p) {
                             return "Version" + std::to_string(p.param);
                         });

// The instrument takes each link setting with its write and the configurator follows; the
// menu item is the button's twin.
TEST_F(WriteAll, TheLinkFollowsTheNewStationBaudRateAndFrameFormat) {
    StartWith(104, 2);
    SetCfg("ID", 7);
    SetCfgIndex("BR", 2);   // 9600
    SetCfgIndex("RTU", 0);  // 8N1
    Requests();
    EXPECT_EQ(Menu("WRITE_DEV"), 0);
    EXPECT_EQ(Status(), "Write OK");

    const std::vector<sim::LogEntry> log = inst->TakeLog();
    const std::vector<Bytes> expected = WriteAllRequests(1, 7, 2, 0, kBuffer);
    ASSERT_EQ(log.size(), expected.size());
    for (std::size_t i = 0; i < log.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(log[i].request, expected[i]);
        EXPECT_EQ(log[i].outcome, sim::Outcome::kAnswered);
        // Check, station and baud rate at 19200 8N2; frame format at 9600 8N2; the list 8N1.
        EXPECT_EQ(log[i].settings.baud, i < 3 ? 19200 : 9600);
        EXPECT_EQ(log[i].settings.stopBits, i < 4 ? 2 : 1);
    }
    EXPECT_EQ(inst->Station(Now()), 7);
    EXPECT_EQ(inst->Settings(Now()), (serial::LineSettings{9600, 0, 8, 1}));
    EXPECT_EQ(Main("ID_COMM").number, 7);
    EXPECT_EQ(Main("BR_COMM").index, 2);
    EXPECT_EQ(Main("RTU_COMM").index, 0);

    EXPECT_EQ(PressRead(), 0);
    EXPECT_EQ(Requests(), ReadAllRequests(7));
    EXPECT_EQ(Status(), "Read OK");

    // Enter on the button moves on without sending.
    rt.SetActiveCtrl(ctx.gvMain, Id(ctx.gvMain, "WRITE"));
    Enter();
    EXPECT_EQ(Focused(), "main:MSPV_B");
    EXPECT_TRUE(Requests().empty());
}

// One value just outside its range blocks everything after the device check, the link
// settings included; at the edge of its range it goes out and its mark clears.
TEST_F(WriteAll, AValueOutOfRangeBlocksTheWholeWrite) {
    StartWith(104, 2);
    const struct {
        const char* control;
        int inRange, outside;
    } limits[] = {{"FILT", 999, 1000}, {"A1SP", -1999, -2000}, {"A2HY", 0, -1}};
    int station = 1;
    for (const auto& c : limits) {
        SCOPED_TRACE(c.control);
        SetCfg("ID", station + 1);
        SetCfg(c.control, c.outside);
        std::filesystem::remove("W_para_buff.txt");
        Requests();
        PressWrite();
        EXPECT_EQ(ctx.gr, -1);
        EXPECT_EQ(Requests(), std::vector<Bytes>{Request(station, 3, 0x1F00, 4)});
        EXPECT_EQ(Status(), "Out of Range");
        EXPECT_EQ(StatusColour(), 0xFF0000);
        EXPECT_EQ(Cfg(c.control).textBgColor, conf::kColorOutOfRange);
        EXPECT_EQ(Cfg("PVOF").textBgColor, conf::kColorNormal);
        EXPECT_FALSE(std::filesystem::exists("W_para_buff.txt"));
        EXPECT_EQ(inst->Station(Now()), station);
        EXPECT_EQ(Main("ID_COMM").number, station);

        SetCfg(c.control, c.inRange);
        EXPECT_EQ(PressWrite(), 0);
        EXPECT_EQ(Status(), "Write OK");
        EXPECT_EQ(Cfg(c.control).textBgColor, conf::kColorNormal);
        EXPECT_EQ(inst->Station(Now()), ++station);
    }
}

// After a failed write a read-all over whatever link settings were already changed brings the
// pages back; the write's failure stays the result.
TEST_F(WriteAll, AFailedListWriteIsFollowedByAReadOverTheNewLink) {
    StartWith(104, 2);
    SetCfg("ID", 5);
    SetCfg("FILT", 40);  // line 10, never sent
    // The check, three link writes and eight lines pass; the ninth goes unanswered three times.
    inst->AddFault(conf_test::MakeFault(sim::FaultKind::kSilence, 12, 3));
    Requests();
    PressWrite();
    EXPECT_EQ(ctx.gr, -2000);

    std::vector<Bytes> expected = WriteAllRequests(1, 5, 3, 1, kBuffer);
    expected.resize(13);
    expected.insert(expected.end(), 2, expected.back());
    for (const Bytes& b : ReadAllRequests(5))
        expected.push_back(b);
    EXPECT_EQ(Requests(), expected);
    EXPECT_EQ(Cfg("FILT").number, 5);
    EXPECT_EQ(Cfg("ID").number, 5);
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(ctx.giCNT, 11);
    EXPECT_EQ(Stored(13), 1);  // nothing went to EEPROM
    const std::string log = Log();
    EXPECT_NE(log.find("\t\t\t(9) SCAH = 1000 \n"), std::string::npos);
    EXPECT_EQ(log.find("\t\t\t(10)"), std::string::npos);
}

TEST_F(WriteAll, AFailedCheckOrStationWriteEndsInReadNg) {
    StartWith(104, 2);
    SetCfg("ID", 5);
    Requests();
    SilenceFrom(0);
    PressWrite();
    EXPECT_EQ(ctx.gr, -2000);
    EXPECT_EQ(Requests(), std::vector<Bytes>(3, Request(1, 3, 0x1F00, 4)));
    EXPECT_EQ(Status(), "Read NG");

    // The instrument takes the new station but its answers are lost: the read goes to
    // station 1, where nobody answers.
    inst->ClearFaults();
    SilenceFrom(1);
    PressWrite();
    EXPECT_EQ(ctx.gr, -2000);
    std::vector<Bytes> expected{Request(1, 3, 0x1F00, 4)};
    expected.insert(expected.end(), 3, Request(1, 5, 13, 5));
    expected.insert(expected.end(), 3, Request(1, 3, 0x1F00, 4));
    EXPECT_EQ(Requests(), expected);
    EXPECT_EQ(Main("ID_COMM").number, 1);
    EXPECT_EQ(Status(), "Read NG");
    EXPECT_EQ(StatusColour(), 0xFF0000);
    EXPECT_EQ(ctx.giCNT, 0);
}

// Without its buffer file no list goes out, not even an older one; the report names the file.
// One that opens but takes no bytes (a full disk) is told from one that cannot be created (in
// the way, or in a read-only folder, where the older list stays as it was).
TEST_F(WriteAll, ABufferFileThatCannotBeCreatedOrWrittenStopsBeforeTheList) {
    StartWith(104, 2);
    std::filesystem::create_symlink("/dev/full", "W_para_buff.txt");
    ExpectStoppedBeforeTheList("1232977", "write file NG :: W_para_buff.txt");
    EXPECT_EQ(Log().find("open file NG"), std::string::npos);
    EXPECT_EQ(ctx.giCNT, 3);

    std::filesystem::remove("W_para_buff.txt");
    std::filesystem::create_directory("W_para_buff.txt");
    ExpectStoppedBeforeTheList("1232969", "open file NG :: W_para_buff.txt");

    std::filesystem::remove("W_para_buff.txt");
    std::ofstream("W_para_buff.txt") << "0008\t     999\tFILT\n";
    ASSERT_EQ(chmod(".", 0555), 0);
    {
        test_support::PermissionBitsBind bind;
        ExpectStoppedBeforeTheList("1232969", "open file NG :: W_para_buff.txt");
    }
    chmod(".", 0755);
    EXPECT_EQ(Slurp("W_para_buff.txt"), "0008\t     999\tFILT\n");
}

// The final code 6 has the instrument store its whole RAM bank, link settings included; a
// RAM write made after the write-all is lost at a power cycle.
TEST_F(WriteAll, WhatWasWrittenSurvivesAPowerCycle) {
    StartWith(104, 2);
    SetCfg("ID", 12);
    SetCfgIndex("BR", 2);
    SetCfg("FILT", 33);
    SetCfg("A1SP", 750);
    SetCfgIndex("LOCK", 1);
    ASSERT_EQ(PressWrite(), 0);
    Put(9, 1);  // DIR, after the store
    conf::DIR_cfg::SV(ctx, 1);

    inst->PowerCycle(Now());
    const std::pair<int, int> kept[] = {{8, 33},  {17, 750}, {30, 1}, {28, 2000},
                                        {13, 12}, {14, 2},   {9, 0}};
    for (const auto& [address, value] : kept)
        EXPECT_EQ(Ram(address), value) << address;
    Requests();
    EXPECT_EQ(PressRead(), 0);
    EXPECT_EQ(Requests(), ReadAllRequests(12));  // station 12 at 9600
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(conf::DIR_cfg::GV(ctx), 0);
}

}  // namespace
