#include "params/main_panel.h"

#include "models/param_catalogue_a.h"
#include "params/input.h"
#include "params/measuring.h"
#include "params/numeric.h"
#include "params/ring.h"
#include "params/scaling_dp.h"

namespace conf {

namespace {

const ParamCatalogue& Cat() {
    return ModelACatalogue();
}

const RingModule& Digit() {
    static const RingModule m{&Context::gvMain, Cat().ccDIGIT, {},   nullptr,
                              nullptr,          kColorNormal,  false};
    return m;
}

const RingModule& AlarmAmount() {
    static const RingModule m{&Context::gvMain, Cat().ccALARM_AMOUNT, {},   nullptr,
                              nullptr,          kColorNormal,         false};
    return m;
}

const NumericModule& Rsp() {
    static const NumericModule m{&Context::gvMain, Cat().ccRSP,  {},
                                 nullptr,          &DpScaling(), DRng_cfg::Query_Range};
    return m;
}

const NumericModule& AgentWriteButton() {
    static const NumericModule m{&Context::gvMain, Cat().ccAGENT_WRITE, {}, nullptr, nullptr,
                                 nullptr};
    return m;
}

const NumericModule& Counter() {
    static const NumericModule m{&Context::gvMain, Cat().ccGICNT, {}, nullptr, nullptr, nullptr};
    return m;
}

}  // namespace

// --- DIGIT_cfg ------------------------------------------------------------------------------

int DIGIT_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Digit(), loc);
}
int DIGIT_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, Digit(), index);
}
int DIGIT_cfg::GI(Context& ctx) {
    return ring::GI(ctx, Digit());
}
int DIGIT_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, Digit(), attribute, value);
}

// --- Alarm_Amount_cfg -----------------------------------------------------------------------

int Alarm_Amount_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, AlarmAmount(), loc);
}
int Alarm_Amount_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, AlarmAmount(), index);
}
int Alarm_Amount_cfg::GI(Context& ctx) {
    return ring::GI(ctx, AlarmAmount());
}
int Alarm_Amount_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, AlarmAmount(), attribute, value);
}

// --- RSP ------------------------------------------------------------------------------------

int RSP::init(Context& ctx, Locator* loc) {
    return ctx.gr = num::Init(ctx, Rsp(), loc);
}
int RSP::SV(Context& ctx, int raw) {
    return ctx.gr = num::SV(ctx, Rsp(), raw);
}
int RSP::GV(Context& ctx) {
    return num::GV(ctx, Rsp());
}
int RSP::SA_i32(Context& ctx, int attribute, int value) {
    return ctx.gr = num::SA_i32(ctx, Rsp(), attribute, value);
}
int RSP::Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, Rsp(), min, max);
}
int RSP::Hi_Light(Context& ctx, int on) {
    return ctx.gr = num::Hi_Light(ctx, Rsp(), on);
}
int RSP::OOR(Context& ctx) {
    return num::OOR(ctx, Rsp());
}
int RSP::Limit(Context& ctx) {
    return num::Limit(ctx, Rsp());
}
int RSP::Set_Precision(Context& ctx) {
    return ctx.gr = num::Set_Precision(ctx, Rsp());
}
int RSP::Refresh(Context& ctx) {
    return ctx.gr = num::Refresh(ctx, Rsp());
}
int RSP::Toggle_Dim(Context& ctx) {
    int remote = TYPE_cfg::GV(ctx) == Cat().remoteType;
    return ctx.gr = num::Toggle_Dim(ctx, Rsp(), remote ? 0 : 1);
}

// --- AgentWrite -----------------------------------------------------------------------------

int AgentWrite::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, AgentWriteButton(), loc);
}
int AgentWrite::SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, AgentWriteButton(), attribute, value);
}

// --- giCNTt ---------------------------------------------------------------------------------

int giCNTt::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, Counter(), loc);
}
int giCNTt::SV(Context& ctx, int value) {
    return num::SV(ctx, Counter(), value);
}
int giCNTt::GV(Context& ctx) {
    return num::GV(ctx, Counter());
}
int giCNTt::SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, Counter(), attribute, value);
}
int giCNTt::giCNT_clr(Context& ctx) {
    ctx.giCNT = 0;
    return giCNTt::SV(ctx, ctx.giCNT);
}
int giCNTt::giCNT_inc(Context& ctx) {
    ++ctx.giCNT;
    return giCNTt::SV(ctx, ctx.giCNT);
}

// --- MSPV_V ---------------------------------------------------------------------------------

int MSPV_V::SV(Context& ctx, const std::string& text) {
    int control = ctx.ui.FindCtrl(ctx.gvMain, Cat().ccMSPV_V[0]);
    return ctx.ui.SetCtrlVal(ctx.gvMain, control, text);
}

}  // namespace conf
