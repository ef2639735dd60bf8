#include "params/rules.h"

#include <algorithm>

#include "core/selector.h"
#include "models/model.h"
#include "params/alarm.h"
#include "params/input.h"
#include "params/linear.h"
#include "params/main_panel.h"
#include "params/measuring.h"
#include "params/scaling_dp.h"

namespace conf {

int fn_Affect_by_TYPE(Context& ctx) {
    LinSig_cfg::Toggle_Dim(ctx);
    LinScale_cfg::Toggle_Dim(ctx);
    CUT_cfg::Toggle_Dim(ctx);
    if (!ctx.model.catalogue.ccUNIT.empty()) {
        UNIT_cfg::OOR(ctx);
        UNIT_cfg::Limit(ctx);
    }
    DP_cfg::OOR(ctx);
    DP_cfg::Limit(ctx);
    fn_Affect_by_DP(ctx);
    fn_Set_Dpp(ctx, DP_cfg::GI(ctx));
    return 0;
}

int fn_Affect_by_TYPE_DIGIT(Context& ctx) {
    DP_cfg::OOR(ctx);
    return 0;
}

int fn_Affect_by_TYPE_UNIT_DP_DIGIT(Context& ctx) {
    MRng_rat_cfg::Set_Range(ctx);
    // The limit last addressed; the selector is left as it is.
    MRng_usr_cfg::OOR(ctx);
    PVOF_rat_cfg::Set_Range(ctx);
    PVOF_rat_cfg::Set_Precision(ctx);
    for (int alarm = 0; alarm < ctx.model.catalogue.alarms; ++alarm) {
        SetField(ctx.gsRAM01, kSelAlarm, alarm);
        AxSP_cfg::OOR(ctx);
    }
    return 0;
}

int fn_Affect_by_DP(Context& ctx) {
    MRng_rat_cfg::Set_Precision(ctx);
    MRng_usr_cfg::Set_Precision(ctx);
    MRng_usr_cfg::Refresh(ctx);
    PVOF_usr_cfg::Set_Precision(ctx);
    PVOF_usr_cfg::Refresh(ctx);
    LinScale_cfg::Set_Precision(ctx);
    LinScale_cfg::Refresh(ctx);
    AxSP_cfg::Set_Precision(ctx);
    AxSP_cfg::Refresh(ctx);
    AxHY_cfg::Set_Precision(ctx);
    AxHY_cfg::Refresh(ctx);
    RSP_panel::Set_Precision(ctx);
    RSP_panel::Refresh(ctx);
    return 0;
}

int fn_Affect_by_DIGIT(Context& ctx) {
    DP_cfg::Item_Swap(ctx);
    DRng_cfg::Set_Range(ctx);
    LinSig_cfg::Set_Precision(ctx);
    return 0;
}

int fn_Affect_by_DIGIT_0(Context& ctx) {
    const auto& samples = ctx.model.catalogue.digitSamples;
    int digit = DIGIT_cfg::GI(ctx);
    if (digit >= 0 && digit < static_cast<int>(samples.size()))
        MSPV_V::SV(ctx, samples[static_cast<size_t>(digit)]);
    return 0;
}

int fn_Affect_by_Alarm_Amount(Context& ctx) {
    const int alarms = ctx.model.catalogue.alarms;
    for (int alarm = 0; alarm < alarms; ++alarm) {
        SetField(ctx.gsRAM01, kSelAlarm, alarm);
        AxFU_cfg::SA_i32(ctx, ui::ATTR_DIMMED, 1);
        AxMD_cfg::SA_i32(ctx, ui::ATTR_DIMMED, 1);
        AxSP_cfg::SA_i32(ctx, ui::ATTR_DIMMED, 1);
        AxHY_cfg::SA_i32(ctx, ui::ATTR_DIMMED, 1);
    }
    // An amount the instrument cannot have enables no alarm beyond the last one.
    const int amount = std::clamp(Alarm_Amount_cfg::GI(ctx), 0, alarms);
    for (int alarm = 0; alarm < amount; ++alarm) {
        SetField(ctx.gsRAM01, kSelAlarm, alarm);
        AxFU_cfg::SA_i32(ctx, ui::ATTR_DIMMED, 0);
        AxMD_cfg::SA_i32(ctx, ui::ATTR_DIMMED, 0);
        AxSP_cfg::SA_i32(ctx, ui::ATTR_DIMMED, 0);
        AxHY_cfg::SA_i32(ctx, ui::ATTR_DIMMED, 0);
    }
    return 0;
}

}  // namespace conf
