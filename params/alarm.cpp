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

RingModule AxFU(const Context& ctx) {
    return RingModule{&Context::gvCFG,
                      Cat(ctx).caCC_AxFU,
                      Cat(ctx).caADDR_AxFU,
                      &kSelAlarm,
                      nullptr,
                      kColorNormal,
                      false};
}

RingModule AxMD(const Context& ctx) {
    return RingModule{&Context::gvCFG,
                      Cat(ctx).caCC_AxMD,
                      Cat(ctx).caADDR_AxMD,
                      &kSelAlarm,
                      nullptr,
                      kColorNormal,
                      false};
}

NumericModule AxSP(const Context& ctx) {
    return NumericModule{&Context::gvCFG, Cat(ctx).caCC_AxSP, Cat(ctx).caADDR_AxSP,
                         &kSelAlarm,      &DpScaling(),       DRng_cfg::Query_Range};
}

NumericModule AxHY(const Context& ctx) {
    return NumericModule{&Context::gvCFG, Cat(ctx).caCC_AxHY, Cat(ctx).caADDR_AxHY,
                         &kSelAlarm,      &DpScaling(),       HysteresisRange};
}

}  // namespace

// --- AxFU_cfg -------------------------------------------------------------------------------

int AxFU_cfg::q_MB_Address(Context& ctx) {
    return ring::q_MB_Address(ctx, AxFU(ctx));
}
int AxFU_cfg::Who_Am_I(Context& ctx, int panel, int control) {
    return ring::Who_Am_I(ctx, AxFU(ctx), panel, control);
}
int AxFU_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, AxFU(ctx), loc);
}
int AxFU_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, AxFU(ctx), index);
}
int AxFU_cfg::GI(Context& ctx) {
    return ring::GI(ctx, AxFU(ctx));
}
int AxFU_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, AxFU(ctx), attribute, value);
}

// --- AxMD_cfg -------------------------------------------------------------------------------

int AxMD_cfg::q_MB_Address(Context& ctx) {
    return ring::q_MB_Address(ctx, AxMD(ctx));
}
int AxMD_cfg::Who_Am_I(Context& ctx, int panel, int control) {
    return ring::Who_Am_I(ctx, AxMD(ctx), panel, control);
}
int AxMD_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, AxMD(ctx), loc);
}
int AxMD_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, AxMD(ctx), index);
}
int AxMD_cfg::GI(Context& ctx) {
    return ring::GI(ctx, AxMD(ctx));
}
int AxMD_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, AxMD(ctx), attribute, value);
}

// --- AxSP_cfg -------------------------------------------------------------------------------

int AxSP_cfg::q_MB_Address(Context& ctx) {
    return num::q_MB_Address(ctx, AxSP(ctx));
}
int AxSP_cfg::Who_Am_I(Context& ctx, int panel, int control) {
    return num::Who_Am_I(ctx, AxSP(ctx), panel, control);
}
int AxSP_cfg::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, AxSP(ctx), loc);
}
int AxSP_cfg::SV(Context& ctx, int raw) {
    return num::SV(ctx, AxSP(ctx), raw);
}
int AxSP_cfg::GV(Context& ctx) {
    return num::GV(ctx, AxSP(ctx));
}
int AxSP_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, AxSP(ctx), attribute, value);
}
int AxSP_cfg::Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, AxSP(ctx), min, max);
}
int AxSP_cfg::Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, AxSP(ctx), on);
}
int AxSP_cfg::OOR(Context& ctx) {
    return num::OOR(ctx, AxSP(ctx));
}
int AxSP_cfg::Limit(Context& ctx) {
    return num::Limit(ctx, AxSP(ctx));
}
int AxSP_cfg::Set_Precision(Context& ctx) {
    return num::Set_Precision(ctx, AxSP(ctx));
}
int AxSP_cfg::Refresh(Context& ctx) {
    return num::Refresh(ctx, AxSP(ctx));
}

// --- AxHY_cfg -------------------------------------------------------------------------------

int AxHY_cfg::q_MB_Address(Context& ctx) {
    return num::q_MB_Address(ctx, AxHY(ctx));
}
int AxHY_cfg::Who_Am_I(Context& ctx, int panel, int control) {
    return num::Who_Am_I(ctx, AxHY(ctx), panel, control);
}
int AxHY_cfg::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, AxHY(ctx), loc);
}
int AxHY_cfg::SV(Context& ctx, int raw) {
    return num::SV(ctx, AxHY(ctx), raw);
}
int AxHY_cfg::GV(Context& ctx) {
    return num::GV(ctx, AxHY(ctx));
}
int AxHY_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, AxHY(ctx), attribute, value);
}
int AxHY_cfg::Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, AxHY(ctx), min, max);
}
int AxHY_cfg::Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, AxHY(ctx), on);
}
int AxHY_cfg::OOR(Context& ctx) {
    return num::OOR(ctx, AxHY(ctx));
}
int AxHY_cfg::Limit(Context& ctx) {
    return num::Limit(ctx, AxHY(ctx));
}
int AxHY_cfg::Set_Precision(Context& ctx) {
    return num::Set_Precision(ctx, AxHY(ctx));
}
int AxHY_cfg::Refresh(Context& ctx) {
    return num::Refresh(ctx, AxHY(ctx));
}

}  // namespace conf
