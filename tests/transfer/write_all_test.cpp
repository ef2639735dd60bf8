// Write-all against the simulated instrument, both models: the requests with their line
// settings, the buffer files, the range check that blocks the write, the read that follows a
// failed write, the counter; and a buffer file as it is read back for its replay, against a
// scripted instrument: each line's request with the plan's access code, and the files that do
// not read back (damaged, cut short) ending in "Write NG" after the lines before them.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "tests/support/file_trouble.h"
#include "tests/support/fixtures.h"
#include "transfer/write_all.h"

namespace {

using transfertest::Bytes;
using transfertest::Edited;
using transfertest::Sealed;
using transfertest::TransferTest;
using transfertest::Write;

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

// One 32-bit value written with code 16: two registers, four bytes, high word first.
Bytes Write32(int address, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    return Sealed({0x01, 0x10, static_cast<std::uint8_t>(address >> 8),
                   static_cast<std::uint8_t>(address & 0xFF), 0x00, 0x02, 0x04,
                   static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                   static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
}

// The device check, station (13), baud rate (14), frame format (29, when rtu >= 0), then the
// buffer's lines: code 5, but code 6 for the plan's last address `eeprom`; then a 32-bit
// buffer's lines with code 16. The instrument takes the new station with its first write.
std::vector<Bytes> WriteAllRequests(int oldStation, int station, int br, int rtu,
                                    const std::string& buffer, int eeprom = 28,
                                    const std::string& buffer32 = "") {
    std::vector<Bytes> out{Request(oldStation, 3, 0x1F00, 4), Request(oldStation, 5, 13, station),
                           Request(station, 5, 14, br)};
    if (rtu >= 0) out.push_back(Request(station, 5, 29, rtu));
    std::istringstream in(buffer), in32(buffer32);
    std::string address, name;
    int value = 0;
    while (in >> address >> value >> name) {
        const int a = std::stoi(address, nullptr, 16);
        out.push_back(Request(station, a == eeprom ? 6 : 5, a, value));
    }
    while (in32 >> address >> value >> name)
        out.push_back(Write32(std::stoi(address, nullptr, 16), value));
    return out;
}

// The requests of a read-all at `station`, after `before`.
std::vector<Bytes> ReadAllRequests(int station, std::vector<Bytes> before = {}) {
    before.insert(before.end(), {Request(station, 3, 0x1F00, 4), Request(station, 3, 0x1F04, 2),
                                 Request(station, 3, 0, 31), Request(station, 3, 0x001F, 1),
                                 Request(station, 3, 0x1F02, 2)});
    return before;
}

class WriteAll : public TransferTest {
  protected:
    int PressWrite() { return rt.UserPress(ctx.gvMain, Id(ctx.gvMain, "WRITE")); }

    // Write-all with a buffer file it cannot use: the link settings go out, the list does not,
    // the report (site and text) is a popup and in the log, then the instrument is read back.
    void ExpectStoppedBeforeTheList(const std::string& site, const std::string& report) {
        Requests();
        fe.ClearPopups();
        const std::size_t from = Log().size();
        PressWrite();
        EXPECT_EQ(ctx.gr, -1);
        EXPECT_EQ(Requests(), ReadAllRequests(1, WriteAllRequests(1, 1, 3, 1, "")));
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
                         [](const auto& p) { return "Version" + std::to_string(p.param); });

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
    EXPECT_EQ(Main("ID_COMM").number, 7);
    EXPECT_EQ(Main("BR_COMM").index, 2);
    EXPECT_EQ(Main("RTU_COMM").index, 0);

    // The read that follows finds the instrument where the link now is.
    EXPECT_EQ(PressRead(), 0);
    EXPECT_EQ(Requests(), ReadAllRequests(7));
    EXPECT_EQ(Status(), "Read OK");

    // Enter on the button only moves on.
    rt.UserKeyPress(ctx.gvMain, Id(ctx.gvMain, "WRITE"), ui::VAL_ENTER_VKEY);
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
        EXPECT_EQ(Main("ID_COMM").number, station);

        SetCfg(c.control, c.inRange);
        EXPECT_EQ(PressWrite(), 0);
        EXPECT_EQ(Status(), "Write OK");
        EXPECT_EQ(Cfg(c.control).textBgColor, conf::kColorNormal);
        EXPECT_EQ(inst->Station(fe.VirtualClock().Now()), ++station);
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
    EXPECT_EQ(Requests(), ReadAllRequests(5, expected));
    EXPECT_EQ(Cfg("FILT").number, 5);
    EXPECT_EQ(Cfg("ID").number, 5);
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(ctx.giCNT, 11);
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

// The model B instrument's defaults in its two buffer files.
const std::string kBuffer16 =
    "0000\t       2\tTYPE\n0002\t       1\tDP\n0008\t       5\tFILT\n0009\t       0\tDIR\n"
    "000a\t       0\tCUT\n000f\t       1\tA1FU\n0013\t       2\tA2FU\n0010\t       0\tA1MD\n"
    "0014\t       0\tA2MD\n0017\t       0\tmV.L\n0018\t    5000\tmV.H\n0019\t       0\tV.L\n"
    "001a\t    1000\tV.H\n001b\t     400\tmA.L\n001c\t    2000\tmA.H\n001e\t       0\tLOCK\n";
const std::string kBuffer32 =
    "1001\t       0\tLOLT\n1002\t   10000\tHILT\n1003\t       0\tSCAL\n1004\t   10000\tSCAH\n"
    "1005\t    8000\tA1SP\n1007\t    2000\tA2SP\n1006\t      10\tA1HY\n1008\t      10\tA2HY\n"
    "1009\t       0\tPVOF\n";

class OmbrelWrite : public TransferTest {
  protected:
    OmbrelWrite() : TransferTest(conf::ModelB()) {}
    void SetUp() override {
        TransferTest::SetUp();
        StartWith(105, 3);
        Requests();
    }
};

TEST_F(OmbrelWrite, SendsLinkSettingsThenBothBufferFiles) {
    EXPECT_EQ(conf::Para_To_Dev::onClick(ctx), 0);
    EXPECT_EQ(Status(), "Write OK");
    EXPECT_EQ(Slurp("W_para_buff_16.txt"), kBuffer16);
    EXPECT_EQ(Slurp("W_para_buff_32.txt"), kBuffer32);
    EXPECT_EQ(Requests(), WriteAllRequests(1, 1, 3, 1, kBuffer16, 30, kBuffer32));
    const std::string log = LogFrom("=================Write Parameter=================\n");
    EXPECT_NE(log.find("Modbus w 16-bit Parameter to Dev \n\t\t\t(1) TYPE = 2 \n"),
              std::string::npos);
    EXPECT_NE(log.find("Modbus w 32-bit Parameter to Dev \n\t\t\t(1) LOLT = 0 \n"),
              std::string::npos);
    // A changed 32-bit value travels through the buffer.
    rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "A2SP"), 123.4);
    EXPECT_EQ(conf::Para_To_Dev::onClick(ctx), 0);
    EXPECT_EQ(Ram(0x1007), 1234);
}

TEST_F(OmbrelWrite, AFailedOrBlockedWriteStopsWithoutARead) {
    SilenceFrom(6);  // the device check, three link writes, two list lines, then silence
    EXPECT_LT(conf::Para_To_Dev::onClick(ctx), 0);
    EXPECT_EQ(Status(), "Write NG");
    // Three attempts at the seventh request (FILT), and no read-all after them.
    std::vector<Bytes> expected = WriteAllRequests(1, 1, 3, 1, kBuffer16, 30);
    expected.resize(7);
    expected.insert(expected.end(), 2, expected.back());
    EXPECT_EQ(Requests(), expected);
    // An out-of-range value blocks the write without a status message.
    inst->ClearFaults();
    rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "FILT"), 5000);
    Requests();
    EXPECT_LT(conf::Para_To_Dev::onClick(ctx), 0);
    EXPECT_EQ(Requests(), (std::vector<Bytes>{transfertest::Read(0x1F00, 4)}));
    EXPECT_EQ(Status(), "Reading");  // the device check's, and nothing after it
    EXPECT_EQ(Cfg("FILT").textBgColor, 0xFF0000);
}

