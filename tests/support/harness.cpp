#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include "link/session.h"
#include "scan/shell.h"
#include "shell/main_panel.h"

namespace conf_test {

void Lines::Plug(int n, serial::LineDevice* device) {
    const std::string path = "/virtual/COM" + std::to_string(n);
    present_.insert(path);
    backend.Attach(path, device);
}

Configurator::Configurator(const conf::Model& model) : ctx(rt, launcher, model) {
    Plug(5, &device);
    ctx.com = &com;
}

sim::Instrument& Configurator::AttachSim(const sim::InstrumentConfig& config) {
    inst = std::make_unique<sim::Instrument>(config, fe.VirtualClock().Now());
    simDevice = std::make_unique<sim::SimulatedDevice>(*inst);
    backend.Attach("/virtual/COM5", simDevice.get());
    return *inst;
}

sim::InstrumentConfig Configurator::SimConfig() const {
    return sim::DefaultConfig(ctx.model.id.programNumber == 105 ? sim::Model::kB : sim::Model::kA);
}

int Configurator::StartOnSim(const sim::InstrumentConfig& config) {
    AttachSim(config);
    WriteFile("COM_Dev_use.txt", "5\n3\n0\n8\n2\n0104");
    WriteFile("YN_log_dbg.txt", "1 0");
    return conf::MainPanel::init(ctx);
}

int Configurator::LoadLinkPanel() {
    WriteFile("link.json", kLinkPanel);
    ctx.gvMain = rt.LoadPanel(0, "link.json", "G104");
    if (ctx.gvMain < 0) return ctx.gvMain;
    ctx.msgCtrl = rt.FindCtrl(ctx.gvMain, "MSG");
    return 0;
}

int Configurator::OpenCom5() {
    const int r = com.OpenComConfig(conf::kPort222, "COM5", 19200, 0, 8, 2);
    return r < 0 ? r : com.SetComTime(conf::kPort222, 0.5);
}

std::vector<Bytes> Configurator::Requests() {
    std::vector<Bytes> out;
    for (const auto& e : inst->TakeLog())
        out.push_back(e.request);
    return out;
}

std::int32_t Configurator::Ram(int address) {
    std::int32_t v = 0;
    EXPECT_EQ(inst->RamValue(address, &v), 0) << address;
    return v;
}

std::string Configurator::Log() {
    ctx.gpLog.Flush();
    return ReadFile("log.txt");
}

int HeadlessUi::Id(int panel, const char* name) {
    const int id = rt.FindCtrl(panel, name);
    EXPECT_GT(id, 0) << name;
    return id;
}

int Configurator::Menu(const char* item) {
    const int bar = rt.GetPanelMenuBar(ctx.gvMain);
    return rt.UserMenuSelect(bar, rt.FindMenuItem(bar, item));
}

ScanRig::ScanRig(serial::DeviceLister* lister)
    : ctx(rt, launcher, com, lister ? *lister : static_cast<serial::DeviceLister&>(deviceList)) {
    scan::RegisterCallbacks(ctx, registry);
}

}  // namespace conf_test
