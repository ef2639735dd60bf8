#include "params/main_panel.h"

#include "models/model.h"
#include "params/input.h"
#include "params/measuring.h"
#include "params/numeric.h"
#include "params/ring.h"
#include "params/scaling_dp.h"

namespace conf {

namespace {

const ParamCatalogue& Cat(const Context& ctx) {
    return ctx.model.catalogue;
}

RingModule Digit(const Context& ctx) {
    return RingModule{&Context::gvMain, Cat(ctx).ccDIGIT, {},   nullptr,
                      nullptr,          kColorNormal,     false};
}

RingModule AlarmAmount(const Context& ctx) {
    return RingModule{
        &Context::gvMain, Cat(ctx).ccALARM_AMOUNT, {}, nullptr, nullptr, kColorNormal, false};
}

NumericModule Rsp(const Context& ctx) {
    return NumericModule{&Context::gvMain, Cat(ctx).ccRSP, {},
                         nullptr,          &DpScaling(),   DRng_cfg::Query_Range};
}

NumericModule AgentWriteButton(const Context& ctx) {
    return NumericModule{&Context::gvMain, Cat(ctx).ccAGENT_WRITE, {}, nullptr, nullptr, nullptr};
}

NumericModule Counter(const Context& ctx) {
    return NumericModule{&Context::gvMain, Cat(ctx).ccGICNT, {}, nullptr, nullptr, nullptr};
}

}  // namespace

// --- DIGIT_cfg ------------------------------------------------------------------------------

int DIGIT_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Digit(ctx), loc);
}
int DIGIT_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, Digit(ctx), index);
}
int DIGIT_cfg::GI(Context& ctx) {
    return ring::GI(ctx, Digit(ctx));
}
int DIGIT_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, Digit(ctx), attribute, value);
}

// --- Alarm_Amount_cfg -----------------------------------------------------------------------

int Alarm_Amount_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, AlarmAmount(ctx), loc);
}
int Alarm_Amount_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, AlarmAmount(ctx), index);
}
int Alarm_Amount_cfg::GI(Context& ctx) {
    return ring::GI(ctx, AlarmAmount(ctx));
}
int Alarm_Amount_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return ring::SA_i32(ctx, AlarmAmount(ctx), attribute, value);
}

// --- RSP ------------------------------------------------------------------------------------

int RSP::init(Context& ctx, Locator* loc) {
    return ctx.gr = num::Init(ctx, Rsp(ctx), loc);
}
int RSP::SV(Context& ctx, int raw) {
    return ctx.gr = num::SV(ctx, Rsp(ctx), raw);
}
int RSP::GV(Context& ctx) {
    return num::GV(ctx, Rsp(ctx));
}
int RSP::SA_i32(Context& ctx, int attribute, int value) {
    return ctx.gr = num::SA_i32(ctx, Rsp(ctx), attribute, value);
}
int RSP::Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, Rsp(ctx), min, max);
}
int RSP::Hi_Light(Context& ctx, int on) {
    return ctx.gr = num::Hi_Light(ctx, Rsp(ctx), on);
}
int RSP::OOR(Context& ctx) {
    return num::OOR(ctx, Rsp(ctx));
}
int RSP::Limit(Context& ctx) {
    return num::Limit(ctx, Rsp(ctx));
}
int RSP::Set_Precision(Context& ctx) {
    return ctx.gr = num::Set_Precision(ctx, Rsp(ctx));
}
int RSP::Refresh(Context& ctx) {
    return ctx.gr = num::Refresh(ctx, Rsp(ctx));
}
int RSP::Toggle_Dim(Context& ctx) {
    int remote = TYPE_cfg::GV(ctx) == Cat(ctx).remoteType;
    return ctx.gr = num::Toggle_Dim(ctx, Rsp(ctx), remote ? 0 : 1);
}

// --- AgentWrite -----------------------------------------------------------------------------

int AgentWrite::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, AgentWriteButton(ctx), loc);
}
int AgentWrite::SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, AgentWriteButton(ctx), attribute, value);
}

// --- giCNTt ---------------------------------------------------------------------------------

int giCNTt::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, Counter(ctx), loc);
}
int giCNTt::SV(Context& ctx, int value) {
    return num::SV(ctx, Counter(ctx), value);
}
int giCNTt::GV(Context& ctx) {
    return num::GV(ctx, Counter(ctx));
}
int giCNTt::SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, Counter(ctx), attribute, value);
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
    int control = ctx.ui.FindCtrl(ctx.gvMain, Cat(ctx).ccMSPV_V[0]);
    return ctx.ui.SetCtrlVal(ctx.gvMain, control, text);
}

}  // namespace conf
