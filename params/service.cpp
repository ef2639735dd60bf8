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

}  // namespace

NumericModule ARelay_def(const Context& ctx) {
    return NumericModule{&Context::gvCAL, Cat(ctx).caCC_ARelay, Module::kRelay, &kSelAlarm, nullptr,
                         nullptr};
}

NumericModule ADC_V_M_def(const Context& ctx) {
    return NumericModule{&Context::gvCAL, Cat(ctx).caCC_ADC_V_M, {}, &kSelADCM, nullptr, nullptr};
}

NumericModule SN_V_I_def(const Context& ctx) {
    return NumericModule{&Context::gvCAL, Cat(ctx).caCC_SN_V_I, {}, &kSelSN, nullptr, SnRange};
}

NumericModule SN_V_Read_def(const Context& ctx) {
    return NumericModule{&Context::gvCAL, Cat(ctx).ccSN_READ, {}, nullptr, nullptr, nullptr};
}

// --- ARelay ---------------------------------------------------------------------------------

int ARelay_panel::Query_Address(Context& ctx) {
    return num::q_MB_Address(ctx, ARelay_def(ctx));
}

// --- ADC_V_M --------------------------------------------------------------------------------

int ADC_V_M::SV_all(Context& ctx, const short values[2]) {
    for (int i = 0; i < 2; ++i) {
        num::Select(ctx, ADC_V_M_def(ctx), i);
        num::SV(ctx, ADC_V_M_def(ctx), values[i]);
    }
    return 0;
}

// --- SN_V_V ---------------------------------------------------------------------------------

unsigned SN_V_V::GV(Context& ctx) {
    static constexpr unsigned kWeights[] = {100000000u, 1000000u, 10000u, 1u};
    unsigned v = 0;
    for (int field = 0; field < 4; ++field) {
        SetField(ctx.gsRAM01, kSelSN, field);
        v += static_cast<unsigned>(SN_V_I_panel::GV(ctx)) * kWeights[field];
    }
    return v;
}

int SN_V_V::OOR(Context& ctx) {
    int sum = 0;
    for (int field = 0; field < 4; ++field) {
        SetField(ctx.gsRAM01, kSelSN, field);
        sum += SN_V_I_panel::OOR(ctx);
    }
    return sum;
}

// --- SN_V_Read ------------------------------------------------------------------------------

int SN_V_Read_panel::SV(Context& ctx, const std::string& text) {
    Locator loc;
    int r = SN_V_Read_panel::init(ctx, &loc);
    if (r < 0) return r;
    return ctx.ui.SetCtrlVal(loc.panel, loc.control, text);
}

}  // namespace conf
