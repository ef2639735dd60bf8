#include "params/callbacks_cfg104.h"

#include "core/bind.h"
#include "core/selector.h"
#include "models/param_catalogue_a.h"
#include "params/alarm104.h"
#include "params/comm104.h"
#include "params/input104.h"
#include "params/linear104.h"
#include "params/main104.h"
#include "params/measuring104.h"
#include "params/outcal104.h"
#include "params/rules104.h"
#include "params/scaling104.h"
#include "params/service104.h"
#include "shell/focus.h"

namespace conf {

namespace {

// The Enter step every callback begins with; true when the event is a commit.
bool EnterThenCommit(Context& ctx, int panel, int control, int event, int key) {
    fn_Enter_to_Next(ctx, panel, control, event, key);
    return event == ui::EVENT_COMMIT;
}

void TypeDependencies(Context& ctx) {
    fn_Affect_by_TYPE(ctx);
    fn_Affect_by_TYPE_DIGIT(ctx);
    fn_Affect_by_TYPE_UNIT_DP_DIGIT(ctx);
}

void InstallOn(Context& ctx, int panel, const char* name, CtrlFn fn) {
    ctx.ui.InstallCtrlCallback(panel, ctx.ui.FindCtrl(panel, name), BindCtrl(ctx, fn), nullptr);
}

}  // namespace

int mf_104_TYPE_cfg__CALLBACK(Context& ctx) {
    for (const char* name : ModelACatalogue().caCC_TYPE)
        InstallOn(ctx, ctx.gvCFG, name, ev104TypeR);
    return 0;
}

int mf_104_LinSig_cfg__CALLBACK(Context& ctx) {
    const auto& rows = ModelACatalogue().caCC_LinSig;
    for (size_t row = 0; row < rows.size(); ++row) {
        SetField(ctx.gsRAM01, kSelLinSig, static_cast<int>(row));
        Locator loc;
        mf_104_LinSig_cfg__init(ctx, &loc);
        ctx.ui.InstallCtrlCallback(loc.panel, loc.control, BindCtrl(ctx, ev104LinSig), nullptr);
    }
    return 0;
}

int ev104IDcfg(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    mf_104_ID_cfg__OOR(ctx);
    mf_104_ID_cfg__Limit(ctx);
    return 0;
}

int ev104Filter(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    mf_104_FILT_cfg__OOR(ctx);
    mf_104_FILT_cfg__Limit(ctx);
    return 0;
}

int ev104MRng(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    mf_104_MRng_usr_cfg__Who_Am_I(ctx, panel, control);
    mf_104_MRng_usr_cfg__OOR(ctx);
    mf_104_MRng_usr_cfg__Limit(ctx);
    return 0;
}

int ev104PVOFusr(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    mf_104_PVOF_usr_cfg__OOR(ctx);
    mf_104_PVOF_usr_cfg__Limit(ctx);
    return 0;
}

int ev104LinSig(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    mf_104_LinSig_cfg__Who_Am_I(ctx, panel, control);
    mf_104_LinSig_cfg__OOR(ctx);
    mf_104_LinSig_cfg__Limit(ctx);
    mf_104_LinSig_cfg__Toggle_Dim(ctx);
    return 0;
}

int ev104LinScale(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    mf_104_LinScale_cfg__Who_Am_I(ctx, panel, control);
    mf_104_LinScale_cfg__OOR(ctx);
    mf_104_LinScale_cfg__Limit(ctx);
    return 0;
}

int ev104AxSP(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    mf_104_AxSP_cfg__Who_Am_I(ctx, panel, control);
    mf_104_AxSP_cfg__OOR(ctx);
    mf_104_AxSP_cfg__Limit(ctx);
    return 0;
}

int ev104AxHY(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    mf_104_AxHY_cfg__Who_Am_I(ctx, panel, control);
    mf_104_AxHY_cfg__OOR(ctx);
    mf_104_AxHY_cfg__Limit(ctx);
    return 0;
}

int ev104Unit(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    mf_104_UNIT_cfg__OOR(ctx);
    mf_104_UNIT_cfg__Limit(ctx);
    fn_Affect_by_TYPE_UNIT_DP_DIGIT(ctx);
    return 0;
}

int ev104DecimalPoint(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    // The mark first, so a choice outside the range shows red until Limit replaces it and a
    // mark left by an earlier check goes once the choice is in range.
    mf_104_DP_cfg__OOR(ctx);
    mf_104_DP_cfg__Limit(ctx);
    // Re-rendered with the new decimal point while Dpp still decodes with the old one.
    fn_Affect_by_DP(ctx);
    fn_Affect_by_TYPE_UNIT_DP_DIGIT(ctx);
    fn_Set_Dpp(ctx, mf_104_DP_cfg__GI(ctx));
    return 0;
}

int ev104TypeR(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event == ui::EVENT_KEYPRESS) {
        fn_Enter_to_Next(ctx, panel, control, event, data1);
        int index = mf_104_TYPE_cfg__who_am_I(ctx, panel, control);
        if (data1 == ui::VAL_UP_ARROW_VKEY) mf_104_TYPE_cfg__HotKey(ctx, index, -1);
        if (data1 == ui::VAL_DOWN_ARROW_VKEY) mf_104_TYPE_cfg__HotKey(ctx, index, +1);
        TypeDependencies(ctx);
    } else if (event == ui::EVENT_COMMIT) {
        mf_104_TYPE_cfg__SV(ctx, mf_104_TYPE_cfg__who_am_I(ctx, panel, control));
        TypeDependencies(ctx);
    }
    return 0;
}

