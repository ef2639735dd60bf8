#include "calib/output_cal.h"

#include <algorithm>

#include "core/selector.h"
#include "lang/status_line.h"
#include "log/event_log.h"
#include "modbus/access_mode.h"
#include "models/model.h"
#include "nav/focus.h"
#include "params/outcal.h"
#include "params/service.h"
#include "platform/ui/constants.h"
#include "session/modbus_api.h"
#include "transfer/dev_info.h"

namespace conf {

namespace {

// The step selector's commands: low end begin, high end begin, end (stored in EEPROM).
struct RtsStep {
    int command;
    int access;
    const char* text;
};
constexpr RtsStep kRtsSteps[] = {
    {27, enWram, "OC.PWM.1.L.BEG"},
    {28, enWram, "OC.PWM.1.H.BEG"},
    {0, enWee, "OC.PWM.1.END"},
};

int WriteStep(Context& ctx, int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kRtsSteps))) return -1;
    const RtsStep& step = kRtsSteps[index];
    logs(ctx, "%s\n", step.text);
    msg_cfg::SID(ctx, kMsgWriting);
    const int r =
        fn_Modbus_Device_RW_16(ctx, step.access, ctx.model.calibration.addrCommand, step.command);
    msg_cfg::SID(ctx, r < 0 ? kMsgWriteNg : kMsgWriteOk);
    return r < 0 ? r : 0;
}

// One page's value to its register, then both pages show it.
template <class Values>
int WriteValue(Context& ctx) {
    const int value = Values::GV(ctx);
    const int address = Values::q_MB_Address(ctx);
    msg_cfg::SID(ctx, kMsgWriting);
    logi(ctx,
         GetField(ctx.gsRAM01, kSelRTS) == 0 ? "Modbus w RTS.L = %d\n" : "Modbus w RTS.H = %d\n",
         value);
    if (int r = fn_Modbus_Device_RW_16(ctx, enWram, address, value); r < 0) {
        msg_cfg::SID(ctx, kMsgWriteNg);
        return r;
    }
    RTS_V::sync_cfg_cal(ctx, value);
    msg_cfg::SID(ctx, kMsgWriteOk);
    return 0;
}

template <class Values>
int HotKeyOf(Context& ctx, int key) {
    int step = 0;
    if (key == ui::VAL_LEFT_ARROW_VKEY) step = -kRtsStep;
    if (key == ui::VAL_RIGHT_ARROW_VKEY) step = kRtsStep;
    if (step == 0) return 0;
    int low = 0, high = 0;
    Values::Query_Range(ctx, &low, &high);
    Values::SV(ctx, std::clamp(Values::GV(ctx) + step, low, high));
    return Values::to_Modbus(ctx);
}

}  // namespace

int RTS_R_cfg::w_SCFg(Context& ctx) {
    return WriteStep(ctx, RTS_R_cfg::GV(ctx));
}

int RTS_R_cal::w_SCFg(Context& ctx) {
    return WriteStep(ctx, RTS_R_cal::GV(ctx));
}

int RTS_R::sync_cfg_cal(Context& ctx, int index) {
    RTS_R_cfg::SV(ctx, index);
    RTS_R_cal::SV(ctx, index);
    RTS_V_cfg::Toggle_Dim(ctx);
    RTS_V_cal::Toggle_Dim(ctx);
    return 0;
}

int RTS_V::sync_cfg_cal(Context& ctx, int value) {
    RTS_V_cfg::SV(ctx, value);
    RTS_V_cal::SV(ctx, value);
    return 0;
}

int RTS_V_cfg::to_Modbus(Context& ctx) {
    return WriteValue<RTS_V_cfg>(ctx);
}
int RTS_V_cal::to_Modbus(Context& ctx) {
    return WriteValue<RTS_V_cal>(ctx);
}
int RTS_V_cfg::HotKey(Context& ctx, int key) {
    return HotKeyOf<RTS_V_cfg>(ctx, key);
}
int RTS_V_cal::HotKey(Context& ctx, int key) {
    return HotKeyOf<RTS_V_cal>(ctx, key);
}

