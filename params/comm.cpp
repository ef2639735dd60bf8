#include "params/comm.h"

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

int ID_cfg::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, Id(), loc);
}
int ID_cfg::SV(Context& ctx, int raw) {
    return num::SV(ctx, Id(), raw);
}
int ID_cfg::GV(Context& ctx) {
    return num::GV(ctx, Id());
}
int ID_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, Id(), attribute, value);
}
int ID_cfg::Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, Id(), min, max);
}
int ID_cfg::Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, Id(), on);
}
int ID_cfg::OOR(Context& ctx) {
    return num::OOR(ctx, Id());
}
int ID_cfg::Limit(Context& ctx) {
    return num::Limit(ctx, Id());
}

// --- BR_cfg ---------------------------------------------------------------------------------

int BR_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Br(), loc);
}
int BR_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, Br(), index);
}
int BR_cfg::GI(Context& ctx) {
    return ring::GI(ctx, Br());
}
int BR_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, Br(), attribute, value);
}
int BR_cfg::Query_Range(Context& ctx, int* min, int* max) {
    return ring::Query_Range(ctx, Br(), min, max);
}
int BR_cfg::Hi_Light(Context& ctx, int on) {
    return ring::Hi_Light(ctx, Br(), on);
}
int BR_cfg::OOR_EX(Context& ctx, int value) {
    return ring::OOR_EX(ctx, Br(), value);
}

// --- RTU_cfg --------------------------------------------------------------------------------

int RTU_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Rtu(), loc);
}
int RTU_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, Rtu(), index);
}
int RTU_cfg::GI(Context& ctx) {
    return ring::GI(ctx, Rtu());
}
int RTU_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, Rtu(), attribute, value);
}
int RTU_cfg::Query_Range(Context& ctx, int* min, int* max) {
    return ring::Query_Range(ctx, Rtu(), min, max);
}
int RTU_cfg::Hi_Light(Context& ctx, int on) {
    return ring::Hi_Light(ctx, Rtu(), on);
}
int RTU_cfg::OOR_EX(Context& ctx, int value) {
    return ring::OOR_EX(ctx, Rtu(), value);
}
int RTU_cfg::Toggle_Dim(Context& ctx, int dim) {
    return ring::Toggle_Dim(ctx, Rtu(), dim);
}

// --- Lock_cfg -------------------------------------------------------------------------------

int Lock_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Lock(), loc);
}
int Lock_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, Lock(), index);
}
int Lock_cfg::GI(Context& ctx) {
    return ring::GI(ctx, Lock());
}
int Lock_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, Lock(), attribute, value);
}
int Lock_cfg::Toggle_Dim(Context& ctx, int dim) {
    return ring::Toggle_Dim(ctx, Lock(), dim);
}

}  // namespace conf
