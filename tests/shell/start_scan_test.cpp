// Start Scan: the window closes, the scanner starts, the program ends with exit code 0; a
// scanner that cannot be started is reported in the log and a popup.

#include <gtest/gtest.h>

#include "log/event_log.h"
#include "shell/start_scan.h"
#include "tarnel_fixture.h"

namespace {

using tarneltest::TarnelTest;

const std::string kLaunchFail = "\xA2\x69\xA2\x69\xA2\x69 Launch Scan.exe fail\n\n";

class StartScan : public TarnelTest {
  protected:
    // The program's run with Start Scan chosen from the menu; a later action never runs.
    int RunAndStartScan() {
        fe.Post([&] {
            fe.ClearPopups();
            conf::LogWriteAlways(ctx, "before the scanner\n");
            int bar = rt.GetPanelMenuBar(ctx.gvG104);
            rt.UserMenuSelect(bar, rt.FindMenuItem(bar, "START_SCAN"));
        });
        fe.Post([&] { laterActionRan = true; });
        return conf::Run104(ctx);
    }
    bool laterActionRan = false;
};

TEST_F(StartScan, StartsTheScannerAndEndsWithExitCodeZero) {
    EXPECT_EQ(RunAndStartScan(), 0);
    EXPECT_EQ(ctx.exitCode, 0);
    EXPECT_EQ(launcher.calls, (std::vector<sys::RecordingLauncher::Call>{{"Scan.exe", {}}}));
    EXPECT_TRUE(fe.QuitRequested());
    EXPECT_FALSE(laterActionRan);
    EXPECT_EQ(rt.GetPanel(ctx.gvG104), nullptr);
    EXPECT_EQ(rt.GetPanel(ctx.gvCAL), nullptr);
    EXPECT_TRUE(fe.Popups().empty());
    const std::string log = Slurp("log.txt");
    EXPECT_EQ(log.substr(log.size() - 19), "before the scanner\n");
}

TEST_F(StartScan, AScannerThatCannotStartIsReportedAndTheProgramStillEnds) {
    launcher.missing = {"Scan.exe"};
    EXPECT_EQ(RunAndStartScan(), 0);
    EXPECT_EQ(ctx.exitCode, 0);
    EXPECT_EQ(launcher.calls.size(), 1u);
    EXPECT_FALSE(laterActionRan);
    EXPECT_EQ(rt.GetPanel(ctx.gvG104), nullptr);
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].type, ui::HeadlessFrontEnd::Popup::Type::Message);
    EXPECT_EQ(fe.Popups()[0].title, "");
    EXPECT_EQ(fe.Popups()[0].text, "Launch Scan.exe fail");
    // Written whatever the log switches say (both are off here), and on disk at once.
    const std::string log = Slurp("log.txt");
    EXPECT_EQ(log.substr(log.size() - 19 - kLaunchFail.size()),
              "before the scanner\n" + kLaunchFail);
}

// Sees the log as the scanner would find it when it starts.
class LogReadingLauncher final : public sys::Launcher {
  public:
    int Launch(const std::string& program, const std::vector<std::string>&) override {
        started = program;
        std::ifstream in("log.txt", std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        logAtLaunch = s.str();
        return 0;
    }
    std::string started, logAtLaunch;
};

TEST_F(StartScan, TheLogIsOnDiskBeforeTheScannerStarts) {
    LogReadingLauncher peek;
    ui::HeadlessFrontEnd fe2;
    ui::CallbackRegistry registry2;
    ui::Runtime rt2(fe2, registry2);
    conf::Context ctx2(rt2, peek);
    conf::RegisterCallbacks104(ctx2, registry2);
    ASSERT_EQ(conf::mf_G104__init(ctx2), 0);
    // The traffic trace goes out unflushed.
    ctx2.gpLog.Write("last line\n");
    int bar = rt2.GetPanelMenuBar(ctx2.gvG104);
    EXPECT_EQ(rt2.UserMenuSelect(bar, rt2.FindMenuItem(bar, "START_SCAN")), 0);
    EXPECT_EQ(peek.started, "Scan.exe");
    EXPECT_EQ(ctx2.exitCode, 0);
    ASSERT_GE(peek.logAtLaunch.size(), 10u);
    EXPECT_EQ(peek.logAtLaunch.substr(peek.logAtLaunch.size() - 10), "last line\n");
}

// The scanner is not beside the test program: the system launcher finds nothing to start.
TEST_F(StartScan, WithTheSystemLauncherAMissingScannerFailsCleanly) {
    sys::SystemLauncher system;
    ui::HeadlessFrontEnd fe2;
    ui::CallbackRegistry registry2;
    ui::Runtime rt2(fe2, registry2);
    conf::Context ctx2(rt2, system);
    conf::RegisterCallbacks104(ctx2, registry2);
    ASSERT_EQ(conf::mf_G104__init(ctx2), 0);
    fe2.ClearPopups();
    EXPECT_EQ(conf::ev104Start(ctx2, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(ctx2.exitCode, 0);
    ASSERT_EQ(fe2.Popups().size(), 1u);
    EXPECT_EQ(fe2.Popups()[0].text, "Launch Scan.exe fail");
    const std::string log = Slurp("log.txt");
    EXPECT_EQ(log.substr(log.size() - kLaunchFail.size()), kLaunchFail);
}

}  // namespace
