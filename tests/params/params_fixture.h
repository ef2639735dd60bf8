#pragma once
// Tarnel's main panel on the headless runtime with the program's callbacks and the two
// group installers, without a serial line: what the parameter editor needs.

#include <vector>

#include "core/selector.h"
#include "nav/tab.h"
#include "params/callbacks_cfg.h"
#include "params/input.h"
#include "params/linear.h"
#include "params/main_panel.h"
#include "params/scaling_dp.h"
#include "shell/callbacks.h"
#include "tests/support/fixtures.h"

namespace paramstest {

constexpr int kRed = 0xFF0000;
constexpr int kWhite = 0xFFFFFF;
constexpr int kRingNormal = 0xECE9D8;  // a ring's frame when it is not marked

class ParamsTest : public ::testing::Test, public conf_test::Configurator {
  protected:
    void SetUp() override {
        conf::RegisterCallbacks(ctx, registry);
        ctx.gvMain = rt.LoadPanel(0, SUITE_GUI_SOURCE_DIR "/G104.json", "G104");
        ASSERT_GT(ctx.gvMain, 0) << rt.LastError();
        conf::TAB::Get_Page_Handle(ctx);
        conf::TYPE_cfg::CALLBACK(ctx);
        conf::LinSig_cfg::CALLBACK(ctx);
        rt.DisplayPanel(ctx.gvMain);
        ctx.gvFW = 8;
    }

    const ui::Control& Ctrl(int panel, const char* name) {
        return *rt.GetControl(panel, Id(panel, name));
    }
    double Number(const char* name) { return Cfg(name).number; }
    int Bg(const char* name) { return Cfg(name).textBgColor; }
    bool Dimmed(const char* name) { return Cfg(name).dimmed; }
    int Dpp() { return conf::GetField(ctx.gsRAM01, ctx.model.dpp); }

    // The settings the ranges follow, set as read-all sets them (no rule runs). Type 14 is
    // the group with no button on.
    void Setup(int type, int unit, int dp, int digit) {
        if (type < 14) {
            conf::TYPE_cfg::SV(ctx, type);
        } else {
            for (int i = 0; i < 14; ++i)
                conf::TYPE_cfg::Radio__SV(ctx, i, 0);
        }
        conf::UNIT_cfg::SI(ctx, unit);
        conf::DP_cfg::SI(ctx, dp);
        conf::fn_Set_Dpp(ctx, dp);
        conf::DIGIT_cfg::SI(ctx, digit);
    }
    // The user types a value into a configuration-page numeric and commits it.
    void Type(const char* name, double value) {
        ASSERT_GE(rt.UserSetValue(ctx.gvCFG, Id(ctx.gvCFG, name), value), 0) << name;
    }
    // What the user sees during each 0.1 s pause: `name`'s value and its colour.
    struct Seen {
        double value;
        int color;
        bool operator==(const Seen&) const = default;
    };
    void WatchDelays(const char* name, bool ring = false) {
        fe.VirtualClock().SetDelayHook([this, name, ring](double) {
            const ui::Control& c = Cfg(name);
            seen.push_back({ring ? c.index : c.number, ring ? c.frameColor : c.textBgColor});
        });
    }

    std::vector<Seen> seen;
};

}  // namespace paramstest
