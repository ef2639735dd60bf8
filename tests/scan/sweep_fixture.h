#pragma once
// A Scan run with simulated instruments on its ports: each sits at any baud rate, frame format
// and station and obeys the forcing broadcast, as a real one does on the line.

#include <memory>
#include <tuple>
#include <vector>

#include "scan/scan_dev.h"
#include "scan_fixture.h"
#include "sim/config.h"
#include "sim/instrument.h"
#include "sim/simulated_device.h"

namespace scantest {

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

class SweepTest : public ScanTest {
  protected:
    // Instrument at COM<n>: hardware code, baud index, frame format, station.
    sim::Instrument& AddInstrument(int n, int code, int baudIndex, int format, int station) {
        sim::InstrumentConfig config =
            sim::DefaultConfig(code % 2 ? sim::Model::kB : sim::Model::kA);
        config.code = code;
        config.baudIndex = baudIndex;
        config.formatIndex = format;
        config.station = station;
        instruments_.push_back(std::make_unique<sim::Instrument>(config, fe.VirtualClock().Now()));
        simDevices_.push_back(std::make_unique<sim::SimulatedDevice>(*instruments_.back()));
        Attach(n, simDevices_.back().get());
        return *instruments_.back();
    }
    void Attach(int n, serial::LineDevice* device) {
        const std::string path = "/virtual/COM" + std::to_string(n);
        present_.insert(path);
        backend.Attach(path, device);
        deviceList.names.push_back("USB Serial Port (COM" + std::to_string(n) + ")");
    }

    int Tick() { return rt.TimerTick(ctx.gvtpScan, Ctrl("TTARNEL")); }
    int Press(const char* name) { return rt.UserPress(ctx.gvtpScan, Ctrl(name)); }
    int Int(const char* name) {
        int value = 0;
        rt.GetCtrlVal(ctx.gvtpScan, Ctrl(name), &value);
        return value;
    }
    // (BRi, RTUi) as the page shows them.
    std::pair<int, int> Indices() { return {Int("BRI"), Int("RTUI")}; }
    int Attr(const char* name, int attribute) {
        int value = -1;
        rt.GetCtrlAttribute(ctx.gvtpScan, Ctrl(name), attribute, &value);
        return value;
    }
    bool TimerOn() { return Attr("TTARNEL", ui::ATTR_ENABLED) == 1; }
    // The "Current Using" column: name, baud, parity, data bits, stop bits.
    std::tuple<std::string, int, int, int, int> Table() {
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
    std::string Log() {
        ctx.gpLog.Flush();
        return Slurp("log.txt");
    }

    std::vector<std::unique_ptr<sim::Instrument>> instruments_;
    std::vector<std::unique_ptr<sim::SimulatedDevice>> simDevices_;
};

}  // namespace scantest
