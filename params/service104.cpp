#include "params/service104.h"

#include "core/selector.h"
#include "models/param_catalogue_a.h"
#include "params/numeric.h"

namespace conf {

namespace {

const ParamCatalogue& Cat() {
    return ModelACatalogue();
}

int SnRange(Context& ctx, int* min, int* max) {
    const auto& table = Cat().rngSN;
    int field = GetField(ctx.gsRAM01, kSelSN);
    if (field >= static_cast<int>(table.size())) {
        *min = *max = 0;
        return 0;
    }
    *min = table[static_cast<size_t>(field)].low;
    *max = table[static_cast<size_t>(field)].high;
    return 0;
}

const NumericModule& Relay() {
    static const NumericModule m{&Context::gvCAL, Cat().caCC_ARelay, Cat().caADDR_ARelay,
                                 &kSelAlarm,      nullptr,           nullptr};
    return m;
}

const NumericModule& AdcM() {
    static const NumericModule m{&Context::gvCAL, Cat().caCC_ADC_V_M, {}, &kSelADCM, nullptr,
                                 nullptr};
    return m;
}

const NumericModule& SnFields() {
    static const NumericModule m{&Context::gvCAL, Cat().caCC_SN_V_I, {}, &kSelSN, nullptr, SnRange};
    return m;
}

const NumericModule& SnRead() {
    static const NumericModule m{&Context::gvCAL, Cat().ccSN_READ, {}, nullptr, nullptr, nullptr};
    return m;
}

}  // namespace

// --- ARelay ---------------------------------------------------------------------------------

int mf_104_ARelay__Who_Am_I(Context& ctx, int panel, int control) {
    return num::Who_Am_I(ctx, Relay(), panel, control);
}
int mf_104_ARelay__init(Context& ctx, Locator* loc) {
    return num::Init(ctx, Relay(), loc);
}
int mf_104_ARelay__GV(Context& ctx) {
    return num::GV(ctx, Relay());
}
int mf_104_ARelay__Query_Address(Context& ctx) {
    return num::q_MB_Address(ctx, Relay());
}

// --- ADC_V_M --------------------------------------------------------------------------------

int mf_104_ADC_V_M__init(Context& ctx, Locator* loc) {
    return num::Init(ctx, AdcM(), loc);
}
int mf_104_ADC_V_M__SV(Context& ctx, int raw) {
    return num::SV(ctx, AdcM(), raw);
}
int mf_104_ADC_V_M__SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, AdcM(), attribute, value);
}
int mf_104_ADC_V_M__SA_i32_all(Context& ctx, int attribute, int value) {
    return num::SA_i32_all(ctx, AdcM(), attribute, value);
}
int mf_104_ADC_V_M__SV_all(Context& ctx, const short values[2]) {
    for (int i = 0; i < 2; ++i) {
        num::Select(ctx, AdcM(), i);
        num::SV(ctx, AdcM(), values[i]);
    }
    return 0;
}

// --- SN_V_I ---------------------------------------------------------------------------------

int mf_104_SN_V_I__Who_Am_I(Context& ctx, int panel, int control) {
    return num::Who_Am_I(ctx, SnFields(), panel, control);
}
int mf_104_SN_V_I__init(Context& ctx, Locator* loc) {
    return num::Init(ctx, SnFields(), loc);
}
int mf_104_SN_V_I__SV(Context& ctx, int raw) {
    return num::SV(ctx, SnFields(), raw);
}
int mf_104_SN_V_I__GV(Context& ctx) {
    return num::GV(ctx, SnFields());
}
int mf_104_SN_V_I__SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, SnFields(), attribute, value);
}
int mf_104_SN_V_I__Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, SnFields(), min, max);
}
int mf_104_SN_V_I__Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, SnFields(), on);
}
int mf_104_SN_V_I__OOR(Context& ctx) {
    return num::OOR(ctx, SnFields());
}
int mf_104_SN_V_I__Limit(Context& ctx) {
    return num::Limit(ctx, SnFields());
}

// --- SN_V_V ---------------------------------------------------------------------------------

unsigned mf_104_SN_V_V__GV(Context& ctx) {
    static constexpr unsigned kWeights[] = {100000000u, 1000000u, 10000u, 1u};
    unsigned v = 0;
    for (int field = 0; field < 4; ++field) {
        SetField(ctx.gsRAM01, kSelSN, field);
        v += static_cast<unsigned>(mf_104_SN_V_I__GV(ctx)) * kWeights[field];
    }
    return v;
}

int mf_104_SN_V_V__OOR(Context& ctx) {
    int sum = 0;
    for (int field = 0; field < 4; ++field) {
        SetField(ctx.gsRAM01, kSelSN, field);
        sum += mf_104_SN_V_I__OOR(ctx);
    }
    return sum;
}

// --- SN_V_Read ------------------------------------------------------------------------------

int mf_104_SN_V_Read__init(Context& ctx, Locator* loc) {
    return num::Init(ctx, SnRead(), loc);
}
int mf_104_SN_V_Read__SV(Context& ctx, const std::string& text) {
    Locator loc;
    int r = mf_104_SN_V_Read__init(ctx, &loc);
    if (r < 0) return r;
    return ctx.ui.SetCtrlVal(loc.panel, loc.control, text);
}

}  // namespace conf
