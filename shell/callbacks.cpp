#include "shell/callbacks.h"

#include <cstdio>
#include <string_view>

#include "calib/input_cal.h"
#include "calib/output_cal.h"
#include "core/bind.h"
#include "models/model.h"
#include "monitor/pv_poll.h"
#include "monitor/pv_record.h"
#include "monitor/remote_value.h"
#include "monitor/trend.h"
#include "nav/tab.h"
#include "params/callbacks_cfg.h"
#include "session/port_dev.h"
#include "session/uart.h"
#include "shell/group_callbacks.h"
#include "shell/main_panel.h"
#include "shell/start_scan.h"
#include "transfer/agent_write.h"
#include "transfer/param_file.h"
#include "transfer/polarity.h"
#include "transfer/read_all.h"
#include "transfer/serial_write.h"
#include "transfer/write_all.h"

namespace conf {

namespace {

// Indicators and controls whose events mean nothing to the program.
int fn_Ignore(Context&, int, int, int, void*, int, int) {
    return 0;
}

// The program's callbacks by their own name; a model's table says under which name its panel
// resource asks for each.
struct Shared {
    const char* name;
    CtrlFn control;
    PanelFn panel;
    MenuFn menu;
};

constexpr Shared kShared[] = {
    {"evMain", nullptr, evMain, nullptr},
    {"evExit", nullptr, nullptr, evExit},
    {"evAbout", nullptr, nullptr, evAbout},
    {"evTAB", evTAB, nullptr, nullptr},
    {"evForm", evForm, nullptr, nullptr},
    {"evUART", evUART, nullptr, nullptr},
    {"RS485_on_off", RS485_on_off, nullptr, nullptr},
    {"ev_Port", nullptr, nullptr, ev_Port},
    // Parameter transfer.
    {"evRead", evRead, nullptr, nullptr},
    {"evParaFrDev", nullptr, nullptr, evParaFrDev},
    {"evWrite", evWrite, nullptr, nullptr},
    {"evParaToDev", nullptr, nullptr, evParaToDev},
    {"evParaToFile", nullptr, nullptr, evParaToFile},
    {"evParaFrFile", nullptr, nullptr, evParaFrFile},
    {"evStart", nullptr, nullptr, evStart},
    {"evScanDev", evScanDev, nullptr, nullptr},
    {"evPOLAR", evPOLAR, nullptr, nullptr},
    // The calibration page.
    {"evIC", evIC, nullptr, nullptr},
    {"ev_ADC_T", ev_ADC_T, nullptr, nullptr},
    // Watching the instrument.
    {"ev_MSPV_B", ev_MSPV_B, nullptr, nullptr},
    {"ev_MSPV_T", ev_MSPV_T, nullptr, nullptr},
    {"evReadPV", nullptr, nullptr, evReadPV},
    {"Enable_PV_logs_F", nullptr, nullptr, Enable_PV_logs_F},
    {"Open_PV_logs_F", nullptr, nullptr, Open_PV_logs_F},
    {"evTrend", nullptr, nullptr, evTrend},
    {"evTrendPanel", nullptr, evTrendPanel, nullptr},
    // Production data.
    {"ev_SN_B", ev_SN_B, nullptr, nullptr},
    {"evAgentWrite", evAgentWrite, nullptr, nullptr},
    // The parameter editor.
    {"evIDcfg", evIDcfg, nullptr, nullptr},
    {"evBRcfg", evBRcfg, nullptr, nullptr},
    {"evRTUcfg", evRTUcfg, nullptr, nullptr},
    {"evUnit", evUnit, nullptr, nullptr},
    {"evDecimalPoint", evDecimalPoint, nullptr, nullptr},
    {"evCut", evCut, nullptr, nullptr},
    {"evFilter", evFilter, nullptr, nullptr},
    {"evMRng", evMRng, nullptr, nullptr},
    {"evPVOFusr", evPVOFusr, nullptr, nullptr},
    {"evLinSig", evLinSig, nullptr, nullptr},
    {"evLinScale", evLinScale, nullptr, nullptr},
    {"evTypeR", evTypeR, nullptr, nullptr},
    {"evdirR", evdirR, nullptr, nullptr},
    {"evRTS_R_cfg", evRTS_R_cfg, nullptr, nullptr},
    {"evRTS_VAL", evRTS_VAL, nullptr, nullptr},
    {"evAxFU", evAxFU, nullptr, nullptr},
    {"evAxMD", evAxMD, nullptr, nullptr},
    {"evAxSP", evAxSP, nullptr, nullptr},
    {"evAxHY", evAxHY, nullptr, nullptr},
    {"evLock", evLock, nullptr, nullptr},
    {"ev_RSP_W_PV", ev_RSP_W_PV, nullptr, nullptr},
    {"evDigit_Set", evDigit_Set, nullptr, nullptr},
    {"evALM_Set", evALM_Set, nullptr, nullptr},
    {"evARelay", evARelay, nullptr, nullptr},
    {"evRTS_R_cal", evRTS_R_cal, nullptr, nullptr},
    {"evRTS_VAL_cal", evRTS_VAL_cal, nullptr, nullptr},
    {"ev_SN_V", ev_SN_V, nullptr, nullptr},
    {"evDSP_Limit", evDSP_Limit, nullptr, nullptr},
    {"evMRng_rat", evMRng_rat, nullptr, nullptr},
    {"evPVOF_rat", evPVOF_rat, nullptr, nullptr},
    // Commands still to come: the Enter step; indicators: nothing.
    {"fn_Enter_Callback", fn_Enter_Callback, nullptr, nullptr},
    {"fn_Ignore", fn_Ignore, nullptr, nullptr},
};

const Shared* SharedOf(std::string_view name) {
    for (const Shared& s : kShared)
        if (name == s.name) return &s;
    return nullptr;
}

}  // namespace

std::set<std::string> SharedCallbackNames() {
    std::set<std::string> names;
    for (const Shared& s : kShared)
        names.insert(s.name);
    return names;
}

int RegisterCallbacks(Context& ctx, ui::CallbackRegistry& registry) {
    int r = 0;
    for (const CallbackName& entry : ctx.model.callbacks) {
        const Shared* s = SharedOf(entry.shared);
        if (!s) {
            // A model table naming a function the program lacks is a build fault: say which.
            std::fprintf(stderr, "no program function \"%s\" for callback \"%s\"\n", entry.shared,
                         entry.resource);
            r = -1;
        } else if (s->control) {
            registry.AddControl(entry.resource, BindCtrl(ctx, s->control));
        } else if (s->panel) {
            registry.AddPanel(entry.resource, BindPanel(ctx, s->panel));
        } else {
            registry.AddMenu(entry.resource, BindMenu(ctx, s->menu));
        }
    }
    return r;
}

}  // namespace conf
