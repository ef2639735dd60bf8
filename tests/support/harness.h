#pragma once
// The programs on the headless runtime, time on its virtual clock, their ports in-process
// lines ("/virtual/COM<n>", present once plugged): a configurator of either model, on a
// scripted stand-in or on the simulated instrument, and Scan, with what tests and fuzz targets
// ask of them.

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/context.h"
#include "models/model_a.h"
#include "platform/serial/enumerate.h"
#include "platform/serial/inprocess_line.h"
#include "platform/serial/rs232.h"
#include "platform/serial/scripted_device.h"
#include "platform/sys/launch.h"
#include "platform/ui/headless.h"
#include "platform/ui/runtime.h"
#include "scan/scan_context.h"
#include "sim/config.h"
#include "sim/instrument.h"
#include "sim/simulated_device.h"
#include "tests/support/files.h"
#include "tests/support/frames.h"

namespace conf_test {

// The headless runtime, its callbacks, and a launcher that records what it would start.
struct HeadlessUi {
    // A control of the panel by its name (a name not there fails the test).
    int Id(int panel, const char* name);
    // A control's value, index or attribute, a menu item's attribute, as read back; `v` when
    // the read fails.
    template <class T = int>
    T CtrlVal(int panel, int ctrl, T v = T()) {
        rt.GetCtrlVal(panel, ctrl, &v);
        return v;
    }
    int CtrlIndex(int panel, int ctrl, int v = 0) {
        rt.GetCtrlIndex(panel, ctrl, &v);
        return v;
    }
    template <class T = int>
    T CtrlAttr(int panel, int ctrl, int attribute, T v = T()) {
        rt.GetCtrlAttribute(panel, ctrl, attribute, &v);
        return v;
    }
    template <class T = int>
    T MenuAttr(int panel, const char* item, int attribute, T v = T()) {
        const int bar = rt.GetPanelMenuBar(panel);
        rt.GetMenuBarAttribute(bar, rt.FindMenuItem(bar, item), attribute, &v);
        return v;
    }
    static std::string Slurp(const std::string& path) { return ReadFile(path); }

    ui::CallbackRegistry registry;
    ui::HeadlessFrontEnd fe;
    ui::Runtime rt{fe, registry};
    sys::RecordingLauncher launcher;
};

struct Lines : HeadlessUi {
    // COM<n> is the line to `device` from now on.
    void Plug(int n, serial::LineDevice* device);

    serial::InProcessBackend backend{fe.VirtualClock()};
    std::set<std::string> present_;
    serial::Rs232 com{backend, serial::ComMapEnv{"/virtual", [this](const std::string& p) {
                                                     return present_.count(p) != 0;
                                                 }}};
};

// A configurator of `model` whose COM5 is the line to `device`, a scripted stand-in, until a
// simulated instrument takes its place. A fixture puts it first among its bases (after its
// folder) so that it outlives what the fixture builds on it.
struct Configurator : Lines {
    explicit Configurator(const conf::Model& model = conf::ModelA());

    // A fresh simulated instrument on COM5, switched on now.
    sim::Instrument& AttachSim(const sim::InstrumentConfig& config);
    // The simulated instrument's factory settings for the configurator's model.
    sim::InstrumentConfig SimConfig() const;
    // Start-up as main runs it, on COM5 at 19200 8N2 with the log switch on, against a fresh
    // simulated instrument. 0, or negative.
    int StartOnSim(const sim::InstrumentConfig& config);
    // The main panel with only the link controls (station, baud rate, frame format, status
    // line, the port's menu mark), and COM5 opened as the link start leaves it: 19200 8N2,
    // 0.5 s time-out. 0, or negative.
    int LoadLinkPanel();
    int OpenCom5();

    // The requests the simulated instrument has seen since the last call.
    std::vector<Bytes> Requests();
    // A register in the simulated instrument's RAM.
    std::int32_t Ram(int address);
    std::string Status() { return CtrlVal<std::string>(ctx.gvMain, ctx.msgCtrl); }
    int StatusColour() { return CtrlAttr(ctx.gvMain, ctx.msgCtrl, ui::ATTR_TEXT_COLOR, -1); }
    std::string Log();
    const ui::Control& Main(const char* name) {
        return *rt.GetControl(ctx.gvMain, Id(ctx.gvMain, name));
    }
    const ui::Control& Cfg(const char* name) {
        return *rt.GetControl(ctx.gvCFG, Id(ctx.gvCFG, name));
    }
    const ui::Control& Cal(const char* name) {
        return *rt.GetControl(ctx.gvCAL, Id(ctx.gvCAL, name));
    }
    // A menu item of the main panel chosen by the user.
    int Menu(const char* item);
    static Bytes Sealed(Bytes frame) { return conf_test::Sealed(std::move(frame)); }

    serial::ScriptedDevice device;
    conf::Context ctx;
    std::unique_ptr<sim::Instrument> inst;
    std::unique_ptr<sim::SimulatedDevice> simDevice;
};

// The main panel of the link: station, baud rate, frame format, status line, the port's mark.
inline constexpr const char* kLinkPanel = R"({ "panels": [ { "name": "G104",
  "menubar": { "menus": [ { "name": "FILE", "items": [ { "name": "PORT", "checked": true } ] } ] },
  "controls": [
    { "kind": "textmsg", "name": "MSG" },
    { "kind": "numeric", "name": "ID_COMM", "value": 1 },
    { "kind": "ring", "name": "BR_COMM", "items": ["2400", "4800", "9600", "19200"], "index": 3 },
    { "kind": "ring", "name": "RTU_COMM", "items": ["8N1", "8N2", "8O1", "8E1"], "index": 1 },
    { "kind": "toggle", "name": "RS485" } ] } ] })";

// The device list Scan reads, as given.
class GivenDevices final : public serial::DeviceLister {
  public:
    std::vector<std::string> FriendlyNames() override { return names; }
    std::vector<std::string> PresentDeviceNames() override { return names; }
    std::vector<std::string> names;
};

// Scan with its callbacks registered, reading the given device list (or another lister).
struct ScanRig : Lines {
    explicit ScanRig(serial::DeviceLister* lister = nullptr);
    GivenDevices deviceList;
    scan::ScanContext ctx;
};

}  // namespace conf_test
