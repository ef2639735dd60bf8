#include "params/comm.h"

#include "models/model.h"
#include "params/numeric.h"
#include "params/ring.h"

namespace conf {

namespace {

const ParamCatalogue& Cat(const Context& ctx) {
    return ctx.model.catalogue;
}

int IdRange(Context& ctx, int* min, int* max) {
    *min = Cat(ctx).rngID.low;
    *max = Cat(ctx).rngID.high;
    return 0;
}

int BrRange(Context& ctx, int* min, int* max) {
    *min = Cat(ctx).rngBR.low;
    *max = Cat(ctx).rngBR.high;
    return 0;
}

int RtuRange(Context& ctx, int* min, int* max) {
    *min = Cat(ctx).rngRTU.low;
    *max = Cat(ctx).rngRTU.high;
    return 0;
}

}  // namespace

NumericModule ID_cfg_def(const Context& ctx) {
    return NumericModule{&Context::gvCFG, Cat(ctx).ccID, {}, nullptr, nullptr, IdRange};
}

RingModule BR_cfg_def(const Context& ctx) {
    return RingModule{&Context::gvCFG, Cat(ctx).ccBR, {}, nullptr, BrRange, kColorNormal, false};
}

RingModule RTU_cfg_def(const Context& ctx) {
    return RingModule{&Context::gvCFG, Cat(ctx).ccRTU, {}, nullptr, RtuRange, kColorNormal, false};
}

RingModule Lock_cfg_def(const Context& ctx) {
    return RingModule{&Context::gvCFG, Cat(ctx).ccLOCK, {}, nullptr, nullptr, kColorNormal, false};
}

}  // namespace conf
