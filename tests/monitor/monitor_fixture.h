#pragma once
// A configurator of either model watching the simulated instrument on the virtual clock.

#include "models/model_a.h"
#include "models/model_b.h"
#include "monitor/pv_display.h"
#include "monitor/pv_poll.h"
#include "transfer_fixture.h"

namespace monitortest {

using transfertest::Bytes;
using transfertest::Sealed;

inline Bytes Read(int address, int count) {
    return Sealed({0x01, 0x03, static_cast<std::uint8_t>(address >> 8),
                   static_cast<std::uint8_t>(address & 0xFF), 0x00,
                   static_cast<std::uint8_t>(count)});
}

// A one-register request (codes 5 and 6 write, the value in the last two bytes).
inline Bytes Write(int code, int address, int value) {
    return Sealed({0x01, static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(address >> 8),
                   static_cast<std::uint8_t>(address & 0xFF),
                   static_cast<std::uint8_t>(value >> 8 & 0xFF),
                   static_cast<std::uint8_t>(value & 0xFF)});
}

class MonitorTest : public transfertest::TransferTest {
  protected:
    explicit MonitorTest(const conf::Model& model = conf::ModelA()) : TransferTest(model) {}
    int TimerId() { return Id(ctx.gvMain, "MSPV_T"); }
    bool TimerOn() { return rt.GetControl(ctx.gvMain, TimerId())->enabled; }
    // One tick of the poll timer, as the event loop would deliver it.
    void Tick() { rt.TimerTick(ctx.gvMain, TimerId()); }
    int PressReadPv() { return rt.UserToggle(ctx.gvMain, Id(ctx.gvMain, "MSPV_B")); }
    int MenuMark(const char* item) {
        const int bar = rt.GetPanelMenuBar(ctx.gvMain);
        int checked = 0;
        rt.GetMenuBarAttribute(bar, rt.FindMenuItem(bar, item), ui::ATTR_CHECKED, &checked);
        return checked;
    }
    std::string Pv() { return Main("MSPV_V").text; }
    int PvColour() { return Main("MSPV_V").textColor; }
};

class MonitorTestB : public MonitorTest {
  protected:
    MonitorTestB() : MonitorTest(conf::ModelB()) {}
};

}  // namespace monitortest
