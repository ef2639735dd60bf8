#pragma once
// A Tarnel run on the headless runtime: a fresh run-time tree (bin/ as working directory,
// gui/ beside it), the program's callbacks registered and start-up done.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "../support/headless_com5.h"
#include "models/model.h"
#include "shell/callbacks.h"
#include "shell/main_panel.h"

namespace tarneltest {

namespace fs = std::filesystem;

// A configurator of the given model (Tarnel's by default) with its panel resource.
class TarnelTest : public ::testing::Test, protected conf_test::HeadlessCom5 {
  protected:
    explicit TarnelTest(const conf::Model& model = conf::ModelA()) : HeadlessCom5(model) {}
    void SetUp() override {
        oldDir_ = fs::current_path();
        root_ = fs::temp_directory_path() /
                ("tarnel_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "bin");
        fs::create_directories(root_ / "gui");
        const std::string panelFile = fs::path(ctx.model.id.panelResource).filename();
        fs::copy_file(fs::path(SUITE_GUI_SOURCE_DIR) / panelFile, root_ / "gui" / panelFile);
        fs::current_path(root_ / "bin");
        conf::RegisterCallbacks(ctx, registry);
        backend.Attach("/virtual/COM5", &device);
        ctx.com = &com;
    }
    void TearDown() override {
        fs::current_path(oldDir_);
        fs::remove_all(root_);
    }
    // Start-up as main runs it.
    void Start() { ASSERT_EQ(conf::MainPanel::init(ctx), 0) << rt.LastError(); }

    int Id(int panel, const char* name) {
        int id = rt.FindCtrl(panel, name);
        EXPECT_GT(id, 0) << name;
        return id;
    }
    // The control that has the keyboard focus, by role name ("" when none).
    std::string Focused() {
        int panel = rt.GetActivePanel();
        const ui::Control* c = rt.GetControl(panel, rt.GetActiveCtrl(panel));
        if (!c) return "";
        const char* where = panel == ctx.gvMain ? "main:" : panel == ctx.gvCFG ? "cfg:" : "cal:";
        return where + c->name;
    }
    // Enter on the focused control, as the user presses it.
    void Enter() {
        int panel = rt.GetActivePanel();
        rt.UserKeyPress(panel, rt.GetActiveCtrl(panel), ui::VAL_ENTER_VKEY);
    }
    static std::string Slurp(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path oldDir_, root_;
};

}  // namespace tarneltest
