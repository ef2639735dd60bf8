#pragma once
// Tarnel's start-up on the headless runtime with the simulated instrument on COM5 (the
// in-process line, the virtual clock) instead of a scripted device.

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../shell/tarnel_fixture.h"
#include "link/crc.h"
#include "session/modbus_api.h"
#include "sim/config.h"
#include "sim/instrument.h"
#include "sim/simulated_device.h"

namespace transfertest {

using Bytes = std::vector<std::uint8_t>;

// A frame with its CRC appended.
inline Bytes Sealed(Bytes frame) {
    frame.resize(frame.size() + 2);
    conf::fn_Get_CRC(frame.data(), static_cast<int>(frame.size()));
    return frame;
}
// The device check's request, byte for byte.
inline const Bytes kDevInfoRequest{0x01, 0x03, 0x1F, 0x00, 0x00, 0x04, 0x43, 0xDD};

// A read (code 3) of station 1.
inline Bytes ReadRequest(int address, int count) {
    return Sealed({0x01, 0x03, static_cast<std::uint8_t>(address >> 8),
                   static_cast<std::uint8_t>(address & 0xFF), 0x00,
                   static_cast<std::uint8_t>(count)});
}

class TransferTest : public tarneltest::TarnelTest {
  protected:
    explicit TransferTest(const conf::Model& model = conf::ModelA()) : TarnelTest(model) {}
    void TearDown() override {
        com.CloseCom(222);
        backend.Detach("/virtual/COM5");
        TarnelTest::TearDown();
    }
    // Start-up against an instrument of this model code and firmware; the log switch on.
    void StartWith(int code, int firmware, std::uint32_t serial = 1305280001) {
        sim::InstrumentConfig config =
            sim::DefaultConfig(ctx.model.id.programNumber == 105 ? sim::Model::kB : sim::Model::kA);
        config.code = code;
        config.firmware = firmware;
        config.serialNumber = serial;
        inst = std::make_unique<sim::Instrument>(config, fe.VirtualClock().Now());
        simDevice = std::make_unique<sim::SimulatedDevice>(*inst);
        backend.Attach("/virtual/COM5", simDevice.get());
        std::ofstream("COM_Dev_use.txt") << "5\n3\n0\n8\n2\n0104";
        std::ofstream("YN_log_dbg.txt") << "1 0";
        Start();
    }
    // The requests the instrument has seen since the last call.
    std::vector<Bytes> Requests() {
        std::vector<Bytes> out;
        for (const auto& e : inst->TakeLog())
            out.push_back(e.request);
        return out;
    }
    // A register of the instrument set as a technician would have left it (RAM write).
    void Put(int address, int value) {
        ASSERT_EQ(conf::fn_Modbus_Device_RW_16(ctx, 5, address, value), 0) << address;
    }
    // From now on every request the instrument would answer goes unanswered.
    void SilenceFrom(int after) {
        sim::Fault f;
        f.kind = sim::FaultKind::kSilence;
        f.after = after;
        f.count = 0;
        inst->AddFault(f);
    }
    // A register in the instrument's RAM and in its EEPROM.
    std::int32_t Ram(int address) {
        std::int32_t v = 0;
        EXPECT_EQ(inst->RamValue(address, &v), 0) << address;
        return v;
    }
    std::int32_t Stored(int address) {
        std::int32_t v = 0;
        EXPECT_EQ(inst->StoredValue(address, &v), 0) << address;
        return v;
    }
    int PressRead() { return rt.UserPress(ctx.gvMain, Id(ctx.gvMain, "READ")); }

    const ui::Control& Cfg(const char* name) {
        return *rt.GetControl(ctx.gvCFG, Id(ctx.gvCFG, name));
    }
    const ui::Control& Main(const char* name) {
        return *rt.GetControl(ctx.gvMain, Id(ctx.gvMain, name));
    }
    const ui::Control& Cal(const char* name) {
        return *rt.GetControl(ctx.gvCAL, Id(ctx.gvCAL, name));
    }
    std::string Status() { return Main("MSG").text; }
    int StatusColour() { return Main("MSG").textColor; }

    std::unique_ptr<sim::Instrument> inst;
    std::unique_ptr<sim::SimulatedDevice> simDevice;

    // A page value as if typed in, without its commit.
    void SetCfg(const char* name, int value) {
        rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, name), value);
    }
    void SetCfgIndex(const char* name, int index) {
        rt.SetCtrlIndex(ctx.gvCFG, Id(ctx.gvCFG, name), index);
    }
    int Menu(const char* item) {
        const int bar = rt.GetPanelMenuBar(ctx.gvMain);
        return rt.UserMenuSelect(bar, rt.FindMenuItem(bar, item));
    }
    std::string Log() {
        ctx.gpLog.Flush();
        return Slurp("log.txt");
    }
    // The log from the last line starting with `first` on; empty when there is none.
    std::string LogFrom(const std::string& first) {
        const std::string log = Log();
        const std::size_t at = log.rfind(first);
        return at == std::string::npos ? "" : log.substr(at);
    }
};

// text with each `from` replaced by its `to`.
inline std::string Edited(std::string text,
                          std::initializer_list<std::pair<std::string, std::string>> edits) {
    for (const auto& [from, to] : edits) {
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) text.replace(at, from.size(), to);
    }
    return text;
}

}  // namespace transfertest
