#include "params/callbacks_cfg.h"

#include "core/bind.h"
#include "core/selector.h"
#include "models/model.h"
#include "nav/focus.h"
#include "params/alarm.h"
#include "params/comm.h"
#include "params/input.h"
#include "params/linear.h"
#include "params/main_panel.h"
#include "params/measuring.h"
#include "params/outcal.h"
#include "params/rules.h"
#include "params/scaling_dp.h"
#include "params/service.h"

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

int TYPE_cfg::CALLBACK(Context& ctx) {
    for (const char* name : ctx.model.catalogue.caCC_TYPE)
        InstallOn(ctx, ctx.gvCFG, name, evTypeR);
    return 0;
}

int LinSig_cfg::CALLBACK(Context& ctx) {
    const auto& rows = ctx.model.catalogue.caCC_LinSig;
    for (size_t row = 0; row < rows.size(); ++row) {
        SetField(ctx.gsRAM01, kSelLinSig, static_cast<int>(row));
        Locator loc;
        LinSig_cfg::init(ctx, &loc);
        ctx.ui.InstallCtrlCallback(loc.panel, loc.control, BindCtrl(ctx, evLinSig), nullptr);
    }
    return 0;
}

int evIDcfg(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    ID_cfg::OOR(ctx);
    ID_cfg::Limit(ctx);
    return 0;
}

int evFilter(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    FILT_cfg::OOR(ctx);
    FILT_cfg::Limit(ctx);
    return 0;
}

int evMRng(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    MRng_usr_cfg::Who_Am_I(ctx, panel, control);
    MRng_usr_cfg::OOR(ctx);
    MRng_usr_cfg::Limit(ctx);
    return 0;
}

int evPVOFusr(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    PVOF_usr_cfg::OOR(ctx);
    PVOF_usr_cfg::Limit(ctx);
    return 0;
}

int evLinSig(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    LinSig_cfg::Who_Am_I(ctx, panel, control);
    LinSig_cfg::OOR(ctx);
    LinSig_cfg::Limit(ctx);
    LinSig_cfg::Toggle_Dim(ctx);
    return 0;
}

int evLinScale(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    LinScale_cfg::Who_Am_I(ctx, panel, control);
    LinScale_cfg::OOR(ctx);
    LinScale_cfg::Limit(ctx);
    return 0;
}

int evAxSP(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    AxSP_cfg::Who_Am_I(ctx, panel, control);
    AxSP_cfg::OOR(ctx);
    AxSP_cfg::Limit(ctx);
    return 0;
}

int evAxHY(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    AxHY_cfg::Who_Am_I(ctx, panel, control);
    AxHY_cfg::OOR(ctx);
    AxHY_cfg::Limit(ctx);
    return 0;
}

int evUnit(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    UNIT_cfg::OOR(ctx);
    UNIT_cfg::Limit(ctx);
    fn_Affect_by_TYPE_UNIT_DP_DIGIT(ctx);
    return 0;
}

int evDecimalPoint(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    // The mark first, so a choice outside the range shows red until Limit replaces it and a
    // mark left by an earlier check goes once the choice is in range.
    DP_cfg::OOR(ctx);
    DP_cfg::Limit(ctx);
    // Re-rendered with the new decimal point while Dpp still decodes with the old one.
    fn_Affect_by_DP(ctx);
    fn_Affect_by_TYPE_UNIT_DP_DIGIT(ctx);
    fn_Set_Dpp(ctx, DP_cfg::GI(ctx));
    return 0;
}

int evTypeR(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event == ui::EVENT_KEYPRESS) {
        fn_Enter_to_Next(ctx, panel, control, event, data1);
        int index = TYPE_cfg::who_am_I(ctx, panel, control);
        if (data1 == ui::VAL_UP_ARROW_VKEY) TYPE_cfg::HotKey(ctx, index, -1);
        if (data1 == ui::VAL_DOWN_ARROW_VKEY) TYPE_cfg::HotKey(ctx, index, +1);
        TypeDependencies(ctx);
    } else if (event == ui::EVENT_COMMIT) {
        TYPE_cfg::SV(ctx, TYPE_cfg::who_am_I(ctx, panel, control));
        TypeDependencies(ctx);
    }
    return 0;
}

int evdirR(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    DIR_cfg::SV(ctx, DIR_cfg::who_am_I(ctx, panel, control));
    return 0;
}

int ev_SN_V(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (!EnterThenCommit(ctx, panel, control, event, data1)) return 0;
    SN_V_I_panel::Who_Am_I(ctx, panel, control);
    SN_V_I_panel::OOR(ctx);
    SN_V_I_panel::Limit(ctx);
    return 0;
}

int evBRcfg(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    return fn_Enter_to_Next(ctx, panel, control, event, data1);
}
int evRTUcfg(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    return fn_Enter_to_Next(ctx, panel, control, event, data1);
}
int evCut(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    return fn_Enter_to_Next(ctx, panel, control, event, data1);
}
int evLock(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    return fn_Enter_to_Next(ctx, panel, control, event, data1);
}
int evAxFU(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    return fn_Enter_to_Next(ctx, panel, control, event, data1);
}
int evAxMD(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    return fn_Enter_to_Next(ctx, panel, control, event, data1);
}
int evDigit_Set(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    return fn_Enter_to_Next(ctx, panel, control, event, data1);
}
int evALM_Set(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    return fn_Enter_to_Next(ctx, panel, control, event, data1);
}

int evDSP_Limit(Context&, int, int, int, void*, int, int) {
    return 0;
}
int evMRng_rat(Context&, int, int, int, void*, int, int) {
    return 0;
}
int evPVOF_rat(Context&, int, int, int, void*, int, int) {
    return 0;
}

}  // namespace conf
