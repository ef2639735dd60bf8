// Start Scan: the window closes, the scanner starts, the program ends with exit code 0; a
// scanner that cannot be started is reported in the log and a popup.

#include <gtest/gtest.h>

#include "log/event_log.h"
#include "models/model_a.h"
#include "models/registry.h"
#include "shell/start_scan.h"
#include "tests/support/fixtures.h"

namespace {

using tarneltest::TarnelTest;

const std::string kLaunchFail = "\xA2\x69\xA2\x69\xA2\x69 Launch Scan.exe fail\n\n";

// Run with the scanner there (false) or missing (true).
class StartScan : public TarnelTest, public ::testing::WithParamInterface<bool> {
  protected:
    // The program's run with Start Scan chosen from the menu; a later action never runs.
    int RunAndStartScan() {
        fe.Post([&] {
            fe.ClearPopups();
            conf::LogWriteAlways(ctx, "before the scanner\n");
            int bar = rt.GetPanelMenuBar(ctx.gvMain);
            rt.UserMenuSelect(bar, rt.FindMenuItem(bar, "START_SCAN"));
        });
        fe.Post([&] { laterActionRan = true; });
        return conf::RunConfigurator(ctx);
    }
    bool laterActionRan = false;
};

// A second Tarnel started with its own launcher, in the test's run-time tree.
struct TarnelWith {
    explicit TarnelWith(sys::Launcher& launcher)
        : rt(fe, registry), ctx(rt, launcher, conf::ModelA()) {
        conf::RegisterCallbacks(ctx, registry);
        EXPECT_EQ(conf::MainPanel::init(ctx), 0);
        fe.ClearPopups();
    }
    ui::HeadlessFrontEnd fe;
    ui::CallbackRegistry registry;
    ui::Runtime rt;
    conf::Context ctx;
};

TEST_P(StartScan, StartsTheScannerOrReportsItAndEndsWithExitCodeZero) {
    const bool missing = GetParam();
    if (missing) launcher.missing = {"Scan.exe"};
    EXPECT_EQ(RunAndStartScan(), 0);
    EXPECT_EQ(ctx.exitCode, 0);
    EXPECT_EQ(launcher.calls, (std::vector<sys::RecordingLauncher::Call>{{"Scan.exe", {}}}));
    EXPECT_TRUE(fe.QuitRequested());
    EXPECT_FALSE(laterActionRan);
    EXPECT_EQ(rt.GetPanel(ctx.gvMain), nullptr);
    EXPECT_EQ(rt.GetPanel(ctx.gvCAL), nullptr);
    // The failure is written whatever the log switches say (both are off here), at once.
    const std::string log = Slurp("log.txt");
    const std::string tail = "before the scanner\n" + (missing ? kLaunchFail : "");
    EXPECT_EQ(log.substr(log.size() - tail.size()), tail);
    ASSERT_EQ(fe.Popups().size(), missing ? 1u : 0u);
    if (!missing) return;
    EXPECT_EQ(fe.Popups()[0].type, ui::HeadlessFrontEnd::Popup::Type::Message);
    EXPECT_EQ(fe.Popups()[0].title, "");
    EXPECT_EQ(fe.Popups()[0].text, "Launch Scan.exe fail");
}

INSTANTIATE_TEST_SUITE_P(Scanner, StartScan, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& p) {
                             return p.param ? "Missing" : "There";
                         });

// Sees the log as the scanner would find it when it starts.
class LogReadingLauncher final : public sys::Launcher {
  public:
    int Launch(const std::string& program, const std::vector<std::string>&) override {
        started = program;
        logAtLaunch = conf_test::ReadFile("log.txt");
        return 0;
    }
    std::string started, logAtLaunch;
};

TEST_F(TarnelTest, TheLogIsOnDiskBeforeTheScannerStarts) {
    LogReadingLauncher peek;
    TarnelWith t(peek);
    // The traffic trace goes out unflushed.
    t.ctx.gpLog.Write("last line\n");
    int bar = t.rt.GetPanelMenuBar(t.ctx.gvMain);
    EXPECT_EQ(t.rt.UserMenuSelect(bar, t.rt.FindMenuItem(bar, "START_SCAN")), 0);
    EXPECT_EQ(peek.started, "Scan.exe");
    EXPECT_EQ(t.ctx.exitCode, 0);
    ASSERT_GE(peek.logAtLaunch.size(), 10u);
    EXPECT_EQ(peek.logAtLaunch.substr(peek.logAtLaunch.size() - 10), "last line\n");
}

// The scanner is not beside the test program: the system launcher finds nothing to start.
TEST_F(TarnelTest, WithTheSystemLauncherAMissingScannerFailsCleanly) {
    sys::SystemLauncher system(conf::SuitePrograms());
    TarnelWith t(system);
    EXPECT_EQ(conf::evStart(t.ctx, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(t.ctx.exitCode, 0);
    ASSERT_EQ(t.fe.Popups().size(), 1u);
    EXPECT_EQ(t.fe.Popups()[0].text, "Launch Scan.exe fail");
    const std::string log = Slurp("log.txt");
    EXPECT_EQ(log.substr(log.size() - kLaunchFail.size()), kLaunchFail);
}

}  // namespace
