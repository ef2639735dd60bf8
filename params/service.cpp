#include "params/service.h"

#include "core/selector.h"
#include "models/model.h"
#include "params/numeric.h"

namespace conf {

namespace {

const ParamCatalogue& Cat(const Context& ctx) {
    return ctx.model.catalogue;
}

int SnRange(Context& ctx, int* min, int* max) {
    const auto& table = Cat(ctx).rngSN;
    int field = GetField(ctx.gsRAM01, kSelSN);
    if (field >= static_cast<int>(table.size())) {
        *min = *max = 0;
        return 0;
    }
    *min = table[static_cast<size_t>(field)].low;
    *max = table[static_cast<size_t>(field)].high;
    return 0;
}

NumericModule Relay(const Context& ctx) {
    return NumericModule{
        &Context::gvCAL, Cat(ctx).caCC_ARelay, Cat(ctx).caADDR_ARelay, &kSelAlarm, nullptr,
        nullptr};
}

NumericModule AdcM(const Context& ctx) {
    return NumericModule{&Context::gvCAL, Cat(ctx).caCC_ADC_V_M, {}, &kSelADCM, nullptr, nullptr};
}

NumericModule SnFields(const Context& ctx) {
    return NumericModule{&Context::gvCAL, Cat(ctx).caCC_SN_V_I, {}, &kSelSN, nullptr, SnRange};
}

NumericModule SnRead(const Context& ctx) {
    return NumericModule{&Context::gvCAL, Cat(ctx).ccSN_READ, {}, nullptr, nullptr, nullptr};
}

}  // namespace

// --- ARelay ---------------------------------------------------------------------------------

int ARelay::Who_Am_I(Context& ctx, int panel, int control) {
    return num::Who_Am_I(ctx, Relay(ctx), panel, control);
}
int ARelay::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, Relay(ctx), loc);
}
int ARelay::GV(Context& ctx) {
    return num::GV(ctx, Relay(ctx));
}
int ARelay::Query_Address(Context& ctx) {
    return num::q_MB_Address(ctx, Relay(ctx));
}

// --- ADC_V_M --------------------------------------------------------------------------------

int ADC_V_M::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, AdcM(ctx), loc);
}
int ADC_V_M::SV(Context& ctx, int raw) {
    return num::SV(ctx, AdcM(ctx), raw);
}
int ADC_V_M::SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, AdcM(ctx), attribute, value);
}
int ADC_V_M::SA_i32_all(Context& ctx, int attribute, int value) {
    return num::SA_i32_all(ctx, AdcM(ctx), attribute, value);
}
int ADC_V_M::SV_all(Context& ctx, const short values[2]) {
    for (int i = 0; i < 2; ++i) {
        num::Select(ctx, AdcM(ctx), i);
        num::SV(ctx, AdcM(ctx), values[i]);
    }
    return 0;
}

// --- SN_V_I ---------------------------------------------------------------------------------

int SN_V_I::Who_Am_I(Context& ctx, int panel, int control) {
    return num::Who_Am_I(ctx, SnFields(ctx), panel, control);
}
int SN_V_I::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, SnFields(ctx), loc);
}
int SN_V_I::SV(Context& ctx, int raw) {
    return num::SV(ctx, SnFields(ctx), raw);
}
int SN_V_I::GV(Context& ctx) {
    return num::GV(ctx, SnFields(ctx));
}
int SN_V_I::SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, SnFields(ctx), attribute, value);
}
int SN_V_I::Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, SnFields(ctx), min, max);
}
int SN_V_I::Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, SnFields(ctx), on);
}
int SN_V_I::OOR(Context& ctx) {
    return num::OOR(ctx, SnFields(ctx));
}
int SN_V_I::Limit(Context& ctx) {
    return num::Limit(ctx, SnFields(ctx));
}

// --- SN_V_V ---------------------------------------------------------------------------------

unsigned SN_V_V::GV(Context& ctx) {
    static constexpr unsigned kWeights[] = {100000000u, 1000000u, 10000u, 1u};
    unsigned v = 0;
    for (int field = 0; field < 4; ++field) {
        SetField(ctx.gsRAM01, kSelSN, field);
        v += static_cast<unsigned>(SN_V_I::GV(ctx)) * kWeights[field];
    }
    return v;
}

int SN_V_V::OOR(Context& ctx) {
    int sum = 0;
    for (int field = 0; field < 4; ++field) {
        SetField(ctx.gsRAM01, kSelSN, field);
        sum += SN_V_I::OOR(ctx);
    }
    return sum;
}

// --- SN_V_Read ------------------------------------------------------------------------------

int SN_V_Read::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, SnRead(ctx), loc);
}
int SN_V_Read::SV(Context& ctx, const std::string& text) {
    Locator loc;
    int r = SN_V_Read::init(ctx, &loc);
    if (r < 0) return r;
    return ctx.ui.SetCtrlVal(loc.panel, loc.control, text);
}

}  // namespace conf
