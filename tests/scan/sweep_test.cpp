// Scan's Modbus client against a scripted instrument on COM5: frames, retries, result codes
// and the trace in the log, byte for byte. Port discovery: friendly names, the Prolific-first
// order, the "Dev_Mng_" files, the open test, "COM__Exist.txt" and ports plugged in while Scan is
// open. The device sweep against simulated instruments: the probe order, what each probe sends and
// shows, and every way a sweep ends early. The hand-over: both settings files byte for byte, the
// configurator chosen from the file's model code, and what happens when a file or a configurator is
// missing.

#include <optional>

#include "platform/serial/port_watch.h"
#include "platform/serial/serial_error.h"
#include "scan/com_discovery.h"
#include "scan/distribute.h"
#include "scan/modbus_client.h"
#include "scan/scan_log.h"
#include "tests/support/fifo_guard.h"
#include "tests/support/fixtures.h"

namespace scantest {
namespace {

using Items = std::vector<std::pair<std::string, int>>;
using Calls = std::vector<sys::RecordingLauncher::Call>;
using Shown = std::vector<std::pair<std::string, std::string>>;

const std::string kStars = "\xA1\xB9\xA1\xB9\xA1\xB9";  // the mark of an error entry

// The popups shown, as (title, text) pairs, to compare whole.
Shown Popups(const ui::HeadlessFrontEnd& fe) {
    Shown shown;
    for (const auto& p : fe.Popups())
        shown.emplace_back(p.title, p.text);
    return shown;
}

// Puts at `name` a FIFO (held by `fifo`) for "fifo", a folder for "dir", else `what` as its
// content; nothing for nullptr.
void Place(const std::string& name, const char* what,
           std::optional<test_support::FifoGuard>& fifo) {
    fs::remove(name);
    const std::string given = what ? what : "";
    if (given == "fifo") {
        fifo.emplace(name);
        ASSERT_TRUE(fifo->Made());
    } else if (given == "dir") {
        fs::create_directory(name);
    } else if (what) {
        conf_test::WriteFile(name, given);
    }
}

using Bytes = std::vector<std::uint8_t>;

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

// A short reply gives -2003 and the exception block, each of three times. A frame sent as
// given gets its CRC in place; with the trace switch at 0 only the error entries are logged. A
// bad CRC is retried without a receive line.
TEST_F(ScanModbus, ShortRepliesTheTraceSwitchAndBadCrcs) {
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

    scan::Log::Create(ctx);
    Bytes frame{0x01, 0x03, 0x1F, 0x00, 0x00, 0x01, 0, 0};
    EXPECT_EQ(scan::fn_Send_MB_MSG_201_A(ctx, 222, frame.data(), 8, &ctx.gpLog, {}, 0), -2000);
    EXPECT_EQ(Log(), kTimeOut);
    EXPECT_EQ(frame, (Bytes{0x01, 0x03, 0x1F, 0x00, 0x00, 0x01, 0x83, 0xDE}));

    scan::Log::Create(ctx);
    device.Answer({0x01, 0x03, 0x02, 0x68, 0x02, 0x16, 0xBA}, 0.01);
    device.Answer(kModelCodeReply, 0.01);
    EXPECT_EQ(scan::fn_Send_MB_MSG_201_A(ctx, 222, frame.data(), 8, &ctx.gpLog, {&value, 1}, 1),
              -1);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(Log(), kModelCodeTx);
    // fn_Modbus_Device sends it again and takes the good answer.
    EXPECT_EQ(scan::fn_Modbus_Device(ctx, 3, 0x1F00, 1, {&value, 1}), 0);
    EXPECT_EQ(value, 0x6802);
    EXPECT_EQ(device.requests.size(), 6u);
    EXPECT_EQ(Log(),
              kModelCodeTx + kModelCodeTx + "\tP222\tMB.Rx\t#01.03 (0002) [6802] {1645}\tRead\n\n");
}

// Refused before anything is sent: a function code the trace does not know, and more
// registers than the 512-byte reply buffer holds. A pulled adapter fails cleanly.
TEST_F(ScanModbus, UndefinedCodeOrOversizedReadIsRefusedBeforeSendingAndAPulledAdapterFails) {
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

    // An adapter pulled during the exchange: an error result and a log entry, no crash.
    device.Vanish();
    EXPECT_LT(scan::fn_Modbus_Device(ctx, 3, 0x1F00, 1), 0);
    EXPECT_LT(ctx.gr, 0);
    EXPECT_NE(Log().find(" COM read NG, err code: "), std::string::npos);
}

TEST(ComNumber, OfFriendlyName) {
    using P = std::pair<const char*, int>;
    for (auto [name, com] :
         {P{"Communications Port (COM1)", 1}, P{"USB Serial Port (COM12)", 12},
          P{"ECP Printer Port (LPT1)", 0}, P{"Port (COM300)", 0}, P{"USB(2) Serial Link (COM4)", 4},
          P{"Prolific USB-to-Serial Comm Port (COM256)", 256}, P{"Port (COM0)", 0},
          P{"/dev/pts/3 (COM9)", 9}, P{"Port (COM7", 0}, P{"Port COM7", 0},
          P{"Port (COM12abc)", 12}, P{"Port (COMx)", 0}, P{"Port (COM99999999999999999999)", 0},
          P{"Port (COM00012)", 12}, P{"", 0}})
        EXPECT_EQ(scan::fn_find_COMx_3092(name), com) << name;
}

class Discovery : public SweepTest {};

// No devices: every file empty; without a port watch (the batch run, a test) the hotplug timer
// stays off. Then two adapters, found by the search button: the plain one enumerated first as
// COM3, the Prolific one as COM7. The Prolific test logs the characters it matched.
TEST_F(Discovery, PutsProlificFirstAndWritesEveryFile) {
    Put("COM__Exist.txt", "4\n");  // from an earlier run
    Put("YN_log_dbg.txt", "1 0");
    Start();
    for (const char* file : {"Dev_Mng_00_All_DEV.txt", "Dev_Mng_01_All_COM.txt",
                             "Dev_Mng_02_COM_IS_Prolific.txt", "Dev_Mng_03_COM_NOT_Prolific.txt",
                             "Dev_Mng_04_COM_Prolific_First.txt", "COM__Exist.txt"}) {
        EXPECT_TRUE(fs::exists(file)) << file;
        EXPECT_EQ(Slurp(file), "") << file;
    }
    EXPECT_TRUE(ComList().empty());
    EXPECT_EQ(Attr("THOTPLUG", ui::ATTR_ENABLED), 0);

    AddPort(3);
    AddPort(7);
    deviceList.names = {"ACPI x64-based PC", "USB Serial Port (COM3)", "ECP Printer Port (LPT1)",
                        "Prolific USB-to-Serial Comm Port (COM7)", "Port (COM300)"};
    rt.UserPress(ctx.gvtpScan, Ctrl("SEARCH"));
    EXPECT_EQ(Slurp("Dev_Mng_00_All_DEV.txt"),
              "ACPI x64-based PC\nUSB Serial Port (COM3)\nECP Printer Port (LPT1)\n"
              "Prolific USB-to-Serial Comm Port (COM7)\nPort (COM300)\n");
    EXPECT_EQ(Slurp("Dev_Mng_01_All_COM.txt"),
              "USB Serial Port (COM3)\nProlific USB-to-Serial Comm Port (COM7)\n");
    EXPECT_EQ(Slurp("Dev_Mng_02_COM_IS_Prolific.txt"), "Prolific USB-to-Serial Comm Port (COM7)\n");
    EXPECT_EQ(Slurp("Dev_Mng_03_COM_NOT_Prolific.txt"), "USB Serial Port (COM3)\n");
    EXPECT_EQ(Slurp("Dev_Mng_04_COM_Prolific_First.txt"),
              "Prolific USB-to-Serial Comm Port (COM7)\nUSB Serial Port (COM3)\n");
    EXPECT_EQ(Slurp("COM__Exist.txt"), "7\n3\n");
    EXPECT_EQ(ComList(), (Items{{"Prolific USB-to-Serial Comm Port (COM7)", 7},
                                {"USB Serial Port (COM3)", 3}}));
    // The open test leaves no port open.
    EXPECT_FALSE(com.IsOpen(scan::kPort222));

    scan::Log::Create(ctx);
    EXPECT_EQ(scan::fn_find_COMx_Prolific(ctx, "Prolific USB-to-Serial Comm Port (COM3)"), 1);
    EXPECT_EQ(scan::fn_find_COMx_Prolific(ctx, "PProlific (COM4)"), 0);
    EXPECT_EQ(scan::fn_find_COMx_Prolific(ctx, "prolific (COM5)"), 0);
    // "Prolific" whole; then for "PProlific" only the first P matches, and nothing after.
    EXPECT_EQ(Log(), "ProlificP");
}

// Ports that do not open are left out. A name longer than a 255-character line buffer is kept
// whole, so its port is still found. A port this user may not open is listed, marked, said in
// the log and left out of the scan targets; choosing it sweeps it, and the sweep's open says
// the remedy before its report, and the sweep stops at that first probe.
TEST_F(Discovery, LeavesOutPortsThatDoNotOpenAndMarksThoseWithoutPermission) {
    AddPort(3);
    AddPort(5);
    AddPort(6);
    // COM5 is held by another program; COM8 is listed but gone.
    serial::Rs232 other(backend,
                        serial::ComMapEnv{"/virtual", [](const std::string&) { return true; }});
    ASSERT_EQ(other.OpenComConfig(1, "COM5", 9600, 0, 8, 1), 0);
    const std::string denied =
        "Permission denied: /dev/ttyUSB0 belongs to group dialout; add your user to it (sudo "
        "usermod -aG dialout $USER) and log in again";
    backend.SayOnOpen("/virtual/COM6", serial::kErrPermission, {denied, true});
    const std::string name = std::string(300, 'x') + " (COM3)";
    deviceList.names = {name, "USB Serial Port (COM5)", "FTDI FT232R USB UART (COM6)",
                        "USB Serial Port (COM8)"};
    Start();
    EXPECT_EQ(
        Slurp("Dev_Mng_04_COM_Prolific_First.txt"),
        name + "\nUSB Serial Port (COM5)\nFTDI FT232R USB UART (COM6)\nUSB Serial Port (COM8)\n");
    EXPECT_EQ(Slurp("COM__Exist.txt"), "3\n");
    EXPECT_EQ(ComList(), (Items{{name, 3}, {"FTDI FT232R USB UART (COM6) [no permission]", 6}}));
    EXPECT_NE(Slurp("log.txt").find("COM6 :: " + denied + "\n"), std::string::npos);

    // Freed, the port is found again by the search button, and the list is rebuilt, not added to.
    other.CloseCom(1);
    rt.UserPress(ctx.gvtpScan, Ctrl("SEARCH"));
    EXPECT_EQ(Slurp("COM__Exist.txt"), "3\n5\n");
    EXPECT_EQ(ComList().size(), 3u);

    rt.UserSelectIndex(ctx.gvtpScan, Ctrl("COM_LIST"), 2);
    EXPECT_EQ(Slurp("COM__Exist.txt"), "6\n");
    EXPECT_EQ(Tick(), -1);
    EXPECT_FALSE(TimerOn());
    EXPECT_EQ(Popups(fe), (Shown{{"Open COM6", denied},
                                 {"M1__Scan_Dev :: 8902301", "Open COM NG :: err code : -4"}}));
    // The report goes to the log whatever the switches (off here).
    const std::string log = Log();
    EXPECT_NE(log.find("Open COM ( P222,   COM6, 19200, 0, 8, 1 ) \topen NG :: "),
              std::string::npos);
    EXPECT_TRUE(log.ends_with(kStars + " M1__Scan_Dev :: 8902301 \n" + kStars +
                              " Open COM NG :: err code : -4 \n\n"))
        << log;
}

// A file that cannot be created (a folder, or a FIFO, in its place) is reported with a popup;
// discovery goes on and never waits on a FIFO.
TEST_F(Discovery, ReportsAFileItCannotCreateAndEndsOnAListItCannotClear) {
    Put("YN_log_dbg.txt", "0 1");
    Start();
    AddPort(3);
    deviceList.names = {"USB Serial Port (COM3)"};
    // The list is built from the all-devices file: without it there is nothing to list.
    // The file's name, what is in its place, the popup's title, the ports listed.
    using Case = std::tuple<const char*, const char*, const char*, std::size_t>;
    for (auto [name, what, title, listed] :
         {Case{"COM__Exist.txt", "dir", "M1__Scan_COM :: 9102", 1},
          Case{"COM__Exist.txt", "fifo", "M1__Scan_COM :: 9102", 1},
          Case{"Dev_Mng_00_All_DEV.txt", "fifo", "M1__Scan_COM :: 9100", 0}}) {
        SCOPED_TRACE(name);
        fe.ClearPopups();
        std::optional<test_support::FifoGuard> guard;
        Place(name, what, guard);
        EXPECT_EQ(scan::ComList::Discover_Ports(ctx), 0);
        EXPECT_FALSE(guard && guard->HadToFree()) << "the discovery waited on " << name;
        guard.reset();
        fs::remove(name);
        EXPECT_EQ(Popups(fe), (Shown{{title, std::string("open file NG :: ") + name}}));
        EXPECT_EQ(ComList().size(), listed);
    }
    // A list that cannot be cleared ends the run before "COM__Exist.txt" is touched.
    Put("COM__Exist.txt", "4\n");
    ctx.gvtpScan = 9999;  // no such panel
    EXPECT_EQ(scan::ComList::Discover_Ports(ctx), -1);
    EXPECT_EQ(Slurp("Dev_Mng_04_COM_Prolific_First.txt"), "USB Serial Port (COM3)\n");
    EXPECT_EQ(Slurp("COM__Exist.txt"), "4\n");
    EXPECT_NE(Slurp("log.txt").find("ClearList err -"), std::string::npos);
}

const std::vector<std::pair<int, int>> kProbeOrder = {
    {3, 0}, {3, 1}, {3, 2}, {3, 3}, {2, 0}, {2, 1}, {2, 2}, {2, 3},
    {1, 0}, {1, 1}, {1, 2}, {1, 3}, {0, 0}, {0, 1}, {0, 2}, {0, 3}};

// What the table shows while probing (baud, parity, stop bits) for a pair of indices.
std::tuple<int, int, int> Probing(std::pair<int, int> indices) {
    const int rtu = indices.second;
    return {2400 << indices.first, rtu == 2 ? 1 : rtu == 3 ? 2 : 0, rtu == 1 ? 2 : 1};
}

class Sweep : public SweepTest {};

TEST_F(Sweep, InstrumentAt9600EvenParityIsFoundOnTheEighthProbeAndHandedToTarnel) {
    sim::Instrument& inst = AddInstrument(5, 0x68, 2, 3, 7);
    Start();
    Press("AUTO_SCAN");
    EXPECT_EQ(Text("STATUS"), "Scanning");
    EXPECT_EQ(Attr("STATUS", ui::ATTR_TEXT_COLOR), 0x0000FF);
    EXPECT_EQ(Attr("COM_PARA", ui::ATTR_DIMMED), 0);
    EXPECT_EQ(Indices(), std::make_pair(-1, -1));
    ASSERT_TRUE(TimerOn());

    for (int probe = 0; probe < 7; ++probe) {
        ASSERT_EQ(Tick(), -1) << "probe " << probe + 1;
        // The table keeps the probing settings, never the fixed ones of the reopen.
        const auto [baud, parity, stop] = Probing(kProbeOrder[probe]);
        EXPECT_EQ(Table(), std::make_tuple(std::string("COM5"), baud, parity, 8, stop));
        EXPECT_EQ(Indices(), kProbeOrder[probe + 1]);
    }
    inst.TakeLog();
    ASSERT_EQ(Tick(), 0);

    // The broadcast was heard at 9600 8E1, the model code answered at 19200 8N2 station 1.
    const auto& log = inst.Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front().outcome, sim::Outcome::kBroadcast);
    EXPECT_EQ(log.front().settings, sim::LinkSettings(2, 3));
    EXPECT_EQ(log.front().request, (sim::Bytes{0x00, 0x05, 0x0A, 0x07, 0x6C, 0x2E, 0xD3, 0x1E}));
    EXPECT_EQ(log.back().outcome, sim::Outcome::kAnswered);
    EXPECT_EQ(log.back().request, (sim::Bytes{0x01, 0x03, 0x1F, 0x00, 0x00, 0x01, 0x83, 0xDE}));
    EXPECT_EQ(log.back().settings, sim::LinkSettings(3, 1));

