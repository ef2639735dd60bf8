#pragma once
// The test fixtures of the configurators and of Scan over the harness, each in a scratch
// folder of its own.

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "link/crc.h"
#include "models/model_b.h"
#include "monitor/pv_display.h"
#include "monitor/pv_poll.h"
#include "platform/serial/com_map.h"
#include "platform/serial/system_backend.h"
#include "platform/ui/constants.h"
#include "scan/scan_dev.h"
#include "scan/shell.h"
#include "session/modbus_api.h"
#include "shell/callbacks.h"
#include "shell/main_panel.h"
#include "tests/support/child_process.h"
#include "tests/support/harness.h"

namespace conf_test {

struct InScratchDir {
    ScratchDir dir;
};

// A main panel with only a status line "MSG" of `kind` ("textmsg", or "string": an indicator,
// as some panels have it), the context's gvMain and msgCtrl on it.
class StatusPanel : public InScratchDir, public Configurator {
  public:
    explicit StatusPanel(const std::string& kind = "textmsg");
    std::string LineText() { return Status(); }
    int LineColor() { return StatusColour(); }
};

// A configurator's link on a scripted instrument: the main panel with the link controls.
class LinkTest : public ::testing::Test, public InScratchDir, public Configurator {
  protected:
    LinkTest() { EXPECT_EQ(LoadLinkPanel(), 0) << rt.LastError(); }
    void OpenPort() { ASSERT_EQ(OpenCom5(), 0); }
    void OpenLog() { ctx.gpLog.Open("log.txt", "w"); }
    int Station() { return CtrlVal(ctx.gvMain, Id(ctx.gvMain, "ID_COMM")); }
    int Index(const char* ring) { return CtrlIndex(ctx.gvMain, Id(ctx.gvMain, ring)); }
};

// The suite's Modbus client on the link to a simulated model A instrument.
class SimTest : public LinkTest {
  protected:
    SimTest() { Start(sim::DefaultConfig(sim::Model::kA)); }
    void Start(const sim::InstrumentConfig& config) { AttachSim(config); }
    double Now() { return fe.VirtualClock().Now(); }
    void Advance(double seconds) { fe.VirtualClock().Advance(seconds); }
    // Opens COM5 at these settings with a 0.5 s time-out.
    void Open(long baud, int parity, int dataBits, int stopBits);
    // One request as given (CRC appended) and whatever answer arrives within the time-out.
    Bytes Exchange(Bytes request, int upTo = 256);
    // Through the suite's register access, three attempts: the result, values in *out.
    int Read(int address, int count, std::vector<std::int16_t>* out = nullptr, int code = 3);
    std::int16_t Reg(int address);
    int Write(int address, int value, int code = 5);
    std::vector<sim::Outcome> Outcomes();

    std::unique_ptr<sim::SimulatedDevice>& sim = simDevice;
};

// A configurator of the given model in a run-time tree (bin/ the working directory, gui/
// beside it with the model's panel), its callbacks registered.
class TarnelTest : public ::testing::Test, public RunTree, public Configurator {
  protected:
    explicit TarnelTest(const conf::Model& model = conf::ModelA());
    // Start-up as main runs it.
    void Start();
    // The control that has the keyboard focus, by role name ("" when none).
    std::string Focused();
    // Enter on the focused control, as the user presses it.
    void Enter();
};

// The configurator started against the simulated instrument.
class TransferTest : public TarnelTest {
  protected:
    explicit TransferTest(const conf::Model& model = conf::ModelA()) : TarnelTest(model) {}
    // Start-up against an instrument of this model code and firmware; the log switch on.
    void StartWith(int code, int firmware, std::uint32_t serial = 1305280001);
    // A register of the instrument set as a technician would have left it (RAM write).
    void Put(int address, int value);
    // From now on every request the instrument would answer goes unanswered.
    void SilenceFrom(int after) { inst->AddFault(MakeFault(sim::FaultKind::kSilence, after, 0)); }
    std::int32_t Stored(int address);
    int PressRead() { return rt.UserPress(ctx.gvMain, Id(ctx.gvMain, "READ")); }
    // A page value as if typed in, without its commit.
    void SetCfg(const char* name, int value) {
        rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, name), value);
    }
    void SetCfgIndex(const char* name, int index) {
        rt.SetCtrlIndex(ctx.gvCFG, Id(ctx.gvCFG, name), index);
    }
    // The log from the last line starting with `first` on; empty when there is none.
    std::string LogFrom(const std::string& first);
};

// A configurator of either model watching the simulated instrument.
class MonitorTest : public TransferTest {
  protected:
    explicit MonitorTest(const conf::Model& model = conf::ModelA()) : TransferTest(model) {}
    int TimerId() { return Id(ctx.gvMain, "MSPV_T"); }
    bool TimerOn() { return rt.GetControl(ctx.gvMain, TimerId())->enabled; }
    // One tick of the poll timer, as the event loop would deliver it.
    void Tick() { rt.TimerTick(ctx.gvMain, TimerId()); }
    int PressReadPv() { return rt.UserToggle(ctx.gvMain, Id(ctx.gvMain, "MSPV_B")); }
    int MenuMark(const char* item) { return MenuAttr(ctx.gvMain, item, ui::ATTR_CHECKED); }
    std::string Pv() { return Main("MSPV_V").text; }
    int PvColour() { return Main("MSPV_V").textColor; }
};