int ARelay::to_Modbus(Context& ctx) {
    const int relay = GetField(ctx.gsRAM01, kSelAlarm);
    const int address = ARelay::Query_Address(ctx);
    const int value = ARelay::GV(ctx);
    logi(ctx, "Modbus toggle Relay A%d ", relay + 1);
    logi(ctx, "to %d\n", value);
    msg_cfg::SID(ctx, kMsgWriting);
    if (int r = fn_Modbus_Device_RW_16(ctx, enWram, address, value); r < 0) {
        msg_cfg::SID(ctx, kMsgWriteNg);
        return r;
    }
    msg_cfg::SID(ctx, kMsgWriteOk);
    return 0;
}

// The callbacks return 0: what failed is on the status line and in gr.
// The selectors: the pressed step shown at once; written, then both pages follow.
int evRTS_R_cfg(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event != ui::EVENT_COMMIT) return fn_Enter_to_Next(ctx, panel, control, event, data1);
    const int index = RTS_R_cfg::who_am_I(ctx, panel, control);
    RTS_R_cfg::SV(ctx, index);
    if (DevInfo2::fr_Modbus_to_GUI(ctx) < 0 || RTS_R_cfg::w_SCFg(ctx) < 0) return 0;
    RTS_R::sync_cfg_cal(ctx, index);
    return 0;
}

int evRTS_R_cal(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event != ui::EVENT_COMMIT) return fn_Enter_to_Next(ctx, panel, control, event, data1);
    const int index = RTS_R_cal::who_am_I(ctx, panel, control);
    RTS_R_cal::SV(ctx, index);
    if (DevInfo2::fr_Modbus_to_GUI(ctx) < 0 || RTS_R_cal::w_SCFg(ctx) < 0) return 0;
    RTS_R::sync_cfg_cal(ctx, index);
    return 0;
}

// The values: a key press may be an arrow (16 steps); a commit is checked, limited, written.
int evRTS_VAL(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event == ui::EVENT_KEYPRESS && data1 != ui::VAL_ENTER_VKEY) {
        RTS_V_cfg::Who_Am_I(ctx, panel, control);
        RTS_V_cfg::HotKey(ctx, data1);
        return 0;
    }
    if (event != ui::EVENT_COMMIT) return fn_Enter_to_Next(ctx, panel, control, event, data1);
    RTS_V_cfg::Who_Am_I(ctx, panel, control);
    RTS_V_cfg::OOR(ctx);
    RTS_V_cfg::Limit(ctx);
    if (DevInfo2::fr_Modbus_to_GUI(ctx) >= 0) RTS_V_cfg::to_Modbus(ctx);
    return 0;
}

int evRTS_VAL_cal(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event == ui::EVENT_KEYPRESS && data1 != ui::VAL_ENTER_VKEY) {
        RTS_V_cal::Who_Am_I(ctx, panel, control);
        RTS_V_cal::HotKey(ctx, data1);
        return 0;
    }
    if (event != ui::EVENT_COMMIT) return fn_Enter_to_Next(ctx, panel, control, event, data1);
    RTS_V_cal::Who_Am_I(ctx, panel, control);
    RTS_V_cal::OOR(ctx);
    RTS_V_cal::Limit(ctx);
    if (DevInfo2::fr_Modbus_to_GUI(ctx) >= 0) RTS_V_cal::to_Modbus(ctx);
    return 0;
}

int evARelay(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event != ui::EVENT_COMMIT) return fn_Enter_to_Next(ctx, panel, control, event, data1);
    ARelay::Who_Am_I(ctx, panel, control);
    if (DevInfo2::fr_Modbus_to_GUI(ctx) >= 0) ARelay::to_Modbus(ctx);
    return 0;
}

}  // namespace conf
