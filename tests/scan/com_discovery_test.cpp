// Port discovery: friendly names, the Prolific-first order, the "Dev_Mng_" files, the open
// test and "COM__Exist.txt".

#include "scan/com_discovery.h"

#include <optional>

#include "platform/serial/port_watch.h"
#include "platform/serial/serial_error.h"
#include "popups.h"
#include "scan/scan_log.h"
#include "tests/support/fifo_guard.h"
#include "tests/support/fixtures.h"

namespace scantest {
namespace {

using Items = std::vector<std::pair<std::string, int>>;

struct NameCase {
    const char* name;
    int com;
};

class ComNumber : public ::testing::TestWithParam<NameCase> {};

TEST_P(ComNumber, OfFriendlyName) {
    EXPECT_EQ(scan::fn_find_COMx_3092(GetParam().name), GetParam().com) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, ComNumber,
    ::testing::Values(NameCase{"Communications Port (COM1)", 1},
                      NameCase{"USB Serial Port (COM12)", 12},
                      NameCase{"ECP Printer Port (LPT1)", 0}, NameCase{"Port (COM300)", 0},
                      NameCase{"USB(2) Serial Link (COM4)", 4},
                      NameCase{"Prolific USB-to-Serial Comm Port (COM256)", 256},
                      NameCase{"Port (COM0)", 0}, NameCase{"/dev/pts/3 (COM9)", 9},
                      NameCase{"Port (COM7", 0}, NameCase{"Port COM7", 0},
                      NameCase{"Port (COM12abc)", 12}, NameCase{"Port (COMx)", 0},
                      NameCase{"Port (COM99999999999999999999)", 0},
                      NameCase{"Port (COM00012)", 12}, NameCase{"", 0}));

class Discovery : public SweepTest {};

TEST_F(Discovery, ProlificTestLogsItsMatchedCharacters) {
    Put("YN_log_dbg.txt", "1 0");
    scan::Log::init(ctx);
    scan::Log::Create(ctx);
    EXPECT_EQ(scan::fn_find_COMx_Prolific(ctx, "Prolific USB-to-Serial Comm Port (COM3)"), 1);
    EXPECT_EQ(scan::fn_find_COMx_Prolific(ctx, "PProlific (COM4)"), 0);
    EXPECT_EQ(scan::fn_find_COMx_Prolific(ctx, "prolific (COM5)"), 0);
    ctx.gpLog.Close();
    // "Prolific" whole; then for "PProlific" only the first P matches, and nothing after.
    EXPECT_EQ(Slurp("log.txt"), "ProlificP");
}

// No devices: every file empty; without a port watch (the batch run, a test) the hotplug timer
// stays off. Then two adapters, found by the search button: the plain one enumerated first as
// COM3, the Prolific one as COM7.
TEST_F(Discovery, PutsProlificFirstAndWritesEveryFile) {
    Put("COM__Exist.txt", "4\n");  // from an earlier run
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
}

// Ports that do not open are left out. A name longer than a 255-character line buffer is kept
// whole, so its port is still found. A port this user may not open is listed, marked, said in
// the log and left out of the scan targets; choosing it sweeps it, and the sweep's open says
// the remedy before its report.
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
    EXPECT_EQ(Popups(fe), (Shown{{"Open COM6", denied},
                                 {"M1__Scan_Dev :: 8902301", "Open COM NG :: err code : -4"}}));
}

// A file that cannot be created (a folder, or a FIFO, in its place) is reported with a popup;
// discovery goes on and never waits on a FIFO.
TEST_F(Discovery, ReportsAFileItCannotCreateAndEndsOnAListItCannotClear) {
    Put("YN_log_dbg.txt", "0 1");
    Start();
    AddPort(3);
    deviceList.names = {"USB Serial Port (COM3)"};
    // The list is built from the all-devices file: without it there is nothing to list.
    const struct {
        const char* name;
        bool fifo;
        const char* title;
        std::size_t listed;
    } cases[] = {{"COM__Exist.txt", false, "M1__Scan_COM :: 9102", 1},
                 {"COM__Exist.txt", true, "M1__Scan_COM :: 9102", 1},
                 {"Dev_Mng_00_All_DEV.txt", true, "M1__Scan_COM :: 9100", 0}};
    for (const auto& [name, fifo, title, listed] : cases) {
        SCOPED_TRACE(name);
        fe.ClearPopups();
        fs::remove(name);
        std::optional<test_support::FifoGuard> guard;
        if (fifo) {
            guard.emplace(name);
            ASSERT_TRUE(guard->Made());
        } else {
            fs::create_directory(name);
        }
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

}  // namespace
// Ports plugged in while Scan is open: a watch on a device folder and a COM folder of the
// test's own, polled by the hotplug timer on the virtual clock.
class Hotplug : public ScanTest {
  protected:
    void SetUp() override {
        ScanTest::SetUp();
        fs::create_directories(dev);
        watch = std::make_unique<serial::PortWatch>(dev.string(), comDir.string());
        ctx.portWatch = watch.get();
        AddPort(3);
        deviceList.names = {"USB Serial Port (COM3)"};
        Start();
    }
    // A pseudo-terminal linked as COM<n>, as the simulator places itself.
    void PlugLink(int n) {
        AddPort(n);
        fs::create_directories(comDir);
        fs::create_symlink("/dev/pts/" + std::to_string(n), comDir / ("COM" + std::to_string(n)));
        deviceList.names.push_back("/dev/pts/" + std::to_string(n) + " (COM" + std::to_string(n) +
                                   ")");
    }
    // The discovery ran when it rewrote its list of scan targets.
    bool Refreshed() {
        const bool written = fs::exists("COM__Exist.txt");
        fs::remove("COM__Exist.txt");
        return written;
    }

    fs::path dev = root_ / "dev";
    fs::path comDir = root_ / "comports";
    std::unique_ptr<serial::PortWatch> watch;
};

TEST_F(Hotplug, PortsThatComeOrGoAreListedWithinTwoSecondsOrAfterASweep) {
    ASSERT_TRUE(Refreshed());  // the start-up's own discovery
    fe.AdvanceTime(2.0);
    EXPECT_FALSE(Refreshed());  // nothing changed, nothing done

    PlugLink(9);
    fe.AdvanceTime(2.0);
    ASSERT_TRUE(Refreshed());
    EXPECT_EQ(ComList(), (Items{{"USB Serial Port (COM3)", 3}, {"/dev/pts/9 (COM9)", 9}}));
    EXPECT_FALSE(Refreshed());

    // A USB adapter pulled: its tty goes from the device folder.
    Put((dev / "ttyUSB0").string(), "");
    fe.AdvanceTime(0.5);
    EXPECT_TRUE(Refreshed());
    deviceList.names = {"/dev/pts/9 (COM9)"};
    fs::remove(dev / "ttyUSB0");
    fe.AdvanceTime(0.5);
    EXPECT_TRUE(Refreshed());
    EXPECT_EQ(ComList(), (Items{{"/dev/pts/9 (COM9)", 9}}));

    // Nothing is refreshed during a sweep; what came meanwhile is listed after it.
    rt.UserPress(ctx.gvtpScan, Ctrl("AUTO_SCAN"));
    ASSERT_TRUE(Refreshed());
    PlugLink(10);
    const int hotplug = Ctrl("THOTPLUG");
    for (int i = 0; i < 4; ++i)
        rt.TimerTick(ctx.gvtpScan, hotplug);
    EXPECT_FALSE(Refreshed());
    EXPECT_EQ(ComList().size(), 1u);

    rt.UserPress(ctx.gvtpScan, Ctrl("ESC"));
    rt.TimerTick(ctx.gvtpScan, hotplug);
    EXPECT_TRUE(Refreshed());
    EXPECT_EQ(ComList().size(), 2u);
}

}  // namespace scantest
