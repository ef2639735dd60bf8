#include "params/rules104.h"

#include <algorithm>

#include "core/selector.h"
#include "models/param_catalogue_a.h"
#include "params/alarm104.h"
#include "params/input104.h"
#include "params/linear104.h"
#include "params/main104.h"
#include "params/measuring104.h"
#include "params/scaling104.h"

namespace conf {

int fn_Affect_by_TYPE(Context& ctx) {
    mf_104_LinSig_cfg__Toggle_Dim(ctx);
    mf_104_LinScale_cfg__Toggle_Dim(ctx);
    mf_104_CUT_cfg__Toggle_Dim(ctx);
    mf_104_UNIT_cfg__OOR(ctx);
    mf_104_UNIT_cfg__Limit(ctx);
    mf_104_DP_cfg__OOR(ctx);
    mf_104_DP_cfg__Limit(ctx);
    fn_Affect_by_DP(ctx);
    fn_Set_Dpp(ctx, mf_104_DP_cfg__GI(ctx));
    return 0;
}

int fn_Affect_by_TYPE_DIGIT(Context& ctx) {
    mf_104_DP_cfg__OOR(ctx);
    return 0;
}

int fn_Affect_by_TYPE_UNIT_DP_DIGIT(Context& ctx) {
    mf_104_MRng_rat_cfg__Set_Range(ctx);
    // The limit last addressed; the selector is left as it is.
    mf_104_MRng_usr_cfg__OOR(ctx);
    mf_104_PVOF_rat_cfg__Set_Range(ctx);
    mf_104_PVOF_rat_cfg__Set_Precision(ctx);
    for (int alarm = 0; alarm < ModelACatalogue().alarms; ++alarm) {
        SetField(ctx.gsRAM01, kSelAlarm, alarm);
        mf_104_AxSP_cfg__OOR(ctx);
    }
    return 0;
}

int fn_Affect_by_DP(Context& ctx) {
    mf_104_MRng_rat_cfg__Set_Precision(ctx);
    mf_104_MRng_usr_cfg__Set_Precision(ctx);
    mf_104_MRng_usr_cfg__Refresh(ctx);
    mf_104_PVOF_usr_cfg__Set_Precision(ctx);
    mf_104_PVOF_usr_cfg__Refresh(ctx);
    mf_104_LinScale_cfg__Set_Precision(ctx);
    mf_104_LinScale_cfg__Refresh(ctx);
    mf_104_AxSP_cfg__Set_Precision(ctx);
    mf_104_AxSP_cfg__Refresh(ctx);
    mf_104_AxHY_cfg__Set_Precision(ctx);
    mf_104_AxHY_cfg__Refresh(ctx);
    mf_104_RSP__Set_Precision(ctx);
    mf_104_RSP__Refresh(ctx);
    return 0;
}

int fn_Affect_by_DIGIT(Context& ctx) {
    mf_104_DP_cfg__Item_Swap(ctx);
    mf_104_DRng_cfg__Set_Range(ctx);
    mf_104_LinSig_cfg__Set_Precision(ctx);
    return 0;
}

int fn_Affect_by_DIGIT_0(Context& ctx) {
    const auto& samples = ModelACatalogue().digitSamples;
    int digit = mf_104_DIGIT_cfg__GI(ctx);
    if (digit >= 0 && digit < static_cast<int>(samples.size()))
        mf_104_MSPV_V__SV(ctx, samples[static_cast<size_t>(digit)]);
    return 0;
}

int fn_Affect_by_Alarm_Amount(Context& ctx) {
    const int alarms = ModelACatalogue().alarms;
    for (int alarm = 0; alarm < alarms; ++alarm) {
        SetField(ctx.gsRAM01, kSelAlarm, alarm);
        mf_104_AxFU_cfg__SA_i32(ctx, ui::ATTR_DIMMED, 1);
        mf_104_AxMD_cfg__SA_i32(ctx, ui::ATTR_DIMMED, 1);
        mf_104_AxSP_cfg__SA_i32(ctx, ui::ATTR_DIMMED, 1);
        mf_104_AxHY_cfg__SA_i32(ctx, ui::ATTR_DIMMED, 1);
    }
    // An amount the instrument cannot have enables no alarm beyond the last one.
    const int amount = std::clamp(mf_104_Alarm_Amount_cfg__GI(ctx), 0, alarms);
    for (int alarm = 0; alarm < amount; ++alarm) {
        SetField(ctx.gsRAM01, kSelAlarm, alarm);
        mf_104_AxFU_cfg__SA_i32(ctx, ui::ATTR_DIMMED, 0);
        mf_104_AxMD_cfg__SA_i32(ctx, ui::ATTR_DIMMED, 0);
        mf_104_AxSP_cfg__SA_i32(ctx, ui::ATTR_DIMMED, 0);
        mf_104_AxHY_cfg__SA_i32(ctx, ui::ATTR_DIMMED, 0);
    }
    return 0;
}

}  // namespace conf
