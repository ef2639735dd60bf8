#pragma once
// A Scan run on the headless runtime: a fresh run-time tree (bin/ as working directory, gui/
// beside it with G1.json), its callbacks registered, ports as in-process lines under
// /virtual/COM<n>, and the device list given by the test.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/serial/enumerate.h"
#include "platform/serial/inprocess_line.h"
#include "platform/serial/rs232.h"
#include "platform/serial/scripted_device.h"
#include "platform/sys/launch.h"
#include "platform/ui/headless.h"
#include "platform/ui/runtime.h"
#include "scan/scan_context.h"
#include "scan/shell.h"

namespace scantest {

namespace fs = std::filesystem;

// The device list a test hands to the discovery.
class FakeDeviceList final : public serial::DeviceLister {
  public:
    std::vector<std::string> FriendlyNames() override { return names; }
    std::vector<std::string> PresentDeviceNames() override { return names; }
    std::vector<std::string> names;
};

class ScanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        oldDir_ = fs::current_path();
        root_ = fs::temp_directory_path() /
                ("scan_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "bin");
        fs::create_directories(root_ / "gui");
        fs::copy_file(fs::path(SUITE_GUI_SOURCE_DIR) / "G1.json", root_ / "gui" / "G1.json");
        fs::current_path(root_ / "bin");
        scan::RegisterCallbacks(ctx, registry);
    }
    void TearDown() override {
        fs::current_path(oldDir_);
        fs::remove_all(root_);
    }

    // A port COM<n> with an instrument stand-in on its line.
    serial::ScriptedDevice& AddPort(int n) {
        devices_.push_back(std::make_unique<serial::ScriptedDevice>());
        const std::string path = "/virtual/COM" + std::to_string(n);
        present_.insert(path);
        backend.Attach(path, devices_.back().get());
        return *devices_.back();
    }
    // Start-up as main runs it.
    void Start() { ASSERT_EQ(scan::G1__init(ctx), 0) << rt.LastError(); }

    int Ctrl(const char* name) {
        int id = rt.FindCtrl(ctx.gvtpScan, name);
        EXPECT_GT(id, 0) << name;
        return id;
    }
    int Item(const char* name) { return rt.FindMenuItem(rt.GetPanelMenuBar(ctx.gvG1), name); }
    std::string Text(const char* name) {
        std::string text;
        rt.GetCtrlVal(ctx.gvtpScan, Ctrl(name), &text);
        return text;
    }
    std::string Label(const char* name) {
        std::string text;
        rt.GetCtrlAttribute(ctx.gvtpScan, Ctrl(name), ui::ATTR_LABEL_TEXT, &text);
        return text;
    }
    std::string MenuText(const char* name) {
        std::string text;
        rt.GetMenuBarAttribute(rt.GetPanelMenuBar(ctx.gvG1), Item(name), ui::ATTR_ITEM_NAME, &text);
        return text;
    }
    int Checked(const char* name) {
        int checked = -1;
        rt.GetMenuBarAttribute(rt.GetPanelMenuBar(ctx.gvG1), Item(name), ui::ATTR_CHECKED,
                               &checked);
        return checked;
    }
    // The COM list as (label, value) pairs.
    std::vector<std::pair<std::string, int>> ComList() {
        std::vector<std::pair<std::string, int>> items;
        const int list = Ctrl("COM_LIST");
        int count = 0;
        rt.GetNumListItems(ctx.gvtpScan, list, &count);
        for (int i = 0; i < count; ++i) {
            std::string label;
            int value = 0;
            rt.GetLabelFromIndex(ctx.gvtpScan, list, i, &label);
            rt.GetValueFromIndex(ctx.gvtpScan, list, i, &value);
            items.emplace_back(label, value);
        }
        return items;
    }
    static std::string Slurp(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void Put(const std::string& path, const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
    }

    ui::CallbackRegistry registry;
    ui::HeadlessFrontEnd fe;
    ui::Runtime rt{fe, registry};
    sys::RecordingLauncher launcher;
    serial::InProcessBackend backend{fe.VirtualClock()};
    std::set<std::string> present_;
    serial::Rs232 com{backend, serial::ComMapEnv{"/virtual", [this](const std::string& p) {
                                                     return present_.count(p) != 0;
                                                 }}};
    FakeDeviceList deviceList;
    scan::ScanContext ctx{rt, launcher, com, deviceList};
    std::vector<std::unique_ptr<serial::ScriptedDevice>> devices_;
    fs::path oldDir_, root_;
};

}  // namespace scantest
