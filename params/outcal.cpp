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

RadioGroup RTS_R_cfg_def(const Context& ctx) {
    return RadioGroup{&Context::gvCFG, Cat(ctx).caCC_RTS_R};
}

RadioGroup RTS_R_cal_def(const Context& ctx) {
    return RadioGroup{&Context::gvCAL, Cat(ctx).caCC_RTS_R_cal};
}

NumericModule RTS_V_cfg_def(const Context& ctx) {
    return NumericModule{&Context::gvCFG, Cat(ctx).caCC_RTS_V, Module::kRtsV, &kSelRTS, nullptr,
                         RtsRange};
}

NumericModule RTS_V_cal_def(const Context& ctx) {
    return NumericModule{&Context::gvCAL, Cat(ctx).caCC_RTS_V_cal, Module::kRtsV, &kSelRTS, nullptr,
                         RtsRange};
}

// --- RTS_V_cfg ------------------------------------------------------------------------------

int RTS_V_cfg_panel::Toggle_Dim(Context& ctx) {
    return ToggleDim(ctx, RTS_V_cfg_def(ctx), RTS_R_cfg_panel::GV(ctx));
}

// --- RTS_V_cal ------------------------------------------------------------------------------

int RTS_V_cal_panel::Toggle_Dim(Context& ctx) {
    return ToggleDim(ctx, RTS_V_cal_def(ctx), RTS_R_cal_panel::GV(ctx));
}

}  // namespace conf
