#include "params/outcal104.h"

#include "core/selector.h"
#include "models/param_catalogue_a.h"
#include "params/numeric.h"
#include "params/radio.h"

namespace conf {

namespace {

const ParamCatalogue& Cat() {
    return ModelACatalogue();
}

int RtsRange(Context&, int* min, int* max) {
    *min = Cat().rngRTS.low;
    *max = Cat().rngRTS.high;
    return 0;
}

const RadioGroup& StepCfg() {
    static const RadioGroup g{&Context::gvCFG, Cat().caCC_RTS_R};
    return g;
}

const RadioGroup& StepCal() {
    static const RadioGroup g{&Context::gvCAL, Cat().caCC_RTS_R_cal};
    return g;
}

const NumericModule& ValueCfg() {
    static const NumericModule m{&Context::gvCFG, Cat().caCC_RTS_V, Cat().caADDR_RTS,
                                 &kSelRTS,        nullptr,          RtsRange};
    return m;
}

const NumericModule& ValueCal() {
    static const NumericModule m{
        &Context::gvCAL, Cat().caCC_RTS_V_cal, Cat().caADDR_RTS_cal, &kSelRTS, nullptr, RtsRange};
    return m;
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

int mf_104_RTS_R_cfg__who_am_I(Context& ctx, int panel, int control) {
    return radio::who_am_I(ctx, StepCfg(), panel, control);
}
int mf_104_RTS_R_cfg__init(Context& ctx, int index, Locator* loc) {
    return radio::init(ctx, StepCfg(), index, loc);
}
int mf_104_RTS_R_cfg__Radio__SV(Context& ctx, int index, int on) {
    return radio::Radio__SV(ctx, StepCfg(), index, on);
}
int mf_104_RTS_R_cfg__Radio__GV(Context& ctx, int index) {
    return radio::Radio__GV(ctx, StepCfg(), index);
}
int mf_104_RTS_R_cfg__SV(Context& ctx, int index) {
    return radio::SV(ctx, StepCfg(), index);
}
int mf_104_RTS_R_cfg__GV(Context& ctx) {
    return radio::GV(ctx, StepCfg());
}

// --- RTS_R_cal ------------------------------------------------------------------------------

int mf_104_RTS_R_cal__who_am_I(Context& ctx, int panel, int control) {
    return radio::who_am_I(ctx, StepCal(), panel, control);
}
int mf_104_RTS_R_cal__init(Context& ctx, int index, Locator* loc) {
    return radio::init(ctx, StepCal(), index, loc);
}
int mf_104_RTS_R_cal__Radio__SV(Context& ctx, int index, int on) {
    return radio::Radio__SV(ctx, StepCal(), index, on);
}
int mf_104_RTS_R_cal__Radio__GV(Context& ctx, int index) {
    return radio::Radio__GV(ctx, StepCal(), index);
}
int mf_104_RTS_R_cal__SV(Context& ctx, int index) {
    return radio::SV(ctx, StepCal(), index);
}
int mf_104_RTS_R_cal__GV(Context& ctx) {
    return radio::GV(ctx, StepCal());
}

// --- RTS_V_cfg ------------------------------------------------------------------------------

int mf_104_RTS_V_cfg__q_MB_Address(Context& ctx) {
    return num::q_MB_Address(ctx, ValueCfg());
}
int mf_104_RTS_V_cfg__Who_Am_I(Context& ctx, int panel, int control) {
    return num::Who_Am_I(ctx, ValueCfg(), panel, control);
}
int mf_104_RTS_V_cfg__init(Context& ctx, Locator* loc) {
    return num::Init(ctx, ValueCfg(), loc);
}
int mf_104_RTS_V_cfg__SV(Context& ctx, int raw) {
    return num::SV(ctx, ValueCfg(), raw);
}
int mf_104_RTS_V_cfg__GV(Context& ctx) {
    return num::GV(ctx, ValueCfg());
}
int mf_104_RTS_V_cfg__SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, ValueCfg(), attribute, value);
}
int mf_104_RTS_V_cfg__Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, ValueCfg(), min, max);
}
int mf_104_RTS_V_cfg__Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, ValueCfg(), on);
}
int mf_104_RTS_V_cfg__OOR(Context& ctx) {
    return num::OOR(ctx, ValueCfg());
}
int mf_104_RTS_V_cfg__Limit(Context& ctx) {
    return num::Limit(ctx, ValueCfg());
}
int mf_104_RTS_V_cfg__Toggle_Dim(Context& ctx) {
    return ToggleDim(ctx, ValueCfg(), mf_104_RTS_R_cfg__GV(ctx));
}

// --- RTS_V_cal ------------------------------------------------------------------------------

int mf_104_RTS_V_cal__q_MB_Address(Context& ctx) {
    return num::q_MB_Address(ctx, ValueCal());
}
int mf_104_RTS_V_cal__Who_Am_I(Context& ctx, int panel, int control) {
    return num::Who_Am_I(ctx, ValueCal(), panel, control);
}
int mf_104_RTS_V_cal__init(Context& ctx, Locator* loc) {
    return num::Init(ctx, ValueCal(), loc);
}
int mf_104_RTS_V_cal__SV(Context& ctx, int raw) {
    return num::SV(ctx, ValueCal(), raw);
}
int mf_104_RTS_V_cal__GV(Context& ctx) {
    return num::GV(ctx, ValueCal());
}
int mf_104_RTS_V_cal__SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, ValueCal(), attribute, value);
}
int mf_104_RTS_V_cal__Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, ValueCal(), min, max);
}
int mf_104_RTS_V_cal__Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, ValueCal(), on);
}
int mf_104_RTS_V_cal__OOR(Context& ctx) {
    return num::OOR(ctx, ValueCal());
}
int mf_104_RTS_V_cal__Limit(Context& ctx) {
    return num::Limit(ctx, ValueCal());
}
int mf_104_RTS_V_cal__Toggle_Dim(Context& ctx) {
    return ToggleDim(ctx, ValueCal(), mf_104_RTS_R_cal__GV(ctx));
}

}  // namespace conf