// The 32-bit list cannot be written (a full disk): the 16-bit list went out, the 32-bit one
// does not, and the report tells it from a file that cannot be created.
TEST_F(OmbrelWrite, ABufferFileThatCannotBeWrittenStopsTheWriteWithItsOwnReport) {
    std::filesystem::create_symlink("/dev/full", "W_para_buff_32.txt");
    fe.ClearPopups();
    EXPECT_EQ(conf::Para_To_Dev::onClick(ctx), -1);
    EXPECT_EQ(Requests(), WriteAllRequests(1, 1, 3, 1, kBuffer16, 30));
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].title, "m105___main :: 1232977");
    EXPECT_EQ(fe.Popups()[0].text, "write file NG :: W_para_buff_32.txt");
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The link panel on COM5 at 19200 8N2 with a scripted instrument.
class BufferReplay : public ::testing::Test,
                     public conf_test::InScratchDir,
                     public conf_test::Configurator {
  protected:
    BufferReplay() {
        EXPECT_EQ(LoadLinkPanel(), 0) << rt.LastError();
        EXPECT_EQ(OpenCom5(), 0);
    }
    // Replays `text` as the buffer file.
    int Replay(const std::string& text) {
        const conf::BufferFile& buffer = ctx.model.write.buffers[0];
        conf_test::WriteFile(buffer.fileName, text);
        std::unique_ptr<std::FILE, FileCloser> f(std::fopen(buffer.fileName, "r"));
        EXPECT_TRUE(f);
        return conf::Para_To_Dev::Replay_Buffer(ctx, buffer, f.get());
    }
    std::vector<Bytes> Sent() {
        std::vector<Bytes> out;
        for (const auto& r : device.requests)
            out.push_back(r.bytes);
        return out;
    }
};

