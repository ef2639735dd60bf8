// Scan's sweep on the headless runtime over the termios serial layer, against instrument-sim
// in another process on a pseudo-terminal (COM5 in a COM folder of the test's own), in real
// time. A pseudo-terminal carries baud rate and stop bits, so the instrument at 19200 8N2 is
// deaf to the first probe (8N1) and found by the second, then answers at station 1.

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../support/child_process.h"
#include "platform/serial/com_map.h"
#include "platform/serial/enumerate.h"
#include "platform/serial/rs232.h"
#include "platform/serial/termios_port.h"
#include "platform/sys/launch.h"
#include "platform/ui/headless.h"
#include "platform/ui/runtime.h"
#include "scan/scan_context.h"
#include "scan/scan_dev.h"
#include "scan/shell.h"

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class Names final : public serial::DeviceLister {
  public:
    std::vector<std::string> FriendlyNames() override { return names; }
    std::vector<std::string> PresentDeviceNames() override { return names; }
    std::vector<std::string> names;
};

class ScanOnAPty : public ::testing::Test {
  protected:
    void SetUp() override {
        oldDir = fs::current_path();
        fs::remove_all(root);
        fs::create_directories(root / "bin");
        fs::create_directories(comDir);
        fs::copy(SUITE_GUI_SOURCE_DIR, root / "gui");
        fs::current_path(root / "bin");
        scan::RegisterCallbacks(ctx, registry);
    }
    void TearDown() override {
        com.CloseCom(scan::kPort222);
        fs::current_path(oldDir);
        fs::remove_all(root);
    }

    const fs::path root = fs::temp_directory_path() / ("scan_pty_" + std::to_string(::getpid()));
    const fs::path comDir = root / "comports";
    fs::path oldDir;
    ui::CallbackRegistry registry;
    ui::HeadlessFrontEnd fe;
    ui::Runtime rt{fe, registry};
    sys::RecordingLauncher launcher;
    serial::TermiosBackend termios;
    serial::Rs232 com{termios, serial::ComMapEnv{comDir.string(), serial::EntryExists}};
    Names names;
    scan::ScanContext ctx{rt, launcher, com, names};
    conf_test::Child sim;
};

TEST_F(ScanOnAPty, TheBroadcastMovesTheInstrumentToStationOneAndTarnelIsStarted) {
    const std::string err = (root / "sim.err").string();
    ASSERT_TRUE(sim.Spawn({INSTRUMENT_SIM_PATH, "--model", "A", "--station", "9", "--baud", "19200",
                           "--format", "8N2", "--com", "5", "--log"},
                          comDir.string(), err));
    const std::string pts = sim.FirstLine();
    ASSERT_EQ(pts.rfind("/dev/pts/", 0), 0u) << Slurp(err);
    names.names = {pts + " (COM5)"};

    ASSERT_EQ(scan::G1__init(ctx), 0) << rt.LastError();
    EXPECT_EQ(Slurp("COM__Exist.txt"), "5\n");
    rt.UserPress(ctx.gvtpScan, rt.FindCtrl(ctx.gvtpScan, "AUTO_SCAN"));
    ASSERT_EQ(Slurp("COM__Exist.txt"), "5\n");  // the same open test again
    const int timer = rt.FindCtrl(ctx.gvtpScan, "TTARNEL");
    EXPECT_EQ(rt.TimerTick(ctx.gvtpScan, timer), -1);  // 8N1: one stop bit too few
    EXPECT_EQ(rt.TimerTick(ctx.gvtpScan, timer), 0);

    EXPECT_EQ(Slurp("COM_Dev_use.txt"), "5\n3\n0\n8\n2\n6802");
    EXPECT_EQ(launcher.calls, (std::vector<sys::RecordingLauncher::Call>{{"Tarnel.exe", {}}}));
    EXPECT_TRUE(fe.QuitRequested());
    const std::string log = Slurp("log.txt");
    EXPECT_NE(log.find("Mcode(HW+FW) : 0x6802 \n"), std::string::npos) << log;
    // The instrument took the broadcast and answered the model code at station 1.
    const std::string simLog = Slurp(err);
    EXPECT_NE(simLog.find("00 05 0A 07 6C 2E D3 1E"), std::string::npos) << simLog;
    EXPECT_NE(simLog.find("01 03 1F 00 00 01 83 DE -> answered"), std::string::npos) << simLog;
}

}  // namespace
