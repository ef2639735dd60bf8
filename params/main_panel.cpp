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

}  // namespace

RingModule DIGIT_cfg_def(const Context& ctx) {
    return RingModule{&Context::gvMain, Cat(ctx).ccDIGIT, {},   nullptr,
                      nullptr,          kColorNormal,     false};
}

RingModule Alarm_Amount_cfg_def(const Context& ctx) {
    return RingModule{
        &Context::gvMain, Cat(ctx).ccALARM_AMOUNT, {}, nullptr, nullptr, kColorNormal, false};
}

NumericModule RSP_def(const Context& ctx) {
    return NumericModule{&Context::gvMain, Cat(ctx).ccRSP, {},
                         nullptr,          &DpScaling(),   DRng_cfg::Query_Range};
}

NumericModule AgentWrite_def(const Context& ctx) {
    return NumericModule{&Context::gvMain, Cat(ctx).ccAGENT_WRITE, {}, nullptr, nullptr, nullptr};
}

NumericModule giCNTt_def(const Context& ctx) {
    return NumericModule{&Context::gvMain, Cat(ctx).ccGICNT, {}, nullptr, nullptr, nullptr};
}

// --- RSP ------------------------------------------------------------------------------------

int RSP_panel::init(Context& ctx, Locator* loc) {
    return ctx.gr = num::Init(ctx, RSP_def(ctx), loc);
}
int RSP_panel::SV(Context& ctx, int raw) {
    return ctx.gr = num::SV(ctx, RSP_def(ctx), raw);
}
int RSP_panel::SA_i32(Context& ctx, int attribute, int value) {
    return ctx.gr = num::SA_i32(ctx, RSP_def(ctx), attribute, value);
}
int RSP_panel::Hi_Light(Context& ctx, int on) {
    return ctx.gr = num::Hi_Light(ctx, RSP_def(ctx), on);
}
int RSP_panel::Set_Precision(Context& ctx) {
    return ctx.gr = num::Set_Precision(ctx, RSP_def(ctx));
}
int RSP_panel::Refresh(Context& ctx) {
    return ctx.gr = num::Refresh(ctx, RSP_def(ctx));
}
int RSP_panel::Toggle_Dim(Context& ctx) {
    // A model without a remote input type takes the remote value whatever the type.
    const int remoteType = Cat(ctx).remoteType;
    int remote = remoteType < 0 || TYPE_cfg::GV(ctx) == remoteType;
    return ctx.gr = num::Toggle_Dim(ctx, RSP_def(ctx), remote ? 0 : 1);
}

// --- giCNTt ---------------------------------------------------------------------------------

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
