#include "params/alarm.h"

#include "core/selector.h"
#include "models/model.h"
#include "params/measuring.h"
#include "params/numeric.h"
#include "params/ring.h"
#include "params/scaling_dp.h"

namespace conf {

namespace {

const ParamCatalogue& Cat(const Context& ctx) {
    return ctx.model.catalogue;
}

int HysteresisRange(Context& ctx, int* min, int* max) {
    int low = 0;
    DRng_cfg::Query_Range(ctx, &low, max);
    *min = 0;
    return 0;
}

}  // namespace

RingModule AxFU_cfg_def(const Context& ctx) {
    return RingModule{&Context::gvCFG, Cat(ctx).caCC_AxFU, Module::kAxFU, &kSelAlarm,
                      nullptr,         kColorNormal,       false};
}

RingModule AxMD_cfg_def(const Context& ctx) {
    return RingModule{&Context::gvCFG, Cat(ctx).caCC_AxMD, Module::kAxMD, &kSelAlarm,
                      nullptr,         kColorNormal,       false};
}

NumericModule AxSP_cfg_def(const Context& ctx) {
    return NumericModule{&Context::gvCFG, Cat(ctx).caCC_AxSP, Module::kAxSP,
                         &kSelAlarm,      &DpScaling(),       DRng_cfg::Query_Range};
}

NumericModule AxHY_cfg_def(const Context& ctx) {
    return NumericModule{&Context::gvCFG, Cat(ctx).caCC_AxHY, Module::kAxHY,
                         &kSelAlarm,      &DpScaling(),       HysteresisRange};
}

}  // namespace conf