class MonitorTestB : public MonitorTest {
  protected:
    MonitorTestB() : MonitorTest(conf::ModelB()) {}
};

// The configurator over the programs' serial layer (termios or network ports), against
// instrument-sim in another process on a pseudo-terminal (COM5 in a COM folder of the test's
// own), in real time.
class ConfiguratorOnAPty : public TarnelTest {
  protected:
    explicit ConfiguratorOnAPty(const conf::Model& model);
    ~ConfiguratorOnAPty() override { real->CloseCom(222); }
    void RunSimulator(const char* simModel, const std::vector<std::string>& extra = {});
    std::string SimLog() { return Slurp(errFile); }
    // Waits (in real time: the simulator is another process) for its log to hold `text`.
    bool SimLogShows(const std::string& text);
    int Press(const char* button) { return rt.UserPress(ctx.gvMain, Id(ctx.gvMain, button)); }

    std::string comDir, errFile;
    serial::SystemBackend backend;  // COM5 may be a network port
    std::unique_ptr<serial::Rs232> real;
    Child child;
};

// A Scan run in a run-time tree (gui/ with G1.json); ports as the test plugs them.
class ScanTest : public ::testing::Test, public RunTree, public ScanRig {
  protected:
    ScanTest() : RunTree({"G1.json"}) {}
    // A port COM<n> with an instrument stand-in on its line.
    serial::ScriptedDevice& AddPort(int n);
    // Start-up as main runs it.
    void Start();
    int Ctrl(const char* name);
    int Item(const char* name) { return rt.FindMenuItem(rt.GetPanelMenuBar(ctx.gvG1), name); }
    std::string Text(const char* name) { return CtrlVal<std::string>(ctx.gvtpScan, Ctrl(name)); }
    std::string Label(const char* name) {
        return CtrlAttr<std::string>(ctx.gvtpScan, Ctrl(name), ui::ATTR_LABEL_TEXT);
    }
    std::string MenuText(const char* name) {
        return MenuAttr<std::string>(ctx.gvG1, name, ui::ATTR_ITEM_NAME);
    }
    int Checked(const char* name) { return MenuAttr(ctx.gvG1, name, ui::ATTR_CHECKED, -1); }
    // The COM list as (label, value) pairs.
    std::vector<std::pair<std::string, int>> ComList();
    static void Put(const std::string& path, const std::string& content) {
        WriteFile(path, content);
    }

    std::vector<std::unique_ptr<serial::ScriptedDevice>> devices_;
};
using FakeDeviceList = GivenDevices;

// A line whose device goes away once the master has written to it, until the test plugs it
// back: the probe opens, the reopen after the broadcast does not.
class UnpluggedAfterWrite final : public serial::LineDevice {
  public:
    void Receive(const serial::LineSettings&, const std::vector<std::uint8_t>&, double) override {
        gone = true;
    }
    bool NextByte(double, std::uint8_t*, double*) override { return false; }
    bool Present() const override { return !gone; }
    bool gone = false;
};

// Scan with simulated instruments on its ports: each sits at any baud rate, frame format and
// station and obeys the forcing broadcast, as a real one does on the line.
class SweepTest : public ScanTest {
  protected:
    // Instrument at COM<n>: hardware code, baud index, frame format, station.
    sim::Instrument& AddInstrument(int n, int code, int baudIndex, int format, int station);
    // COM<n> on the line to `device`, and in the device list.
    void Attach(int n, serial::LineDevice* device);
    int Tick() { return rt.TimerTick(ctx.gvtpScan, Ctrl("TTARNEL")); }
    int Press(const char* name) { return rt.UserPress(ctx.gvtpScan, Ctrl(name)); }
    int Int(const char* name) { return CtrlVal(ctx.gvtpScan, Ctrl(name)); }
    // (BRi, RTUi) as the page shows them.
    std::pair<int, int> Indices() { return {Int("BRI"), Int("RTUI")}; }
    int Attr(const char* name, int attribute) {
        return CtrlAttr(ctx.gvtpScan, Ctrl(name), attribute, -1);
    }
    bool TimerOn() { return Attr("TTARNEL", ui::ATTR_ENABLED) == 1; }
    // The "Current Using" column: name, baud, parity, data bits, stop bits.
    std::tuple<std::string, int, int, int, int> Table();
    std::string Log() {
        ctx.gpLog.Flush();
        return Slurp("log.txt");
    }

    std::vector<std::unique_ptr<sim::Instrument>> instruments_;
    std::vector<std::unique_ptr<sim::SimulatedDevice>> simDevices_;
};

}  // namespace conf_test

// The fixtures' names as the tests know them.
namespace linktest = conf_test;
namespace simtest = conf_test;
namespace tarneltest = conf_test;
namespace transfertest = conf_test;
namespace monitortest = conf_test;
namespace ptytest = conf_test;
namespace scantest {
using namespace conf_test;
namespace fs = std::filesystem;
}  // namespace scantest
