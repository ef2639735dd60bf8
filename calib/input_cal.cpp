#include "calib/input_cal.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/selector.h"
#include "lang/status_line.h"
#include "log/event_log.h"
#include "modbus/access_mode.h"
#include "models/model.h"
#include "monitor/pv_poll.h"
#include "nav/focus.h"
#include "params/main_panel.h"
#include "params/polarity.h"
#include "platform/ui/constants.h"
#include "session/modbus_api.h"
#include "transfer/dev_info.h"

namespace conf {

namespace {

const InputCalibration& Plan(const Context& ctx) {
    return ctx.model.calibration;
}

int Step(const Context& ctx) {
    return GetField(ctx.gsRAM01, kSelICStep);
}

const CalStep* StepOf(const Context& ctx) {
    const int step = Step(ctx);
    const auto& steps = Plan(ctx).steps;
    return step < static_cast<int>(steps.size()) ? &steps[static_cast<size_t>(step)] : nullptr;
}

int Button(Context& ctx, int step) {
    const auto& names = ctx.model.catalogue.caCC_IC_B;
    if (step < 0 || step >= static_cast<int>(names.size())) return -1;
    return ctx.ui.FindCtrl(ctx.gvCAL, names[static_cast<size_t>(step)]);
}

int Timer(Context& ctx) {
    return ctx.ui.FindCtrl(ctx.gvCAL, "ADC_T");
}

// The first step of an input kind writes its input type; its separator is the double one.
bool FirstOfKind(const CalStep& step) {
    return step.presetType >= 0;
}

int WriteNg(Context& ctx, int r) {
    msg_cfg::SID(ctx, kMsgWriteNg);
    return r;
}

}  // namespace

int IC_B::Who_Am_I(Context& ctx, int panel, int control) {
    const auto& names = ctx.model.catalogue.caCC_IC_B;
    for (size_t i = 0; i < names.size(); ++i) {
        if (panel == ctx.gvCAL && ctx.ui.FindCtrl(ctx.gvCAL, names[i]) == control) {
            SetField(ctx.gsRAM01, kSelICStep, static_cast<int>(i));
            return static_cast<int>(i);
        }
    }
    return static_cast<int>(names.size());
}

int IC_B::SV(Context& ctx, int on) {
    return ctx.ui.SetCtrlVal(ctx.gvCAL, Button(ctx, Step(ctx)), on ? 1 : 0);
}

int IC_B::GV(Context& ctx) {
    int on = 0;
    ctx.ui.GetCtrlVal(ctx.gvCAL, Button(ctx, Step(ctx)), &on);
    return on;
}

bool IC_B::Reading(Context& ctx) {
    return fn_Calibration_Reading(ctx);
}

int IC_B::w_parameter(Context& ctx) {
    const CalStep* step = StepOf(ctx);
    if (!step || step->presetType < 0) return 0;
    logi(ctx, "Modbus w TYPE = %d\n", step->presetType);
    int r = fn_Modbus_Device_RW_16(ctx, Plan(ctx).presetAccess, AddressOf(ctx.model, Module::kType),
                                   step->presetType);
    if (r >= 0 && step->presetUnit >= 0) {
        logi(ctx, "Modbus w UNIT = %d\n", step->presetUnit);
        r = fn_Modbus_Device_RW_16(ctx, enWee, AddressOf(ctx.model, Module::kUnit),
                                   step->presetUnit);
    }
    if (r < 0) return WriteNg(ctx, r);
    msg_cfg::SID(ctx, kMsgWriteOk);
    return 0;
}

int IC_B::BEG(Context& ctx) {
    const CalStep* step = StepOf(ctx);
    if (!step) return -1;
    ctx.gpCAL.Close();
    std::error_code ec;
    if (std::filesystem::is_regular_file(kCalTraceFile, ec)) ctx.gpCAL.Open(kCalTraceFile, "w");
    giCNTt::giCNT_clr(ctx);
    logs(ctx, "%s\n", FirstOfKind(*step) ? "===============" : "---------------");
    if (int r = IC_B::w_parameter(ctx); r < 0) {
        ctx.gpCAL.Close();
        return r;
    }
    ADC_V_I::SA_i32(ctx, ui::ATTR_TEXT_COLOR, ui::VAL_BLUE);
    ADC_T::Toggle(ctx, 1);
    return 0;
}

int IC_B::Save_Code(Context& ctx) {
    const CalStep* step = StepOf(ctx);
    if (!step) return -1;
    const bool second = !ctx.model.catalogue.ccPOLAR.empty() && POLAR_cfg::GV(ctx) == 1;
    return step->code + (second ? Plan(ctx).polarityOffset : 0);
}

int IC_B::w_save_ICC(Context& ctx) {
    const CalStep* step = StepOf(ctx);
    if (!step) return -1;
    const int code = IC_B::Save_Code(ctx);
    logs(ctx, "%s\t", std::string("Modbus w SPC.code.ICC.save.") + step->name);
    logi(ctx, "0x%04x\n", code);
    const int r = fn_Modbus_Device_RW_16(ctx, step->access, Plan(ctx).addrCommand, code);
    if (r < 0) return WriteNg(ctx, r);
    msg_cfg::SID(ctx, kMsgWriteOk);
    return 0;
}

int IC_B::END(Context& ctx) {
    ctx.gpCAL.Close();
    ADC_T::Toggle(ctx, 0);
    ADC_V_I::SA_i32(ctx, ui::ATTR_TEXT_COLOR, ui::VAL_BLACK);
    if (int r = IC_B::w_save_ICC(ctx); r < 0) return r;
    IC_B::Next(ctx);
    return 0;
}

int IC_B::Next(Context& ctx) {
    const int count = static_cast<int>(Plan(ctx).steps.size());
    const int next = count > 0 ? (Step(ctx) + 1) % count : 0;
    return ctx.ui.SetActiveCtrl(ctx.gvCAL, Button(ctx, next));
}

int ADC_V_I::SV(Context& ctx, const int values[2]) {
    const auto& pairs = ctx.model.catalogue.caCC_ADC_V_I;
    const int step = Step(ctx);
    if (step >= static_cast<int>(pairs.size())) return -1;
    const CtrlPair& pair = pairs[static_cast<size_t>(step)];
    ctx.ui.SetCtrlVal(ctx.gvCAL, ctx.ui.FindCtrl(ctx.gvCAL, pair.first), values[0]);
    if (pair.second)
        ctx.ui.SetCtrlVal(ctx.gvCAL, ctx.ui.FindCtrl(ctx.gvCAL, pair.second), values[1]);
    return 0;
}

int ADC_V_I::SA_i32(Context& ctx, int attribute, int value) {
    const auto& pairs = ctx.model.catalogue.caCC_ADC_V_I;
    const int step = Step(ctx);
    if (step >= static_cast<int>(pairs.size())) return -1;
    const CtrlPair& pair = pairs[static_cast<size_t>(step)];
    ctx.ui.SetCtrlAttribute(ctx.gvCAL, ctx.ui.FindCtrl(ctx.gvCAL, pair.first), attribute, value);
    if (pair.second)
        ctx.ui.SetCtrlAttribute(ctx.gvCAL, ctx.ui.FindCtrl(ctx.gvCAL, pair.second), attribute,
                                value);
    return 0;
}

int ADC_T::Toggle(Context& ctx, int on) {
    return ctx.ui.SetCtrlAttribute(ctx.gvCAL, Timer(ctx), ui::ATTR_ENABLED, on ? 1 : 0);
}

int ADC_T::sub(Context& ctx) {
    giCNTt::giCNT_inc(ctx);
    // Reopened every 20 readings so the trace reaches the disk while the step runs.
    if (ctx.giCNT % 20 == 0 && ctx.gpCAL.IsOpen()) ctx.gpCAL.Open(kCalTraceFile, "a");
    msg_cfg::SID(ctx, kMsgReading);
    int values[2] = {0, 0};
    int r = 0;
    if (Plan(ctx).readingsWidth == 32) {
        std::array<std::int32_t, 1> v{};
        r = fn_Modbus_Device_RW_32_CAL(ctx, enR, Plan(ctx).addrReadings, 1, v);
        values[0] = v[0];
    } else {
        std::array<std::int16_t, 2> v{};
        r = fn_Modbus_Device_RW_16_CAL(ctx, enR, Plan(ctx).addrReadings, 2, v);
        values[0] = v[0];
        values[1] = v[1];
    }
    if (r < 0) {
        msg_cfg::SID(ctx, kMsgReadNg);
        return r;
    }
    msg_cfg::SID(ctx, kMsgReadOk);
    return ADC_V_I::SV(ctx, values);
}

int evIC(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event != ui::EVENT_COMMIT) return fn_Enter_to_Next(ctx, panel, control, event, data1);
    // The button as the user left it; a refusal below puts it back.
    int on = 0;
    ctx.ui.GetCtrlVal(panel, control, &on);
    // One step at a time: another step's reading must be ended (stored) first.
    if (on && IC_B::Reading(ctx)) {
        ctx.ui.SetCtrlVal(panel, control, 0);
        msg_cfg::SCV(ctx, kMsgRed, kMsgCalBusy);
        return 0;
    }
    if (DevInfo2::fr_Modbus_to_GUI(ctx) < 0) return 0;
    IC_B::Who_Am_I(ctx, panel, control);
    if (on) {
        // The poll shares the trace and the line: watching stops while a step reads.
        if (MSPV_B::GV(ctx)) Menu_PV_Read::Toggle(ctx);
        if (IC_B::BEG(ctx) < 0) IC_B::SV(ctx, 0);
    } else if (IC_B::END(ctx) < 0) {
        // The store is tried again when the button is switched off again.
        IC_B::SV(ctx, 1);
    }
    return 0;
}

int ev_ADC_T(Context& ctx, int, int, int event, void*, int, int) {
    if (event == ui::EVENT_TIMER_TICK) ADC_T::sub(ctx);
    return 0;
}

}  // namespace conf
