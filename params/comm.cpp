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

NumericModule Id(const Context& ctx) {
    return NumericModule{&Context::gvCFG, Cat(ctx).ccID, {}, nullptr, nullptr, IdRange};
}

RingModule Br(const Context& ctx) {
    return RingModule{&Context::gvCFG, Cat(ctx).ccBR, {}, nullptr, BrRange, kColorNormal, false};
}

RingModule Rtu(const Context& ctx) {
    return RingModule{&Context::gvCFG, Cat(ctx).ccRTU, {}, nullptr, RtuRange, kColorNormal, false};
}

RingModule Lock(const Context& ctx) {
    return RingModule{&Context::gvCFG, Cat(ctx).ccLOCK, {}, nullptr, nullptr, kColorNormal, false};
}

}  // namespace

// --- ID_cfg ---------------------------------------------------------------------------------

int ID_cfg::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, Id(ctx), loc);
}
int ID_cfg::SV(Context& ctx, int raw) {
    return num::SV(ctx, Id(ctx), raw);
}
int ID_cfg::GV(Context& ctx) {
    return num::GV(ctx, Id(ctx));
}
int ID_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, Id(ctx), attribute, value);
}
int ID_cfg::Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, Id(ctx), min, max);
}
int ID_cfg::Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, Id(ctx), on);
}
int ID_cfg::OOR(Context& ctx) {
    return num::OOR(ctx, Id(ctx));
}
int ID_cfg::Limit(Context& ctx) {
    return num::Limit(ctx, Id(ctx));
}

// --- BR_cfg ---------------------------------------------------------------------------------

int BR_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Br(ctx), loc);
}
int BR_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, Br(ctx), index);
}
int BR_cfg::GI(Context& ctx) {
    return ring::GI(ctx, Br(ctx));
}
int BR_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, Br(ctx), attribute, value);
}
int BR_cfg::Query_Range(Context& ctx, int* min, int* max) {
    return ring::Query_Range(ctx, Br(ctx), min, max);
}
int BR_cfg::Hi_Light(Context& ctx, int on) {
    return ring::Hi_Light(ctx, Br(ctx), on);
}
int BR_cfg::OOR_EX(Context& ctx, int value) {
    return ring::OOR_EX(ctx, Br(ctx), value);
}

// --- RTU_cfg --------------------------------------------------------------------------------

int RTU_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Rtu(ctx), loc);
}
int RTU_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, Rtu(ctx), index);
}
int RTU_cfg::GI(Context& ctx) {
    return ring::GI(ctx, Rtu(ctx));
}
int RTU_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, Rtu(ctx), attribute, value);
}
int RTU_cfg::Query_Range(Context& ctx, int* min, int* max) {
    return ring::Query_Range(ctx, Rtu(ctx), min, max);
}
int RTU_cfg::Hi_Light(Context& ctx, int on) {
    return ring::Hi_Light(ctx, Rtu(ctx), on);
}
int RTU_cfg::OOR_EX(Context& ctx, int value) {
    return ring::OOR_EX(ctx, Rtu(ctx), value);
}
int RTU_cfg::Toggle_Dim(Context& ctx, int dim) {
    return ring::Toggle_Dim(ctx, Rtu(ctx), dim);
}

// --- Lock_cfg -------------------------------------------------------------------------------

int Lock_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Lock(ctx), loc);
}
int Lock_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, Lock(ctx), index);
}
int Lock_cfg::GI(Context& ctx) {
    return ring::GI(ctx, Lock(ctx));
}
int Lock_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, Lock(ctx), attribute, value);
}
int Lock_cfg::Toggle_Dim(Context& ctx, int dim) {
    return ring::Toggle_Dim(ctx, Lock(ctx), dim);
}

}  // namespace conf
