#include "params/outcal.h"

#include "core/selector.h"
#include "models/model.h"
#include "params/numeric.h"
#include "params/radio.h"

namespace conf {

namespace {

const ParamCatalogue& Cat(const Context& ctx) {
    return ctx.model.catalogue;
}

int RtsRange(Context& ctx, int* min, int* max) {
    *min = Cat(ctx).rngRTS.low;
    *max = Cat(ctx).rngRTS.high;
    return 0;
}

RadioGroup StepCfg(const Context& ctx) {
    return RadioGroup{&Context::gvCFG, Cat(ctx).caCC_RTS_R};
}

RadioGroup StepCal(const Context& ctx) {
    return RadioGroup{&Context::gvCAL, Cat(ctx).caCC_RTS_R_cal};
}

NumericModule ValueCfg(const Context& ctx) {
    return NumericModule{
        &Context::gvCFG, Cat(ctx).caCC_RTS_V, Cat(ctx).caADDR_RTS, &kSelRTS, nullptr, RtsRange};
}

NumericModule ValueCal(const Context& ctx) {
    return NumericModule{
        &Context::gvCAL, Cat(ctx).caCC_RTS_V_cal, Cat(ctx).caADDR_RTS_cal, &kSelRTS, nullptr,
        RtsRange};
}

// Steps 0 and 1 adjust the low and the high end; the end step adjusts nothing.
int ToggleDim(Context& ctx, const NumericModule& values, int step) {
    for (int i = 0; i < static_cast<int>(values.controls.size()); ++i) {
        num::Select(ctx, values, i);
        num::Toggle_Dim(ctx, values, 1);
    }
    if (step == 0 || step == 1) {
        num::Select(ctx, values, step);
        num::Toggle_Dim(ctx, values, 0);
    }
    return 0;
}

}  // namespace

// --- RTS_R_cfg ------------------------------------------------------------------------------

int RTS_R_cfg::who_am_I(Context& ctx, int panel, int control) {
    return radio::who_am_I(ctx, StepCfg(ctx), panel, control);
}
int RTS_R_cfg::init(Context& ctx, int index, Locator* loc) {
    return radio::init(ctx, StepCfg(ctx), index, loc);
}
int RTS_R_cfg::Radio__SV(Context& ctx, int index, int on) {
    return radio::Radio__SV(ctx, StepCfg(ctx), index, on);
}
int RTS_R_cfg::Radio__GV(Context& ctx, int index) {
    return radio::Radio__GV(ctx, StepCfg(ctx), index);
}
int RTS_R_cfg::SV(Context& ctx, int index) {
    return radio::SV(ctx, StepCfg(ctx), index);
}
int RTS_R_cfg::GV(Context& ctx) {
    return radio::GV(ctx, StepCfg(ctx));
}

// --- RTS_R_cal ------------------------------------------------------------------------------

int RTS_R_cal::who_am_I(Context& ctx, int panel, int control) {
    return radio::who_am_I(ctx, StepCal(ctx), panel, control);
}
int RTS_R_cal::init(Context& ctx, int index, Locator* loc) {
    return radio::init(ctx, StepCal(ctx), index, loc);
}
int RTS_R_cal::Radio__SV(Context& ctx, int index, int on) {
    return radio::Radio__SV(ctx, StepCal(ctx), index, on);
}
int RTS_R_cal::Radio__GV(Context& ctx, int index) {
    return radio::Radio__GV(ctx, StepCal(ctx), index);
}
int RTS_R_cal::SV(Context& ctx, int index) {
    return radio::SV(ctx, StepCal(ctx), index);
}
int RTS_R_cal::GV(Context& ctx) {
    return radio::GV(ctx, StepCal(ctx));
}

// --- RTS_V_cfg ------------------------------------------------------------------------------

int RTS_V_cfg::q_MB_Address(Context& ctx) {
    return num::q_MB_Address(ctx, ValueCfg(ctx));
}
int RTS_V_cfg::Who_Am_I(Context& ctx, int panel, int control) {
    return num::Who_Am_I(ctx, ValueCfg(ctx), panel, control);
}
int RTS_V_cfg::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, ValueCfg(ctx), loc);
}
int RTS_V_cfg::SV(Context& ctx, int raw) {
    return num::SV(ctx, ValueCfg(ctx), raw);
}
int RTS_V_cfg::GV(Context& ctx) {
    return num::GV(ctx, ValueCfg(ctx));
}
int RTS_V_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, ValueCfg(ctx), attribute, value);
}
int RTS_V_cfg::Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, ValueCfg(ctx), min, max);
}
int RTS_V_cfg::Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, ValueCfg(ctx), on);
}
int RTS_V_cfg::OOR(Context& ctx) {
    return num::OOR(ctx, ValueCfg(ctx));
}
int RTS_V_cfg::Limit(Context& ctx) {
    return num::Limit(ctx, ValueCfg(ctx));
}
int RTS_V_cfg::Toggle_Dim(Context& ctx) {
    return ToggleDim(ctx, ValueCfg(ctx), RTS_R_cfg::GV(ctx));
}

// --- RTS_V_cal ------------------------------------------------------------------------------

int RTS_V_cal::q_MB_Address(Context& ctx) {
    return num::q_MB_Address(ctx, ValueCal(ctx));
}
int RTS_V_cal::Who_Am_I(Context& ctx, int panel, int control) {
    return num::Who_Am_I(ctx, ValueCal(ctx), panel, control);
}
int RTS_V_cal::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, ValueCal(ctx), loc);
}
int RTS_V_cal::SV(Context& ctx, int raw) {
    return num::SV(ctx, ValueCal(ctx), raw);
}
int RTS_V_cal::GV(Context& ctx) {
    return num::GV(ctx, ValueCal(ctx));
}
int RTS_V_cal::SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, ValueCal(ctx), attribute, value);
}
int RTS_V_cal::Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, ValueCal(ctx), min, max);
}
int RTS_V_cal::Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, ValueCal(ctx), on);
}
int RTS_V_cal::OOR(Context& ctx) {
    return num::OOR(ctx, ValueCal(ctx));
}
int RTS_V_cal::Limit(Context& ctx) {
    return num::Limit(ctx, ValueCal(ctx));
}
int RTS_V_cal::Toggle_Dim(Context& ctx) {
    return ToggleDim(ctx, ValueCal(ctx), RTS_R_cal::GV(ctx));
}

}  // namespace conf
