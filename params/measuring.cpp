#include "params/measuring.h"

#include <algorithm>
#include <cmath>

#include "core/selector.h"
#include "models/model.h"
#include "params/input.h"
#include "params/main_panel.h"
#include "params/numeric.h"
#include "params/scaling_dp.h"

namespace conf {

namespace {

// Up to this firmware version the offset may be 5 % of the rated span either side; later
// firmware accepts any offset within the display range.
constexpr int kLastFwWithSpanOffset = 5;
constexpr double kOffsetSpanShare = 0.05;
constexpr int kUnitFahrenheit = 1;
// With one decimal a temperature is held in tenths of a degree.
constexpr int kDpTenths = 1;

const ParamCatalogue& Cat(const Context& ctx) {
    return ctx.model.catalogue;
}

int Fahrenheit(int celsius) {
    return static_cast<int>(static_cast<float>(celsius) * 9.0f / 5.0f + 32.0f);
}

bool TempInTenths(Context& ctx) {
    return TYPE_cfg::is_Temp(ctx) && DP_cfg::GI(ctx) == kDpTenths;
}

void ClipToDisplay(Context& ctx, int* low, int* high) {
    int dLow = 0, dHigh = 0;
    DRng_cfg::Query_Range(ctx, &dLow, &dHigh);
    *low = std::max(*low, dLow);
    *high = std::min(*high, dHigh);
}

int RatedRange(Context& ctx, int* min, int* max) {
    if (Cat(ctx).ratedIsDisplayRange) return DRng_cfg::Query_Range(ctx, min, max);
    const auto& table = Cat(ctx).aMRng;
    int type = TYPE_cfg::GV(ctx);
    // No button on (or a type the table does not know): nothing can be measured.
    if (type < 0 || type >= static_cast<int>(table.size())) {
        *min = *max = 0;
        return 0;
    }
    RawRange r = table[static_cast<size_t>(type)];
    if (TYPE_cfg::is_Temp(ctx) && UNIT_cfg::GI(ctx) == kUnitFahrenheit) {
        r.low = Fahrenheit(r.low);
        r.high = Fahrenheit(r.high);
    }
    *min = r.low;
    *max = r.high;
    return 0;
}

// 5 % of the display span either side, rounded up, within the display range.
int OffsetRangeOfDisplay(Context& ctx, int* min, int* max) {
    int dLow = 0, dHigh = 0;
    DRng_cfg::Query_Range(ctx, &dLow, &dHigh);
    const int s = static_cast<int>(std::ceil(kOffsetSpanShare * (dHigh - dLow)));
    *min = std::max(-s, dLow);
    *max = std::min(s, dHigh);
    return 0;
}

int OffsetRange(Context& ctx, int* min, int* max) {
    if (Cat(ctx).offsetRule == ParamCatalogue::OffsetRule::kDisplaySpanCeil)
        return OffsetRangeOfDisplay(ctx, min, max);
    if (ctx.gvFW > kLastFwWithSpanOffset) return DRng_cfg::Query_Range(ctx, min, max);
    int low = 0, high = 0;
    RatedRange(ctx, &low, &high);
    if (!TYPE_cfg::is_Temp(ctx) && DIGIT_cfg::GI(ctx) == 0) {
        low = Cat(ctx).displayRange[0].low;
        high = Cat(ctx).displayRange[0].high;
    }
    if (TempInTenths(ctx)) {
        low *= 10;
        high *= 10;
    }
    const float s = static_cast<float>(std::floor(kOffsetSpanShare * (high - low)));
    low = static_cast<int>(-s);
    high = static_cast<int>(s);
    ClipToDisplay(ctx, &low, &high);
    *min = low;
    *max = high;
    return 0;
}

int DisplayRange(Context& ctx, int* min, int* max) {
    const auto& table = Cat(ctx).displayRange;
    int digit = DIGIT_cfg::GI(ctx);
    if (digit < 0 || digit >= static_cast<int>(table.size())) {
        if (Cat(ctx).otherDigitsWide) {
            *min = table.back().low;
            *max = table.back().high;
        } else {
            *min = *max = 0;
        }
        return 0;
    }
    *min = table[static_cast<size_t>(digit)].low;
    *max = table[static_cast<size_t>(digit)].high;
    return 0;
}

// The limits lie within the rated range as its indicators show it.
int UserRange(Context& ctx, int* min, int* max) {
    SetField(ctx.gsRAM01, kSelMRngRat, 0);
    *min = MRng_rat_cfg::GV(ctx);
    SetField(ctx.gsRAM01, kSelMRngRat, 1);
    *max = MRng_rat_cfg::GV(ctx);
    return 0;
}

// The offset lies within the offset range as its indicators show it.
int OffsetUserRange(Context& ctx, int* min, int* max) {
    SetField(ctx.gsRAM01, kSelPVOFRat, 0);
    *min = PVOF_rat_cfg::GV(ctx);
    SetField(ctx.gsRAM01, kSelPVOFRat, 1);
    *max = PVOF_rat_cfg::GV(ctx);
    return 0;
}

}  // namespace

NumericModule DRng_cfg_def(const Context& ctx) {
    return NumericModule{&Context::gvCFG, Cat(ctx).caCC_DRng, {}, nullptr, nullptr, DisplayRange};
}

NumericModule MRng_rat_cfg_def(const Context& ctx) {
    return NumericModule{&Context::gvCFG, Cat(ctx).caCC_MRng_rat, {},
                         &kSelMRngRat,    &DpScaling(),           RatedRange};
}

NumericModule MRng_usr_cfg_def(const Context& ctx) {
    return NumericModule{&Context::gvCFG, Cat(ctx).caCC_MRng_usr, Module::kMRngUsr,
                         &kSelMRngUsr,    &DpScaling(),           UserRange};
}

NumericModule PVOF_rat_cfg_def(const Context& ctx) {
    return NumericModule{&Context::gvCFG, Cat(ctx).caCC_PVOF_rat, {},
                         &kSelPVOFRat,    &DpScaling(),           OffsetRange};
}

NumericModule PVOF_usr_cfg_def(const Context& ctx) {
    return NumericModule{&Context::gvCFG, Cat(ctx).ccPVOF, {},
                         nullptr,         &DpScaling(),    OffsetUserRange};
}

// --- DRng_cfg -------------------------------------------------------------------------------

int DRng_cfg::init(Context& ctx, PairLocator* loc) {
    return num::InitPair(ctx, DRng_cfg_def(ctx), loc);
}
int DRng_cfg::Set_Range(Context& ctx) {
    int low = 0, high = 0;
    DRng_cfg::Query_Range(ctx, &low, &high);
    return num::Set_Range(ctx, DRng_cfg_def(ctx), low, high);
}
int DRng_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32_all(ctx, DRng_cfg_def(ctx), attribute, value);
}

// --- MRng_rat_cfg ---------------------------------------------------------------------------

int MRng_rat_cfg::Set_Range(Context& ctx) {
    int low = 0, high = 0;
    MRng_rat_cfg::Query_Range(ctx, &low, &high);
    if (TempInTenths(ctx)) {
        low *= 10;
        high *= 10;
    }
    ClipToDisplay(ctx, &low, &high);
    return num::Set_Range(ctx, MRng_rat_cfg_def(ctx), low, high);
}

// --- PVOF_rat_cfg ---------------------------------------------------------------------------

int PVOF_rat_cfg::Set_Range(Context& ctx) {
    int low = 0, high = 0;
    PVOF_rat_cfg::Query_Range(ctx, &low, &high);
    return num::Set_Range(ctx, PVOF_rat_cfg_def(ctx), low, high);
}

}  // namespace conf
