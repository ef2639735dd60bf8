#pragma once
// A configurator's code on the headless runtime over the programs' serial layer (termios or
// network ports), against
// instrument-sim in another process on a pseudo-terminal (COM5 in a COM folder of the test's
// own), in real time.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "../shell/tarnel_fixture.h"
#include "../support/child_process.h"
#include "platform/serial/com_map.h"
#include "platform/serial/system_backend.h"

namespace ptytest {

namespace fs = std::filesystem;

class ConfiguratorOnAPty : public tarneltest::TarnelTest {
  protected:
    explicit ConfiguratorOnAPty(const conf::Model& model) : TarnelTest(model) {}
    void SetUp() override {
        TarnelTest::SetUp();
        comDir = (fs::current_path() / ".." / "comports").lexically_normal().string();
        errFile = (fs::current_path() / ".." / "sim.err").lexically_normal().string();
        real = std::make_unique<serial::Rs232>(backend,
                                               serial::ComMapEnv{comDir, serial::EntryExists});
        ctx.com = real.get();
    }
    void TearDown() override {
        real->CloseCom(222);
        TarnelTest::TearDown();
    }
    void RunSimulator(const char* simModel, const std::vector<std::string>& extra = {}) {
        std::vector<std::string> argv = {
            INSTRUMENT_SIM_PATH, "--model", simModel, "--com", "5", "--log"};
        argv.insert(argv.end(), extra.begin(), extra.end());
        ASSERT_TRUE(child.Spawn(argv, comDir, errFile));
        ASSERT_EQ(child.FirstLine().rfind("/dev/pts/", 0), 0u) << SimLog();
    }
    std::string SimLog() { return Slurp(errFile); }
    // Waits (in real time: the simulator is another process) for its log to hold `text`.
    bool SimLogShows(const std::string& text) {
        for (int i = 0; i < 200; ++i) {
            if (SimLog().find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    std::string Status() {
        std::string s;
        rt.GetCtrlVal(ctx.gvMain, ctx.msgCtrl, &s);
        return s;
    }
    int Press(const char* button) { return rt.UserPress(ctx.gvMain, Id(ctx.gvMain, button)); }
    int Menu(const char* item) {
        const int bar = rt.GetPanelMenuBar(ctx.gvMain);
        return rt.UserMenuSelect(bar, rt.FindMenuItem(bar, item));
    }
    std::string Log() {
        ctx.gpLog.Flush();
        return Slurp("log.txt");
    }
    const ui::Control& Main(const char* name) {
        return *rt.GetControl(ctx.gvMain, Id(ctx.gvMain, name));
    }
    const ui::Control& Cfg(const char* name) {
        return *rt.GetControl(ctx.gvCFG, Id(ctx.gvCFG, name));
    }

    std::string comDir, errFile;
    serial::SystemBackend backend;  // COM5 may be a network port
    std::unique_ptr<serial::Rs232> real;
    conf_test::Child child;
};

}  // namespace ptytest