    // The fixed settings are recorded, not the ones the instrument was found at.
    EXPECT_EQ(Slurp("COM_Dev_use.txt"), "5\n3\n0\n8\n2\n6802");
    EXPECT_EQ(launcher.calls, (Calls{{"Tarnel.exe", {}}}));
    EXPECT_TRUE(fe.QuitRequested());
    EXPECT_TRUE(fe.Popups().empty());
    const std::string text = Log();
    for (const char* line :
         {"Mcode(HW+FW) : 0x6802 \n\xA1\xF2 TTarnel off (self) \n\n",
          "Open COM ( P222,   COM5, 9600, 2, 8, 1 ) \tSet Com Time (s) : 0.500000\n",
          "Open COM ( P222,   COM5, 19200, 0, 8, 2 ) \t"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

// With the log switch on, each probe logs its open, then what it does on the line.
TEST_F(Sweep, SixteenthProbeIs2400Format3ThenTheNextPortStartsAt19200Format0) {
    Put("YN_log_dbg.txt", "1 0");
    AddPort(3);  // where nothing answers
    deviceList.names.push_back("Port (COM3)");
    AddInstrument(4, 0x69, 3, 0, 1);
    Start();
    EXPECT_EQ(Slurp("COM__Exist.txt"), "3\n4\n");
    Press("AUTO_SCAN");
    const double before = fe.VirtualClock().Now();
    for (int probe = 0; probe < 16; ++probe) {
        ASSERT_EQ(Indices(), probe == 0 ? std::make_pair(-1, -1) : kProbeOrder[probe]);
        ASSERT_EQ(Tick(), -1);
        const auto [baud, parity, stop] = Probing(kProbeOrder[probe]);
        EXPECT_EQ(Table(), std::make_tuple(std::string("COM3"), baud, parity, 8, stop));
    }
    const std::string text = Log();
    const size_t at = text.find(std::string(76, '=') +
                                "\nOpen COM ( P222,   COM3, 19200, 0, 8, 1 ) \tSet Com Time (s) : "
                                "0.500000\n\tForce write ID and BR\n");
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_NE(text.find("Open COM ( P222,   COM3, 19200, 0, 8, 2 ) \tSet Com Time (s) : "
                        "0.500000\n\tTry read Mcode(HW+FW)\n",
                        at),
              std::string::npos);
    // Six unanswered exchanges per probe, each its time-out and settling wait.
    EXPECT_GT(fe.VirtualClock().Now() - before, 16 * 3.2);
    EXPECT_EQ(Indices(), std::make_pair(-1, 0));
    ASSERT_TRUE(TimerOn());
    ASSERT_EQ(Tick(), 0);
    EXPECT_EQ(Slurp("COM_Dev_use.txt"), "4\n3\n0\n8\n2\n6903");
    EXPECT_EQ(launcher.calls, (Calls{{"Ombrel.exe", {}}}));
}

// No targets: the first tick says so. No target file: the start says so and nothing ticks.
TEST_F(Sweep, EmptyMissingOrUnopenableTargetsEndTheSweep) {
    Start();
    Press("AUTO_SCAN");
    EXPECT_EQ(Slurp("COM__Exist.txt"), "");
    ASSERT_EQ(Tick(), 0);
    EXPECT_EQ(Text("STATUS"), "Device not found");
    EXPECT_EQ(Attr("STATUS", ui::ATTR_TEXT_COLOR), 0xFF0000);
    EXPECT_EQ(Attr("COM_PARA", ui::ATTR_DIMMED), 1);
    EXPECT_FALSE(TimerOn());
    EXPECT_TRUE(launcher.calls.empty());

    std::filesystem::remove("COM__Exist.txt");
    EXPECT_EQ(scan::ScanDev__to_start(ctx), -1);
    EXPECT_FALSE(TimerOn());
    EXPECT_EQ(Popups(fe), (Shown{{"M1__Scan_Dev :: 5521967", "open file NG :: COM__Exist.txt"}}));

    // A line whose device goes once written to: the failed reopen repeats the same combination
    // on every tick.
    UnpluggedAfterWrite line;
    Attach(2, &line);
    fe.ClearPopups();
    Put("COM__Exist.txt", "2\n");
    ASSERT_EQ(scan::ScanDev__to_start(ctx), 0);
    for (int round = 1; round <= 2; ++round) {
        line.gone = false;
        EXPECT_EQ(Tick(), -1);
        EXPECT_TRUE(TimerOn());
        EXPECT_EQ(Indices(), std::make_pair(3, 0));
        ASSERT_EQ(fe.Popups().size(), static_cast<size_t>(round));
        EXPECT_EQ(fe.Popups().back().title, "M1__Scan_Dev :: 8902302");
    }
}

// ESC leaves the indices and a new start begins at the first port; choosing a list item sweeps
// that port alone.
TEST_F(Sweep, EscLeavesTheIndicesAndAListItemIsSweptAlone) {
    AddPort(3);  // where nothing answers
    deviceList.names.push_back("Port (COM3)");
    AddInstrument(8, 0x6B, 0, 1, 200);
    Start();
    ASSERT_EQ(ComList().size(), 2u);
    Press("AUTO_SCAN");
    for (int probe = 0; probe < 3; ++probe)
        Tick();
    Press("ESC");
    EXPECT_FALSE(TimerOn());
    EXPECT_EQ(Text("STATUS"), "Scan Stoped");
    EXPECT_EQ(Attr("STATUS", ui::ATTR_TEXT_COLOR), 0x000000);
    EXPECT_EQ(Indices(), std::make_pair(3, 3));
    EXPECT_EQ(Tick(), 0);  // a stopped timer does not probe
    EXPECT_EQ(Indices(), std::make_pair(3, 3));

    Press("AUTO_SCAN");
    EXPECT_EQ(Indices(), std::make_pair(-1, -1));
    Tick();
    EXPECT_EQ(Table(), std::make_tuple(std::string("COM3"), 19200, 0, 8, 1));
    EXPECT_EQ(Indices(), std::make_pair(3, 1));

    Press("ESC");
    rt.UserSelectIndex(ctx.gvtpScan, Ctrl("COM_LIST"), 1);
    EXPECT_EQ(Slurp("COM__Exist.txt"), "8\n");
    EXPECT_EQ(Text("STATUS"), "Scanning");
    ASSERT_TRUE(TimerOn());
    int probes = 0;
    for (; !fe.QuitRequested() && TimerOn() && probes < 20; ++probes)
        Tick();
    EXPECT_EQ(probes, 14);  // 2400 baud, format 1
    EXPECT_EQ(Slurp("COM_Dev_use.txt"), "8\n3\n0\n8\n2\n6b03");
    EXPECT_EQ(launcher.calls, (Calls{{"Ombrel.exe", {}}}));
}

// A found instrument that starts nothing leaves Scan open and its timer off: one of an unknown
// model (its settings recorded), or one whose settings file cannot be written.
TEST_F(Sweep, FoundButNotHandedOverLeavesScanOpen) {
    AddInstrument(5, 0x6C, 3, 1, 1);
    AddInstrument(6, 0x68, 3, 1, 1);
    Start();
    Press("AUTO_SCAN");
    ASSERT_EQ(Tick(), 0);
    EXPECT_EQ(Text("STATUS"), "Device was found");
    EXPECT_EQ(Attr("STATUS", ui::ATTR_TEXT_COLOR), 0x008000);
    EXPECT_EQ(Popups(fe), (Shown{{"", "Device HW model unknown"}}));
    EXPECT_EQ(Slurp("COM_Dev_use.txt").substr(0, 12), "5\n3\n0\n8\n2\n6c");
    EXPECT_FALSE(TimerOn());

    fe.ClearPopups();
    fs::remove("COM_Dev_use.txt");
    fs::create_directory("COM_Dev_use.txt");
    rt.UserSelectIndex(ctx.gvtpScan, Ctrl("COM_LIST"), 1);
    ASSERT_EQ(Tick(), 0);
    EXPECT_EQ(Popups(fe), (Shown{{"M1__Scan_Dev :: 591476", "open file NG :: COM_Dev_use.txt"}}));
    EXPECT_FALSE(fe.QuitRequested());
    EXPECT_FALSE(TimerOn());
    EXPECT_TRUE(launcher.calls.empty());
}

// A settings file is written whole, over a longer one; a FIFO or a folder in its place fails
// the record, and the record never waits on a FIFO.
TEST_F(Sweep, RecordWritesTheFileWithoutALineEndAfterTheModelCode) {
    Start();
    Put("COM_Dev_use.txt", "an older, longer settings file that must not leave a tail\n");
    EXPECT_EQ(scan::mf_Port_Dev__Record(ctx, 256, 3, 0, 8, 2, 0x0009), 0);
    EXPECT_EQ(Slurp("COM_Dev_use.txt"), "256\n3\n0\n8\n2\n0009");
    std::optional<test_support::FifoGuard> fifo;
    Place("COM_Dev_use.txt", "fifo", fifo);
    EXPECT_EQ(scan::mf_Port_Dev__Record(ctx, 7, 3, 0, 8, 2, 0x6801), -1);
    EXPECT_FALSE(fifo->HadToFree()) << "the record waited on a FIFO";
    fifo.reset();
    fs::remove("COM_Dev_use.txt");
    Place("COM_Dev_use_COMMENT.txt", "dir", fifo);
    EXPECT_EQ(scan::mf_Port_Dev__Record(ctx, 1, 3, 0, 8, 2, 0x6801), -1);
}

// The file decides, and the configurator starts after Scan has closed. A hand-over that starts
// nothing says why in one popup, the log names a bad file, and Scan stays open; a FIFO at the
// file's name is neither read nor waited on.
TEST_F(Sweep, HandOverStartsTheConfiguratorOfTheFileOrSaysWhyNot) {
    Start();
    const Shown noFile{{"M1__Scan_Dev :: 591475", "open file NG :: COM_Dev_use.txt"}};
    const Shown unknown{{"", "Device HW model unknown"}};
    const std::string mark = kStars + " ";
    const std::string report =
        mark + "M1__Scan_Dev :: 591475 \n" + mark + "open file NG :: COM_Dev_use.txt \n\n";
    const struct {
        const char* file;     // nullptr: no settings file
        const char* program;  // the configurator started, "" for none
        bool missing;         // it is not installed
        int result;
        Shown popups;
        std::string logged;
    } cases[] = {
        {"7\n3\n0\n8\n2\n6702", "", false, 0, unknown, ""},
        {"7\n3\n0\n8\n2\nTarnel", "", false, 0, unknown,
         mark + "COM_Dev_use.txt :: line 6: model code is not a number \n\n"},
        {nullptr, "", false, -1, noFile, report},
        {"fifo", "", false, -1, noFile,
         mark + "COM_Dev_use.txt :: not a regular file \n\n" + report},
        {"7\n3\n0\n8\n2\n6a41", "Tarnel.exe", false, 0, {}, ""},
        {"3\n3\n0\n8\n2\n6802", "Tarnel.exe", true, 0, {{"M1__Scan_Dev", "Launch Tarnel NG"}}, ""},
        {"3\n3\n0\n8\n2\n6b02", "Ombrel.exe", true, 0, {{"M1__Scan_Dev", "Launch Ombrel NG"}}, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file ? c.file : "(none)");
        const bool launched = *c.program != 0;
        launcher.missing = {c.missing ? c.program : ""};
        launcher.calls.clear();
        fe.ClearPopups();
        const std::size_t logged = Log().size();
        std::optional<test_support::FifoGuard> fifo;
        Place("COM_Dev_use.txt", c.file, fifo);
        EXPECT_EQ(scan::fn_Distribute(ctx), c.result);
        EXPECT_FALSE(fifo && fifo->HadToFree()) << "the hand-over waited on a FIFO";
        fifo.reset();
        EXPECT_EQ(launcher.calls, (launched ? Calls{{c.program, {}}} : Calls{}));
        EXPECT_EQ(fe.QuitRequested(), launched);
        EXPECT_EQ(rt.GetPanel(ctx.gvG1) == nullptr, launched);
        EXPECT_EQ(ctx.gr, c.missing ? sys::kLaunchNotFound : 0);
        EXPECT_EQ(Popups(fe), c.popups);
        EXPECT_EQ(Log().substr(logged), c.logged);
    }
}

}  // namespace

// Ports plugged in while Scan is open: a watch on a device folder and a COM folder of the
// test's own, polled by the hotplug timer on the virtual clock.
using Hotplug = ScanTest;

TEST_F(Hotplug, PortsThatComeOrGoAreListedWithinTwoSecondsOrAfterASweep) {
    const fs::path dev = root_ / "dev", comDir = root_ / "comports";
    fs::create_directories(dev);
    serial::PortWatch watch(dev.string(), comDir.string());
    ctx.portWatch = &watch;
    AddPort(3);
    deviceList.names = {"USB Serial Port (COM3)"};
    Start();
    // A pseudo-terminal linked as COM<n>, as the simulator places itself.
    const auto plugLink = [&](int n) {
        AddPort(n);
        fs::create_directories(comDir);
        fs::create_symlink("/dev/pts/" + std::to_string(n), comDir / ("COM" + std::to_string(n)));
        deviceList.names.push_back("/dev/pts/" + std::to_string(n) + " (COM" + std::to_string(n) +
                                   ")");
    };
    // The discovery ran when it rewrote its list of scan targets.
    const auto refreshed = [] { return fs::remove("COM__Exist.txt"); };
    ASSERT_TRUE(refreshed());  // the start-up's own discovery
    fe.AdvanceTime(2.0);
    EXPECT_FALSE(refreshed());  // nothing changed, nothing done

    plugLink(9);
    fe.AdvanceTime(2.0);
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(ComList(), (Items{{"USB Serial Port (COM3)", 3}, {"/dev/pts/9 (COM9)", 9}}));
    EXPECT_FALSE(refreshed());

    // A USB adapter pulled: its tty goes from the device folder.
    Put((dev / "ttyUSB0").string(), "");
    fe.AdvanceTime(0.5);
    EXPECT_TRUE(refreshed());
    deviceList.names = {"/dev/pts/9 (COM9)"};
    fs::remove(dev / "ttyUSB0");
    fe.AdvanceTime(0.5);
    EXPECT_TRUE(refreshed());
    EXPECT_EQ(ComList(), (Items{{"/dev/pts/9 (COM9)", 9}}));

    // Nothing is refreshed during a sweep; what came meanwhile is listed after it.
    rt.UserPress(ctx.gvtpScan, Ctrl("AUTO_SCAN"));
    ASSERT_TRUE(refreshed());
    plugLink(10);
    const int hotplug = Ctrl("THOTPLUG");
    for (int i = 0; i < 4; ++i)
        rt.TimerTick(ctx.gvtpScan, hotplug);
    EXPECT_FALSE(refreshed());
    EXPECT_EQ(ComList().size(), 1u);

    rt.UserPress(ctx.gvtpScan, Ctrl("ESC"));
    rt.TimerTick(ctx.gvtpScan, hotplug);
    EXPECT_TRUE(refreshed());
    EXPECT_EQ(ComList().size(), 2u);
}

}  // namespace scantest
