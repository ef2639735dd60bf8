#include "params/alarm104.h"

#include "core/selector.h"
#include "models/param_catalogue_a.h"
#include "params/measuring104.h"
#include "params/numeric.h"
#include "params/ring.h"
#include "params/scaling104.h"

namespace conf {

namespace {

const ParamCatalogue& Cat() {
    return ModelACatalogue();
}

int HysteresisRange(Context& ctx, int* min, int* max) {
    int low = 0;
    mf_104_DRng_cfg__Query_Range(ctx, &low, max);
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
                                 &kSelAlarm,      &DpScaling104(), mf_104_DRng_cfg__Query_Range};
    return m;
}

const NumericModule& AxHY() {
    static const NumericModule m{&Context::gvCFG, Cat().caCC_AxHY, Cat().caADDR_AxHY,
                                 &kSelAlarm,      &DpScaling104(), HysteresisRange};
    return m;
}

}  // namespace

// --- AxFU_cfg -------------------------------------------------------------------------------

int mf_104_AxFU_cfg__q_MB_Address(Context& ctx) {
    return ring::q_MB_Address(ctx, AxFU());
}
int mf_104_AxFU_cfg__Who_Am_I(Context& ctx, int panel, int control) {
    return ring::Who_Am_I(ctx, AxFU(), panel, control);
}
int mf_104_AxFU_cfg__init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, AxFU(), loc);
}
int mf_104_AxFU_cfg__SI(Context& ctx, int index) {
    return ring::SI(ctx, AxFU(), index);
}
int mf_104_AxFU_cfg__GI(Context& ctx) {
    return ring::GI(ctx, AxFU());
}
int mf_104_AxFU_cfg__SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, AxFU(), attribute, value);
}

// --- AxMD_cfg -------------------------------------------------------------------------------

int mf_104_AxMD_cfg__q_MB_Address(Context& ctx) {
    return ring::q_MB_Address(ctx, AxMD());
}
int mf_104_AxMD_cfg__Who_Am_I(Context& ctx, int panel, int control) {
    return ring::Who_Am_I(ctx, AxMD(), panel, control);
}
int mf_104_AxMD_cfg__init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, AxMD(), loc);
}
int mf_104_AxMD_cfg__SI(Context& ctx, int index) {
    return ring::SI(ctx, AxMD(), index);
}
int mf_104_AxMD_cfg__GI(Context& ctx) {
    return ring::GI(ctx, AxMD());
}
int mf_104_AxMD_cfg__SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, AxMD(), attribute, value);
}

// --- AxSP_cfg -------------------------------------------------------------------------------

int mf_104_AxSP_cfg__q_MB_Address(Context& ctx) {
    return num::q_MB_Address(ctx, AxSP());
}
int mf_104_AxSP_cfg__Who_Am_I(Context& ctx, int panel, int control) {
    return num::Who_Am_I(ctx, AxSP(), panel, control);
}
int mf_104_AxSP_cfg__init(Context& ctx, Locator* loc) {
    return num::Init(ctx, AxSP(), loc);
}
int mf_104_AxSP_cfg__SV(Context& ctx, int raw) {
    return num::SV(ctx, AxSP(), raw);
}
int mf_104_AxSP_cfg__GV(Context& ctx) {
    return num::GV(ctx, AxSP());
}
int mf_104_AxSP_cfg__SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, AxSP(), attribute, value);
}
int mf_104_AxSP_cfg__Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, AxSP(), min, max);
}
int mf_104_AxSP_cfg__Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, AxSP(), on);
}
int mf_104_AxSP_cfg__OOR(Context& ctx) {
    return num::OOR(ctx, AxSP());
}
int mf_104_AxSP_cfg__Limit(Context& ctx) {
    return num::Limit(ctx, AxSP());
}
int mf_104_AxSP_cfg__Set_Precision(Context& ctx) {
    return num::Set_Precision(ctx, AxSP());
}
int mf_104_AxSP_cfg__Refresh(Context& ctx) {
    return num::Refresh(ctx, AxSP());
}

// --- AxHY_cfg -------------------------------------------------------------------------------

int mf_104_AxHY_cfg__q_MB_Address(Context& ctx) {
    return num::q_MB_Address(ctx, AxHY());
}
int mf_104_AxHY_cfg__Who_Am_I(Context& ctx, int panel, int control) {
    return num::Who_Am_I(ctx, AxHY(), panel, control);
}
int mf_104_AxHY_cfg__init(Context& ctx, Locator* loc) {
    return num::Init(ctx, AxHY(), loc);
}
int mf_104_AxHY_cfg__SV(Context& ctx, int raw) {
    return num::SV(ctx, AxHY(), raw);
}
int mf_104_AxHY_cfg__GV(Context& ctx) {
    return num::GV(ctx, AxHY());
}
int mf_104_AxHY_cfg__SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, AxHY(), attribute, value);
}
int mf_104_AxHY_cfg__Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, AxHY(), min, max);
}
int mf_104_AxHY_cfg__Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, AxHY(), on);
}
int mf_104_AxHY_cfg__OOR(Context& ctx) {
    return num::OOR(ctx, AxHY());
}
int mf_104_AxHY_cfg__Limit(Context& ctx) {
    return num::Limit(ctx, AxHY());
}
int mf_104_AxHY_cfg__Set_Precision(Context& ctx) {
    return num::Set_Precision(ctx, AxHY());
}
int mf_104_AxHY_cfg__Refresh(Context& ctx) {
    return num::Refresh(ctx, AxHY());
}

}  // namespace conf
