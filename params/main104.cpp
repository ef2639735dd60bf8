#include "params/main104.h"

#include "models/param_catalogue_a.h"
#include "params/input104.h"
#include "params/measuring104.h"
#include "params/numeric.h"
#include "params/ring.h"
#include "params/scaling104.h"

namespace conf {

namespace {

const ParamCatalogue& Cat() {
    return ModelACatalogue();
}

const RingModule& Digit() {
    static const RingModule m{&Context::gvG104, Cat().ccDIGIT, {},   nullptr,
                              nullptr,          kColorNormal,  false};
    return m;
}

const RingModule& AlarmAmount() {
    static const RingModule m{&Context::gvG104, Cat().ccALARM_AMOUNT, {},   nullptr,
                              nullptr,          kColorNormal,         false};
    return m;
}

const NumericModule& Rsp() {
    static const NumericModule m{&Context::gvG104, Cat().ccRSP,     {},
                                 nullptr,          &DpScaling104(), mf_104_DRng_cfg__Query_Range};
    return m;
}

const NumericModule& AgentWrite() {
    static const NumericModule m{&Context::gvG104, Cat().ccAGENT_WRITE, {}, nullptr, nullptr,
                                 nullptr};
    return m;
}

const NumericModule& Counter() {
    static const NumericModule m{&Context::gvG104, Cat().ccGICNT, {}, nullptr, nullptr, nullptr};
    return m;
}

}  // namespace

// --- DIGIT_cfg ------------------------------------------------------------------------------

int mf_104_DIGIT_cfg__init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Digit(), loc);
}
int mf_104_DIGIT_cfg__SI(Context& ctx, int index) {
    return ring::SI(ctx, Digit(), index);
}
int mf_104_DIGIT_cfg__GI(Context& ctx) {
    return ring::GI(ctx, Digit());
}
int mf_104_DIGIT_cfg__SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, Digit(), attribute, value);
}

// --- Alarm_Amount_cfg -----------------------------------------------------------------------

int mf_104_Alarm_Amount_cfg__init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, AlarmAmount(), loc);
}
int mf_104_Alarm_Amount_cfg__SI(Context& ctx, int index) {
    return ring::SI(ctx, AlarmAmount(), index);
}
int mf_104_Alarm_Amount_cfg__GI(Context& ctx) {
    return ring::GI(ctx, AlarmAmount());
}
int mf_104_Alarm_Amount_cfg__SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, AlarmAmount(), attribute, value);
}

// --- RSP ------------------------------------------------------------------------------------

int mf_104_RSP__init(Context& ctx, Locator* loc) {
    return ctx.gr = num::Init(ctx, Rsp(), loc);
}
int mf_104_RSP__SV(Context& ctx, int raw) {
    return ctx.gr = num::SV(ctx, Rsp(), raw);
}
int mf_104_RSP__GV(Context& ctx) {
    return num::GV(ctx, Rsp());
}
int mf_104_RSP__SA_i32(Context& ctx, int attribute, int value) {
    return ctx.gr = num::SA_i32(ctx, Rsp(), attribute, value);
}
int mf_104_RSP__Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, Rsp(), min, max);
}
int mf_104_RSP__Hi_Light(Context& ctx, int on) {
    return ctx.gr = num::Hi_Light(ctx, Rsp(), on);
}
int mf_104_RSP__OOR(Context& ctx) {
    return num::OOR(ctx, Rsp());
}
int mf_104_RSP__Limit(Context& ctx) {
    return num::Limit(ctx, Rsp());
}
int mf_104_RSP__Set_Precision(Context& ctx) {
    return ctx.gr = num::Set_Precision(ctx, Rsp());
}
int mf_104_RSP__Refresh(Context& ctx) {
    return ctx.gr = num::Refresh(ctx, Rsp());
}
int mf_104_RSP__Toggle_Dim(Context& ctx) {
    int remote = mf_104_TYPE_cfg__GV(ctx) == Cat().remoteType;
    return ctx.gr = num::Toggle_Dim(ctx, Rsp(), remote ? 0 : 1);
}

// --- AgentWrite -----------------------------------------------------------------------------

int mf_104_AgentWrite__init(Context& ctx, Locator* loc) {
    return num::Init(ctx, AgentWrite(), loc);
}
int mf_104_AgentWrite__SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, AgentWrite(), attribute, value);
}

// --- giCNTt ---------------------------------------------------------------------------------

int mf_104_giCNTt__init(Context& ctx, Locator* loc) {
    return num::Init(ctx, Counter(), loc);
}
int mf_104_giCNTt__SV(Context& ctx, int value) {
    return num::SV(ctx, Counter(), value);
}
int mf_104_giCNTt__GV(Context& ctx) {
    return num::GV(ctx, Counter());
}
int mf_104_giCNTt__SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, Counter(), attribute, value);
}
int mf_104_giCNTt__giCNT_clr(Context& ctx) {
    ctx.giCNT = 0;
    return mf_104_giCNTt__SV(ctx, ctx.giCNT);
}
int mf_104_giCNTt__giCNT_inc(Context& ctx) {
    ++ctx.giCNT;
    return mf_104_giCNTt__SV(ctx, ctx.giCNT);
}

// --- MSPV_V ---------------------------------------------------------------------------------

int mf_104_MSPV_V__SV(Context& ctx, const std::string& text) {
    int control = ctx.ui.FindCtrl(ctx.gvG104, Cat().ccMSPV_V[0]);
    return ctx.ui.SetCtrlVal(ctx.gvG104, control, text);
}

}  // namespace conf
