#include "tests/support/fixtures.h"

#include <chrono>
#include <thread>
#include <variant>

#include "platform/serial/com_map.h"
#include "scan/shell.h"
#include "session/modbus_api.h"
#include "shell/callbacks.h"
#include "shell/main_panel.h"

namespace conf_test {

namespace fs = std::filesystem;

StatusPanel::StatusPanel(const std::string& kind) {
    WriteFile("G104.json",
              R"({ "panels": [ { "name": "G104", "controls": [ { "kind": ")" + kind +
                  R"(", "name": "MSG", "indicator": true, "value": "Ready" } ] } ] })");
    ctx.gvMain = rt.LoadPanel(0, "G104.json", "G104");
    EXPECT_GT(ctx.gvMain, 0) << rt.LastError();
    ctx.msgCtrl = rt.FindCtrl(ctx.gvMain, "MSG");
}

void SimTest::Open(long baud, int parity, int dataBits, int stopBits) {
    ASSERT_EQ(com.OpenComConfig(222, "COM5", baud, parity, dataBits, stopBits), 0);
    ASSERT_EQ(com.SetComTime(222, 0.5), 0);
}

Bytes SimTest::Exchange(Bytes request, int upTo) {
    request = Sealed(std::move(request));
    EXPECT_EQ(com.ComWrt(222, request.data(), static_cast<int>(request.size())),
              static_cast<int>(request.size()));
    Bytes answer(static_cast<std::size_t>(upTo));
    int got = com.ComRd(222, answer.data(), upTo);
    answer.resize(static_cast<std::size_t>(std::max(got, 0)));
    return answer;
}

int SimTest::Read(int address, int count, std::vector<std::int16_t>* out, int code) {
    std::vector<std::int16_t> v(static_cast<std::size_t>(count));
    int r = conf::fn_Modbus_Device_RW_16(ctx, code, address, count, v);
    if (out) *out = v;
    return r;
}

std::int16_t SimTest::Reg(int address) {
    std::vector<std::int16_t> v;
    EXPECT_EQ(Read(address, 1, &v), 0) << "register " << address;
    return v.empty() ? 0 : v[0];
}

int SimTest::Write(int address, int value, int code) {
    return conf::fn_Modbus_Device_RW_16(ctx, code, address, value);
}

std::vector<sim::Outcome> SimTest::Outcomes() {
    std::vector<sim::Outcome> v;
    for (const auto& e : inst->Log())
        v.push_back(e.outcome);
    return v;
}

TarnelTest::TarnelTest(const conf::Model& model)
    : RunTree({fs::path(model.id.panelResource).filename().string()}), Configurator(model) {
    conf::RegisterCallbacks(ctx, registry);
}

void TarnelTest::Start() {
    ASSERT_EQ(conf::MainPanel::init(ctx), 0) << rt.LastError();
}

std::string TarnelTest::Focused() {
    int panel = rt.GetActivePanel();
    const ui::Control* c = rt.GetControl(panel, rt.GetActiveCtrl(panel));
    if (!c) return "";
    const char* where = panel == ctx.gvMain ? "main:" : panel == ctx.gvCFG ? "cfg:" : "cal:";
    return where + c->name;
}

void TarnelTest::Enter() {
    int panel = rt.GetActivePanel();
    rt.UserKeyPress(panel, rt.GetActiveCtrl(panel), ui::VAL_ENTER_VKEY);
}

void TransferTest::StartWith(int code, int firmware, std::uint32_t serial) {
    sim::InstrumentConfig config = SimConfig();
    config.code = code;
    config.firmware = firmware;
    config.serialNumber = serial;
    ASSERT_EQ(StartOnSim(config), 0) << rt.LastError();
}

void TransferTest::Put(int address, int value) {
    ASSERT_EQ(conf::fn_Modbus_Device_RW_16(ctx, 5, address, value), 0) << address;
}

std::int32_t TransferTest::Stored(int address) {
    std::int32_t v = 0;
    EXPECT_EQ(inst->StoredValue(address, &v), 0) << address;
    return v;
}

std::string TransferTest::LogFrom(const std::string& first) {
    const std::string log = Log();
    const std::size_t at = log.rfind(first);
    return at == std::string::npos ? "" : log.substr(at);
}

ConfiguratorOnAPty::ConfiguratorOnAPty(const conf::Model& model)
    : TarnelTest(model),
      comDir((root_ / "comports").string()),
      errFile((root_ / "sim.err").string()) {
    real = std::make_unique<serial::Rs232>(backend, serial::ComMapEnv{comDir, serial::EntryExists});
    ctx.com = real.get();
}

void ConfiguratorOnAPty::RunSimulator(const char* simModel, const std::vector<std::string>& extra) {
    std::vector<std::string> argv = {
        INSTRUMENT_SIM_PATH, "--model", simModel, "--com", "5", "--log"};
    argv.insert(argv.end(), extra.begin(), extra.end());
    ASSERT_TRUE(child.Spawn(argv, comDir, errFile));
    ASSERT_EQ(child.FirstLine().rfind("/dev/pts/", 0), 0u) << SimLog();
}

bool ConfiguratorOnAPty::SimLogShows(const std::string& text) {
    for (int i = 0; i < 200; ++i) {
        if (SimLog().find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

serial::ScriptedDevice& ScanTest::AddPort(int n) {
    devices_.push_back(std::make_unique<serial::ScriptedDevice>());
    Plug(n, devices_.back().get());
    return *devices_.back();
}

void ScanTest::Start() {
    ASSERT_EQ(scan::G1__init(ctx), 0) << rt.LastError();
}

int ScanTest::Ctrl(const char* name) {
    int id = rt.FindCtrl(ctx.gvtpScan, name);
    EXPECT_GT(id, 0) << name;
    return id;
}

std::vector<std::pair<std::string, int>> ScanTest::ComList() {
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

sim::Instrument& SweepTest::AddInstrument(int n, int code, int baudIndex, int format, int station) {
    sim::InstrumentConfig config = sim::DefaultConfig(code % 2 ? sim::Model::kB : sim::Model::kA);
    config.code = code;
    config.baudIndex = baudIndex;
    config.formatIndex = format;
    config.station = station;
    instruments_.push_back(std::make_unique<sim::Instrument>(config, fe.VirtualClock().Now()));
    simDevices_.push_back(std::make_unique<sim::SimulatedDevice>(*instruments_.back()));
    Attach(n, simDevices_.back().get());
    return *instruments_.back();
}

void SweepTest::Attach(int n, serial::LineDevice* device) {
    Plug(n, device);
    deviceList.names.push_back("USB Serial Port (COM" + std::to_string(n) + ")");
}

std::tuple<std::string, int, int, int, int> SweepTest::Table() {
    const int t = Ctrl("COM_PARA");
    ui::CellValue v[5];
    for (int row = 1; row <= 5; ++row)
        rt.GetTableCellVal(ctx.gvtpScan, t, row, 1, &v[row - 1]);
    auto num = [](const ui::CellValue& c) {
        return std::holds_alternative<int>(c) ? std::get<int>(c) : -999;
    };
    const std::string* name = std::get_if<std::string>(&v[0]);
    return {name ? *name : "?", num(v[1]), num(v[2]), num(v[3]), num(v[4])};
}

}  // namespace conf_test