int ev104dirR(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    mf_104_DIR_cfg__SV(ctx, mf_104_DIR_cfg__who_am_I(ctx, panel, control));
    return 0;
}

int ev104RTS_R_cfg(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    mf_104_RTS_R_cfg__SV(ctx, mf_104_RTS_R_cfg__who_am_I(ctx, panel, control));
    return 0;
}

int ev104RTS_R_cal(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    mf_104_RTS_R_cal__SV(ctx, mf_104_RTS_R_cal__who_am_I(ctx, panel, control));
    return 0;
}

int ev104RTS_VAL(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    mf_104_RTS_V_cfg__Who_Am_I(ctx, panel, control);
    mf_104_RTS_V_cfg__OOR(ctx);
    mf_104_RTS_V_cfg__Limit(ctx);
    return 0;
}

int ev104RTS_VAL_cal(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    mf_104_RTS_V_cal__Who_Am_I(ctx, panel, control);
    mf_104_RTS_V_cal__OOR(ctx);
    mf_104_RTS_V_cal__Limit(ctx);
    return 0;
}

int ev104ARelay(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    mf_104_ARelay__Who_Am_I(ctx, panel, control);
    return 0;
}

int ev104_SN_V(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    mf_104_SN_V_I__Who_Am_I(ctx, panel, control);
    mf_104_SN_V_I__OOR(ctx);
    mf_104_SN_V_I__Limit(ctx);
    return 0;
}

int ev104_RSP_W_PV(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    mf_104_RSP__OOR(ctx);
    return 0;
}

int ev104BRcfg(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    return fn_Enter_to_Next(ctx, panel, control, event, data1);
}
int ev104RTUcfg(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    return fn_Enter_to_Next(ctx, panel, control, event, data1);
}
int ev104Cut(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    return fn_Enter_to_Next(ctx, panel, control, event, data1);
}
int ev104Lock(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    return fn_Enter_to_Next(ctx, panel, control, event, data1);
}
int ev104AxFU(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    return fn_Enter_to_Next(ctx, panel, control, event, data1);
}
int ev104AxMD(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    return fn_Enter_to_Next(ctx, panel, control, event, data1);
}
int ev104Digit_Set(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    return fn_Enter_to_Next(ctx, panel, control, event, data1);
}
int ev104ALM_Set(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    return fn_Enter_to_Next(ctx, panel, control, event, data1);
}

int ev104DSP_Limit(Context&, int, int, int, void*, int, int) {
    return 0;
}
int ev104MRng_rat(Context&, int, int, int, void*, int, int) {
    return 0;
}
int ev104PVOF_rat(Context&, int, int, int, void*, int, int) {
    return 0;
}

}  // namespace conf