TEST_F(BufferReplay, EachLineGoesOutWithThePlansAccessCodeUpToADamagedOne) {
    // LOCK and TYPE in RAM, mA.H (the plan's last line) to EEPROM; an address the plan does
    // not list goes to RAM.
    const std::vector<Bytes> expected{Write(5, 0x1E, 0), Write(5, 0x00, 1), Write(6, 0x1C, 2000),
                                      Write(5, 0x40, -2)};
    EXPECT_EQ(Replay(""), 0);  // an empty file sends nothing
    EXPECT_TRUE(device.requests.empty());
    for (const Bytes& answer : expected)
        device.Answer(answer, 0.005);
    EXPECT_EQ(Replay("001e\t       0\tLOCK\n0000\t       1\tTYPE\n001c\t    2000\tmA.H\n"
                     "0040\t      -2\tODD\n"),
              0);
    EXPECT_EQ(Sent(), expected);
    EXPECT_EQ(ctx.giCNT, 4);

    // A damaged line ends in "Write NG" after the lines before it.
    // A line cut short must not borrow the next line's address as its value.
    for (const std::string damaged :
         {"0001\t   abc\tUNIT\n", "zz\t1\tX\n", "\x01\x02\n", "0001\n", "0001\t       0\n"}) {
        device.requests.clear();
        device.Answer(Write(5, 0x00, 1), 0.005);
        EXPECT_EQ(Replay("0000\t       1\tTYPE\n" + damaged + "0002\t       0\tDP\n"), -1)
            << damaged;
        EXPECT_EQ(Sent(), (std::vector<Bytes>{Write(5, 0x00, 1)})) << damaged;
        EXPECT_EQ(Status(), "Write NG") << damaged;
    }
}

}  // namespace
