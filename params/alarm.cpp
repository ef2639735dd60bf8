#include "params/alarm.h"

#include "core/selector.h"
#include "models/param_catalogue_a.h"
#include "params/measuring.h"
#include "params/numeric.h"
#include "params/ring.h"
#include "params/scaling_dp.h"

namespace conf {

namespace {

const ParamCatalogue& Cat() {
    return ModelACatalogue();
}

int HysteresisRange(Context& ctx, int* min, int* max) {
    int low = 0;
    DRng_cfg::Query_Range(ctx, &low, max);
    *min = 0;
    return 0;
}

const RingModule& AxFU() {
    static const RingModule m{&Context::gvCFG,
                              Cat().caCC_AxFU,
                              Cat().caADDR_AxFU,
                              &kSelAlarm,
                              nullptr,
                              kColorNormal,
                              false};
    return m;
}

const RingModule& AxMD() {
    static const RingModule m{&Context::gvCFG,
                              Cat().caCC_AxMD,
                              Cat().caADDR_AxMD,
                              &kSelAlarm,
                              nullptr,
                              kColorNormal,
                              false};
    return m;
}

const NumericModule& AxSP() {
    static const NumericModule m{&Context::gvCFG, Cat().caCC_AxSP, Cat().caADDR_AxSP,
                                 &kSelAlarm,      &DpScaling(),    DRng_cfg::Query_Range};
    return m;
}

const NumericModule& AxHY() {
    static const NumericModule m{&Context::gvCFG, Cat().caCC_AxHY, Cat().caADDR_AxHY,
                                 &kSelAlarm,      &DpScaling(),    HysteresisRange};
    return m;
}

}  // namespace

// --- AxFU_cfg -------------------------------------------------------------------------------

int AxFU_cfg::q_MB_Address(Context& ctx) {
    return ring::q_MB_Address(ctx, AxFU());
}
int AxFU_cfg::Who_Am_I(Context& ctx, int panel, int control) {
    return ring::Who_Am_I(ctx, AxFU(), panel, control);
}
int AxFU_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, AxFU(), loc);
}
int AxFU_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, AxFU(), index);
}
int AxFU_cfg::GI(Context& ctx) {
    return ring::GI(ctx, AxFU());
}
int AxFU_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, AxFU(), attribute, value);
}

// --- AxMD_cfg -------------------------------------------------------------------------------

int AxMD_cfg::q_MB_Address(Context& ctx) {
    return ring::q_MB_Address(ctx, AxMD());
}
int AxMD_cfg::Who_Am_I(Context& ctx, int panel, int control) {
    return ring::Who_Am_I(ctx, AxMD(), panel, control);
}
int AxMD_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, AxMD(), loc);
}
int AxMD_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, AxMD(), index);
}
int AxMD_cfg::GI(Context& ctx) {
    return ring::GI(ctx, AxMD());
}
int AxMD_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, AxMD(), attribute, value);
}

// --- AxSP_cfg -------------------------------------------------------------------------------

int AxSP_cfg::q_MB_Address(Context& ctx) {
    return num::q_MB_Address(ctx, AxSP());
}
int AxSP_cfg::Who_Am_I(Context& ctx, int panel, int control) {
    return num::Who_Am_I(ctx, AxSP(), panel, control);
}
int AxSP_cfg::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, AxSP(), loc);
}
int AxSP_cfg::SV(Context& ctx, int raw) {
    return num::SV(ctx, AxSP(), raw);
}
int AxSP_cfg::GV(Context& ctx) {
    return num::GV(ctx, AxSP());
}
int AxSP_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, AxSP(), attribute, value);
}
int AxSP_cfg::Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, AxSP(), min, max);
}
int AxSP_cfg::Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, AxSP(), on);
}
int AxSP_cfg::OOR(Context& ctx) {
    return num::OOR(ctx, AxSP());
}
int AxSP_cfg::Limit(Context& ctx) {
    return num::Limit(ctx, AxSP());
}
int AxSP_cfg::Set_Precision(Context& ctx) {
    return num::Set_Precision(ctx, AxSP());
}
int AxSP_cfg::Refresh(Context& ctx) {
    return num::Refresh(ctx, AxSP());
}

// --- AxHY_cfg -------------------------------------------------------------------------------

int AxHY_cfg::q_MB_Address(Context& ctx) {
    return num::q_MB_Address(ctx, AxHY());
}
int AxHY_cfg::Who_Am_I(Context& ctx, int panel, int control) {
    return num::Who_Am_I(ctx, AxHY(), panel, control);
}
int AxHY_cfg::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, AxHY(), loc);
}
int AxHY_cfg::SV(Context& ctx, int raw) {
    return num::SV(ctx, AxHY(), raw);
}
int AxHY_cfg::GV(Context& ctx) {
    return num::GV(ctx, AxHY());
}
int AxHY_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, AxHY(), attribute, value);
}
int AxHY_cfg::Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, AxHY(), min, max);
}
int AxHY_cfg::Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, AxHY(), on);
}
int AxHY_cfg::OOR(Context& ctx) {
    return num::OOR(ctx, AxHY());
}
int AxHY_cfg::Limit(Context& ctx) {
    return num::Limit(ctx, AxHY());
}
int AxHY_cfg::Set_Precision(Context& ctx) {
    return num::Set_Precision(ctx, AxHY());
}
int AxHY_cfg::Refresh(Context& ctx) {
    return num::Refresh(ctx, AxHY());
}

}  // namespace conf
