#include "transfer/config_block.h"

#include <cstdint>

#include "core/selector.h"
#include "models/model.h"
#include "params/alarm.h"
#include "params/comm.h"
#include "params/input.h"
#include "params/linear.h"
#include "params/measuring.h"
#include "params/outcal.h"
#include "params/rules.h"
#include "params/scaling_dp.h"

namespace conf {

namespace {

// How a module's value reaches its control and comes back from it.
struct ModuleAccess {
    Module module;
    const SelectorField* field;  // null: a single-control module
    int (*set)(Context&, int);
    int (*get)(Context&);
    int (*holds)(Context&, int);  // 1 when the control can show the value at all
};

constexpr ModuleAccess kModules[] = {
    {Module::kType, nullptr, TYPE_cfg::SV, TYPE_cfg::GV, TYPE_cfg::Holds},
    {Module::kUnit, nullptr, UNIT_cfg::SI, UNIT_cfg::GI, UNIT_cfg::Holds},
    {Module::kDp, nullptr, DP_cfg::SI, DP_cfg::GI, DP_cfg::Holds},
    {Module::kMRngUsr, &kSelMRngUsr, MRng_usr_cfg::SV, MRng_usr_cfg::GV, MRng_usr_cfg::Holds},
    {Module::kPvofUsr, nullptr, PVOF_usr_cfg::SV, PVOF_usr_cfg::GV, PVOF_usr_cfg::Holds},
    {Module::kLinScale, &kSelLinScale, LinScale_cfg::SV, LinScale_cfg::GV, LinScale_cfg::Holds},
    {Module::kFilt, nullptr, FILT_cfg::SV, FILT_cfg::GV, FILT_cfg::Holds},
    {Module::kDir, nullptr, DIR_cfg::SV, DIR_cfg::GV, DIR_cfg::Holds},
    {Module::kCut, nullptr, CUT_cfg::SI, CUT_cfg::GI, CUT_cfg::Holds},
    {Module::kRtsV, &kSelRTS, RTS_V_cfg_panel::SV, RTS_V_cfg_panel::GV, RTS_V_cfg_panel::Holds},
    {Module::kId, nullptr, ID_cfg::SV, ID_cfg::GV, ID_cfg::Holds},
    {Module::kBr, nullptr, BR_cfg::SI, BR_cfg::GI, BR_cfg::Holds},
    {Module::kAxFU, &kSelAlarm, AxFU_cfg::SI, AxFU_cfg::GI, AxFU_cfg::Holds},
    {Module::kAxMD, &kSelAlarm, AxMD_cfg::SI, AxMD_cfg::GI, AxMD_cfg::Holds},
    {Module::kAxSP, &kSelAlarm, AxSP_cfg::SV, AxSP_cfg::GV, AxSP_cfg::Holds},
    {Module::kAxHY, &kSelAlarm, AxHY_cfg::SV, AxHY_cfg::GV, AxHY_cfg::Holds},
    {Module::kLinSig, &kSelLinSig, LinSig_cfg::SV, LinSig_cfg::GV, LinSig_cfg::Holds},
    {Module::kRtu, nullptr, RTU_cfg::SI, RTU_cfg::GI, RTU_cfg::Holds},
    {Module::kLock, nullptr, Lock_cfg::SI, Lock_cfg::GI, Lock_cfg::Holds},
};

const ModuleAccess* AccessOf(Module module) {
    for (const ModuleAccess& m : kModules)
        if (module == m.module) return &m;
    return nullptr;
}

struct Row {
    const RegisterRecord* record;
    const ModuleAccess* access;
};

// The register's record and module, with the module's member selected.
bool RowAt(Context& ctx, int address, Row* row) {
    row->record = FindRegister(ctx.model, address);
    row->access = row->record ? AccessOf(row->record->module) : nullptr;
    if (!row->access) return false;
    if (row->access->field) SetField(ctx.gsRAM01, *row->access->field, row->record->member);
    return true;
}

void FollowOn(Context& ctx, FollowUp after, int value) {
    switch (after) {
        case FollowUp::kInputType:
            fn_Affect_by_TYPE(ctx);
            fn_Affect_by_TYPE_DIGIT(ctx);
            break;
        case FollowUp::kDecimalPoint:
            fn_Affect_by_TYPE_UNIT_DP_DIGIT(ctx);
            fn_Affect_by_DP(ctx);
            // The shown values are rendered with the device's decimal point from here on.
            fn_Set_Dpp(ctx, value & ((1 << ctx.model.dpp.width) - 1));
            break;
        // The link's own settings follow only when they are written (write-all).
        case FollowUp::kBothPages:
            // Output calibration: one member bit serves both pages.
            RTS_V_cal_panel::SV(ctx, value);
            break;
        case FollowUp::kStation:
        case FollowUp::kBaudRate:
        case FollowUp::kFrameFormat:
        case FollowUp::kNone:
            break;
    }
}

}  // namespace

int fn_Para_Block_Length(Context& ctx, int firmware) {
    // Version 0 is not a released firmware; it is read as version 1, the shorter block, so
    // no register is asked for that the instrument may not have.
    const ReadPlan& plan = ctx.model.read;
    return firmware >= plan.fullBlockFirmware ? plan.blockLength : plan.blockLengthFw1;
}

int fn_Para_Block_Value(Context& ctx, int address) {
    Row row;
    return RowAt(ctx, address, &row) ? row.access->get(ctx) : 0;
}

int fn_Para_Can_Hold(Context& ctx, int address, int value) {
    const std::uint32_t selectors = ctx.gsRAM01;
    Row row;
    int result = -1;
    if (RowAt(ctx, address, &row)) {
        // The raw value is the register's: signed 16 bits, or 32 (any int).
        const bool fits = row.record->width != 16 || (value >= -32768 && value <= 32767);
        result = fits && row.access->holds(ctx, value) ? 1 : 0;
    }
    ctx.gsRAM01 = selectors;
    return result;
}

int fn_Para_to_GUI(Context& ctx, int address, int value) {
    Row row;
    if (!RowAt(ctx, address, &row)) return -1;
    row.access->set(ctx, value);
    FollowOn(ctx, row.record->after, value);
    return 0;
}

}  // namespace conf
