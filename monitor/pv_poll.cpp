#include "monitor/pv_poll.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "lang/status_line.h"
#include "modbus/access_mode.h"
#include "models/model.h"
#include "monitor/pv_display.h"
#include "monitor/pv_record.h"
#include "monitor/trend.h"
#include "nav/focus.h"
#include "params/input.h"
#include "params/main_panel.h"
#include "params/rules.h"
#include "params/scaling_dp.h"
#include "params/service.h"
#include "platform/ui/constants.h"
#include "session/modbus_api.h"
#include "transfer/dev_info.h"

namespace conf {

namespace {

int Button(Context& ctx) {
    return ctx.ui.FindCtrl(ctx.gvMain, "MSPV_B");
}

int Timer(Context& ctx) {
    return ctx.ui.FindCtrl(ctx.gvMain, "MSPV_T");
}

int MenuItem(Context& ctx, int* menuBar) {
    *menuBar = ctx.ui.GetPanelMenuBar(ctx.gvMain);
    return ctx.ui.FindMenuItem(*menuBar, "PV_READ");
}

// "Read OK", unless records are failing: that stays on the line until one succeeds.
void ReadOk(Context& ctx) {
    if (ctx.pvRecordFailing)
        msg_cfg::SCV(ctx, kMsgRed, kMsgRecordNg);
    else
        msg_cfg::SID(ctx, kMsgReadOk);
}

int ReadNg(Context& ctx) {
    msg_cfg::SID(ctx, kMsgReadNg);
    Trend::Gap(ctx);
    return -1;
}

// One value of the poll's plan: a register, or a 32-bit value, traced to the poll's trace.
int ReadValue(Context& ctx, int address, int width, int* value) {
    if (width == 32) {
        std::array<std::int32_t, 1> v{};
        const int r = fn_Modbus_Device_RW_32_CAL(ctx, enR, address, 1, v);
        *value = v[0];
        return r;
    }
    std::array<std::int16_t, 1> v{};
    const int r = fn_Modbus_Device_RW_16_CAL(ctx, enR, address, 1, v);
    *value = v[0];
    return r;
}

int ReadConverters(Context& ctx) {
    const PvPoll& plan = ctx.model.poll;
    if (plan.adcWidth == 32) {
        int value = 0;
        if (ReadValue(ctx, plan.addrADC, 32, &value) < 0) return -1;
        if (plan.adcValueTrace) ctx.gpCAL.Printf(plan.adcValueTrace, value);
        ADC_V_M::SV(ctx, value);
        return 0;
    }
    std::array<std::int16_t, 2> words{};
    const int count = std::min(plan.adcCount, 2);
    if (fn_Modbus_Device_RW_16_CAL(ctx, enR, plan.addrADC, count,
                                   std::span<std::int16_t>(words.data(), count)) < 0)
        return -1;
    const short values[2] = {words[0], words[1]};
    return ADC_V_M::SV_all(ctx, values);
}

int ReadStatusBits(Context& ctx) {
    const PvPoll& plan = ctx.model.poll;
    if (ctx.gvFW < plan.statusFirmware) return 0;
    std::array<std::int16_t, 1> word{};
    if (fn_Modbus_Device_RW_16(ctx, enR, plan.addrStatus, 1, word) < 0) return -1;
    ctx.ui.SetCtrlVal(ctx.gvCAL, ctx.ui.FindCtrl(ctx.gvCAL, "STATUS_BIT_0"), word[0] & 1);
    ctx.ui.SetCtrlVal(ctx.gvCAL, ctx.ui.FindCtrl(ctx.gvCAL, "STATUS_BIT_1"), (word[0] >> 1) & 1);
    return 0;
}

// The trace is reopened now and then so that what it holds reaches the disk.
void ReopenTrace(Context& ctx) {
    const int every = ctx.model.poll.reopenEvery;
    if (every <= 0 || ctx.giCNT % every != 0) return;
    const bool wasOpen = ctx.gpCAL.IsOpen();
    ctx.gpCAL.Close();
    if (wasOpen) ctx.gpCAL.Open(kPvTraceFile, "a");
}

void ConvertersColour(Context& ctx, int colour) {
    ADC_V_M::SA_i32_all(ctx, ui::ATTR_TEXT_COLOR, colour);
}

}  // namespace

int MSPV_B::SV(Context& ctx, int state) {
    return ctx.ui.SetCtrlVal(ctx.gvMain, Button(ctx), state ? 1 : 0);
}

int MSPV_B::GV(Context& ctx) {
    int state = 0;
    ctx.ui.GetCtrlVal(ctx.gvMain, Button(ctx), &state);
    return state;
}

int MSPV_B::BEG(Context& ctx) {
    if (int r = DevInfo2::fr_Modbus_to_GUI(ctx); r < 0) return r;
    std::array<std::int16_t, 1> dp{};
    if (int r = fn_Modbus_Device_RW_16(ctx, enR, ctx.model.poll.addrDP, 1, dp); r < 0) {
        msg_cfg::SID(ctx, kMsgReadNg);
        return r;
    }
    DP_cfg::SI(ctx, dp[0]);
    fn_Affect_by_DP(ctx);
    fn_Set_Dpp(ctx, dp[0] & ((1 << ctx.model.dpp.width) - 1));
    std::error_code ec;
    if (std::filesystem::is_regular_file(kPvTraceFile, ec)) ctx.gpCAL.Open(kPvTraceFile, "w");
    giCNTt::giCNT_clr(ctx);
    MSPV_V::Text_Color(ctx, ui::VAL_BLUE);
    ConvertersColour(ctx, ui::VAL_BLUE);
    MSPV_T::toggle(ctx, 1);
    return 0;
}

int MSPV_B::END(Context& ctx) {
    ConvertersColour(ctx, ui::VAL_BLACK);
    ctx.gpCAL.Close();
    MSPV_T::toggle(ctx, 0);
    MSPV_V::Text_Color(ctx, ui::VAL_BLACK);
    return 0;
}

int MSPV_T::toggle(Context& ctx, int on) {
    return ctx.ui.SetCtrlAttribute(ctx.gvMain, Timer(ctx), ui::ATTR_ENABLED, on ? 1 : 0);
}

int MSPV_T::sub(Context& ctx) {
    const PvPoll& plan = ctx.model.poll;
    // A record is stamped with the second its poll began. After a slow poll (an answer that
    // needed its retries) the timer's overdue tick can come in the second just recorded: a
    // second line with that time would read as a doubled record, so that tick is let go; the
    // next comes one interval on.
    const sys::DateTime polled = ctx.clock().LocalNow();
    const bool recording = fn_PV_Recording(ctx);
    if (recording && ctx.pvLastRecord == polled) return 0;
    msg_cfg::SID(ctx, kMsgReading);
    giCNTt::giCNT_inc(ctx);
    ReopenTrace(ctx);

    ctx.gpCAL.Printf("%s", "Modbus r PV\n");
    int pv = 0;
    if (ReadValue(ctx, plan.addrPV, plan.pvWidth, &pv) < 0) return ReadNg(ctx);
    ctx.gpCAL.Printf("PV = %d \n", pv);
    if (MSPV_V::to_GUI(ctx, pv))
        Trend::Gap(ctx);
    else
        Trend::Point(ctx, fn_PV_Value(ctx, pv));
    if (recording) PV_Record(ctx, polled);

    ctx.gpCAL.Printf("%s", "Modbus r ADC \n");
    if (ReadConverters(ctx) < 0) return ReadNg(ctx);
    if (plan.okBeforeStatus) ReadOk(ctx);
    if (ReadStatusBits(ctx) < 0) return ReadNg(ctx);
    if (!plan.okBeforeStatus) ReadOk(ctx);
    return 0;
}

bool fn_Calibration_Reading(Context& ctx) {
    const ui::Control* timer = ctx.ui.GetControl(ctx.gvCAL, ctx.ui.FindCtrl(ctx.gvCAL, "ADC_T"));
    return timer && timer->enabled;
}

int Menu_PV_Read::Get_Check_Mark(Context& ctx) {
    int menuBar = 0, checked = 0;
    const int item = MenuItem(ctx, &menuBar);
    ctx.ui.GetMenuBarAttribute(menuBar, item, ui::ATTR_CHECKED, &checked);
    return checked;
}

int Menu_PV_Read::Set_Check_Mark(Context& ctx, int state) {
    int menuBar = 0;
    const int item = MenuItem(ctx, &menuBar);
    return ctx.ui.SetMenuBarAttribute(menuBar, item, ui::ATTR_CHECKED, state ? 1 : 0);
}

namespace {

// Button, mark and timer in one state: a start that fails leaves all three off, so nothing
// claims a watch that is not running.
int SwitchTo(Context& ctx, int on) {
    // A calibration step reads the converters over the same line and trace: it is stored or
    // ended first.
    if (on && fn_Calibration_Reading(ctx)) {
        MSPV_B::SV(ctx, 0);
        Menu_PV_Read::Set_Check_Mark(ctx, 0);
        msg_cfg::SCV(ctx, kMsgRed, kMsgCalibrationRunning);
        return -1;
    }
    int r = on ? MSPV_B::BEG(ctx) : MSPV_B::END(ctx);
    const int state = on && r >= 0 ? 1 : 0;
    MSPV_B::SV(ctx, state);
    Menu_PV_Read::Set_Check_Mark(ctx, state);
    return r;
}

}  // namespace

int Menu_PV_Read::Toggle(Context& ctx) {
    return SwitchTo(ctx, MSPV_B::GV(ctx) ? 0 : 1);
}

int ev_MSPV_B(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event != ui::EVENT_COMMIT) return fn_Enter_to_Next(ctx, panel, control, event, data1);
    SwitchTo(ctx, MSPV_B::GV(ctx));
    return 0;
}

int ev_MSPV_T(Context& ctx, int, int, int event, void*, int, int) {
    if (event == ui::EVENT_TIMER_TICK) MSPV_T::sub(ctx);
    return 0;
}

int evReadPV(Context& ctx, int, int, void*, int) {
    return Menu_PV_Read::Toggle(ctx);
}

}  // namespace conf
