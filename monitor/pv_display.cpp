#include "monitor/pv_display.h"

#include <algorithm>
#include <cstdio>

#include "models/model.h"
#include "params/input.h"
#include "params/scaling.h"
#include "platform/ui/constants.h"

namespace conf {

namespace {

// Temperature types hold tenths of a degree; without a decimal point they show whole degrees.
int Shown(Context& ctx, int raw, int dp) {
    return TYPE_cfg::is_Temp(ctx) && dp == 0 ? raw / 10 : raw;
}

int Display(Context& ctx) {
    return ctx.ui.FindCtrl(ctx.gvMain, ctx.model.catalogue.ccMSPV_V[0]);
}

}  // namespace

int fn_PV_Decimals(Context& ctx) {
    const ParamCatalogue& cat = ctx.model.catalogue;
    int most = cat.dpMaxTemp;
    for (int dp : cat.dpMaxByDigit)
        most = std::max(most, dp);
    return std::clamp(DP_cfg::GI(ctx), 0, most);
}

double fn_PV_Value(Context& ctx, int raw) {
    const int dp = fn_PV_Decimals(ctx);
    return static_cast<double>(IntToFloatByDecimals(Shown(ctx, raw, dp), dp));
}

std::string fn_PV_Text(Context& ctx, int raw) {
    const int dp = fn_PV_Decimals(ctx);
    char text[48];
    std::snprintf(text, sizeof text, "%6.*f", dp,
                  static_cast<double>(IntToFloatByDecimals(Shown(ctx, raw, dp), dp)));
    return text;
}

int MSPV_V::Text_Color(Context& ctx, int colour) {
    return ctx.ui.SetCtrlAttribute(ctx.gvMain, Display(ctx), ui::ATTR_TEXT_COLOR, colour);
}

int MSPV_V::Decoding(Context& ctx, int raw) {
    return MSPV_V::SV(ctx, fn_PV_Text(ctx, raw));
}

int MSPV_V::to_GUI(Context& ctx, int raw) {
    if (ctx.model.poll.openSensorCode && raw == kPvOpenSensor) {
        MSPV_V::SV(ctx, kPvOpenText);
        MSPV_V::Text_Color(ctx, ui::VAL_RED);
        return 1;
    }
    MSPV_V::Decoding(ctx, raw);
    MSPV_V::Text_Color(ctx, ui::VAL_BLUE);
    return 0;
}

std::string MSPV_V::GV(Context& ctx) {
    std::string text;
    ctx.ui.GetCtrlVal(ctx.gvMain, Display(ctx), &text);
    return text;
}

}  // namespace conf
