#include "params/comm104.h"

#include "models/param_catalogue_a.h"
#include "params/numeric.h"
#include "params/ring.h"

namespace conf {

namespace {

const ParamCatalogue& Cat() {
    return ModelACatalogue();
}

int IdRange(Context&, int* min, int* max) {
    *min = Cat().rngID.low;
    *max = Cat().rngID.high;
    return 0;
}

int BrRange(Context&, int* min, int* max) {
    *min = Cat().rngBR.low;
    *max = Cat().rngBR.high;
    return 0;
}

int RtuRange(Context&, int* min, int* max) {
    *min = Cat().rngRTU.low;
    *max = Cat().rngRTU.high;
    return 0;
}

const NumericModule& Id() {
    static const NumericModule m{&Context::gvCFG, Cat().ccID, {}, nullptr, nullptr, IdRange};
    return m;
}

const RingModule& Br() {
    static const RingModule m{&Context::gvCFG, Cat().ccBR,   {},   nullptr,
                              BrRange,         kColorNormal, false};
    return m;
}

const RingModule& Rtu() {
    static const RingModule m{&Context::gvCFG, Cat().ccRTU,  {},   nullptr,
                              RtuRange,        kColorNormal, false};
    return m;
}

const RingModule& Lock() {
    static const RingModule m{&Context::gvCFG, Cat().ccLOCK, {},   nullptr,
                              nullptr,         kColorNormal, false};
    return m;
}

}  // namespace

// --- ID_cfg ---------------------------------------------------------------------------------

int mf_104_ID_cfg__init(Context& ctx, Locator* loc) {
    return num::Init(ctx, Id(), loc);
}
int mf_104_ID_cfg__SV(Context& ctx, int raw) {
    return num::SV(ctx, Id(), raw);
}
int mf_104_ID_cfg__GV(Context& ctx) {
    return num::GV(ctx, Id());
}
int mf_104_ID_cfg__SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, Id(), attribute, value);
}
int mf_104_ID_cfg__Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, Id(), min, max);
}
int mf_104_ID_cfg__Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, Id(), on);
}
int mf_104_ID_cfg__OOR(Context& ctx) {
    return num::OOR(ctx, Id());
}
int mf_104_ID_cfg__Limit(Context& ctx) {
    return num::Limit(ctx, Id());
}

// --- BR_cfg ---------------------------------------------------------------------------------

int mf_104_BR_cfg__init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Br(), loc);
}
int mf_104_BR_cfg__SI(Context& ctx, int index) {
    return ring::SI(ctx, Br(), index);
}
int mf_104_BR_cfg__GI(Context& ctx) {
    return ring::GI(ctx, Br());
}
int mf_104_BR_cfg__SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, Br(), attribute, value);
}
int mf_104_BR_cfg__Query_Range(Context& ctx, int* min, int* max) {
    return ring::Query_Range(ctx, Br(), min, max);
}
int mf_104_BR_cfg__Hi_Light(Context& ctx, int on) {
    return ring::Hi_Light(ctx, Br(), on);
}
int mf_104_BR_cfg__OOR_EX(Context& ctx, int value) {
    return ring::OOR_EX(ctx, Br(), value);
}

// --- RTU_cfg --------------------------------------------------------------------------------

int mf_104_RTU_cfg__init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Rtu(), loc);
}
int mf_104_RTU_cfg__SI(Context& ctx, int index) {
    return ring::SI(ctx, Rtu(), index);
}
int mf_104_RTU_cfg__GI(Context& ctx) {
    return ring::GI(ctx, Rtu());
}
int mf_104_RTU_cfg__SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, Rtu(), attribute, value);
}
int mf_104_RTU_cfg__Query_Range(Context& ctx, int* min, int* max) {
    return ring::Query_Range(ctx, Rtu(), min, max);
}
int mf_104_RTU_cfg__Hi_Light(Context& ctx, int on) {
    return ring::Hi_Light(ctx, Rtu(), on);
}
int mf_104_RTU_cfg__OOR_EX(Context& ctx, int value) {
    return ring::OOR_EX(ctx, Rtu(), value);
}
int mf_104_RTU_cfg__Toggle_Dim(Context& ctx, int dim) {
    return ring::Toggle_Dim(ctx, Rtu(), dim);
}

// --- Lock_cfg -------------------------------------------------------------------------------

int mf_104_Lock_cfg__init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Lock(), loc);
}
int mf_104_Lock_cfg__SI(Context& ctx, int index) {
    return ring::SI(ctx, Lock(), index);
}
int mf_104_Lock_cfg__GI(Context& ctx) {
    return ring::GI(ctx, Lock());
}
int mf_104_Lock_cfg__SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, Lock(), attribute, value);
}
int mf_104_Lock_cfg__Toggle_Dim(Context& ctx, int dim) {
    return ring::Toggle_Dim(ctx, Lock(), dim);
}

}  // namespace conf
