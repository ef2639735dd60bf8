#include "transfer/config_block.h"

#include <iterator>

#include "core/selector.h"
#include "models/param_catalogue_a.h"
#include "params/alarm.h"
#include "params/comm.h"
#include "params/input.h"
#include "params/linear.h"
#include "params/measuring.h"
#include "params/outcal.h"
#include "params/rules.h"
#include "transfer/dev_info.h"

namespace conf {

namespace {

int AfterType(Context& ctx) {
    fn_Affect_by_TYPE(ctx);
    return fn_Affect_by_TYPE_DIGIT(ctx);
}

int AfterDp(Context& ctx) {
    fn_Affect_by_TYPE_UNIT_DP_DIGIT(ctx);
    return fn_Affect_by_DP(ctx);
}

// How one register of the block reaches its control and comes back from it, by address.
struct Row {
    const SelectorField* field;  // null: a single-control module
    int member;
    int (*set)(Context&, int);
    int (*get)(Context&);
    int (*after)(Context&);  // null: the value governs nothing else
};

// The order is binding: type, unit and decimal point come before the values whose ranges
// and precision they decide.
constexpr Row kRows[] = {
    {nullptr, 0, TYPE_cfg::SV, TYPE_cfg::GV, AfterType},
    {nullptr, 0, UNIT_cfg::SI, UNIT_cfg::GI, nullptr},
    {nullptr, 0, DP_cfg::SI, DP_cfg::GI, AfterDp},
    {&kSelMRngUsr, 0, MRng_usr_cfg::SV, MRng_usr_cfg::GV, nullptr},
    {&kSelMRngUsr, 1, MRng_usr_cfg::SV, MRng_usr_cfg::GV, nullptr},
    {nullptr, 0, PVOF_usr_cfg::SV, PVOF_usr_cfg::GV, nullptr},
    {&kSelLinScale, 0, LinScale_cfg::SV, LinScale_cfg::GV, nullptr},
    {&kSelLinScale, 1, LinScale_cfg::SV, LinScale_cfg::GV, nullptr},
    {nullptr, 0, FILT_cfg::SV, FILT_cfg::GV, nullptr},
    {nullptr, 0, DIR_cfg::SV, DIR_cfg::GV, nullptr},
    {nullptr, 0, CUT_cfg::SI, CUT_cfg::GI, nullptr},
    {&kSelRTS, 0, RTS_V_cfg::SV, RTS_V_cfg::GV, nullptr},
    {&kSelRTS, 1, RTS_V_cfg::SV, RTS_V_cfg::GV, nullptr},
    {nullptr, 0, ID_cfg::SV, ID_cfg::GV, nullptr},
    {nullptr, 0, BR_cfg::SI, BR_cfg::GI, nullptr},
    {&kSelAlarm, 0, AxFU_cfg::SI, AxFU_cfg::GI, nullptr},
    {&kSelAlarm, 0, AxMD_cfg::SI, AxMD_cfg::GI, nullptr},
    {&kSelAlarm, 0, AxSP_cfg::SV, AxSP_cfg::GV, nullptr},
    {&kSelAlarm, 0, AxHY_cfg::SV, AxHY_cfg::GV, nullptr},
    {&kSelAlarm, 1, AxFU_cfg::SI, AxFU_cfg::GI, nullptr},
    {&kSelAlarm, 1, AxMD_cfg::SI, AxMD_cfg::GI, nullptr},
    {&kSelAlarm, 1, AxSP_cfg::SV, AxSP_cfg::GV, nullptr},
    {&kSelAlarm, 1, AxHY_cfg::SV, AxHY_cfg::GV, nullptr},
    {&kSelLinSig, 0, LinSig_cfg::SV, LinSig_cfg::GV, nullptr},
    {&kSelLinSig, 1, LinSig_cfg::SV, LinSig_cfg::GV, nullptr},
    {&kSelLinSig, 2, LinSig_cfg::SV, LinSig_cfg::GV, nullptr},
    {&kSelLinSig, 3, LinSig_cfg::SV, LinSig_cfg::GV, nullptr},
    {&kSelLinSig, 4, LinSig_cfg::SV, LinSig_cfg::GV, nullptr},
    {&kSelLinSig, 5, LinSig_cfg::SV, LinSig_cfg::GV, nullptr},
    {nullptr, 0, RTU_cfg::SI, RTU_cfg::GI, nullptr},
    {nullptr, 0, Lock_cfg::SI, Lock_cfg::GI, nullptr},
};
constexpr int kRowCount = static_cast<int>(std::size(kRows));
static_assert(kRowCount == kParaBlockMax);
constexpr int kAddrDP = 2;

const Row* RowAt(Context& ctx, int address) {
    if (address < 0 || address >= kRowCount) return nullptr;
    const Row& row = kRows[address];
    if (row.field) SetField(ctx.gsRAM01, *row.field, row.member);
    return &row;
}

}  // namespace

int fn_Para_Block_Length(int firmware) {
    const ParamCatalogue& cat = ModelACatalogue();
    // Version 0 is not a released firmware; it is read as version 1, the shorter block, so
    // no register is asked for that the instrument may not have.
    return firmware >= kFirmwareFull ? cat.blockLength : cat.blockLengthFw1;
}

int fn_Para_Block_Value(Context& ctx, int address) {
    const Row* row = RowAt(ctx, address);
    return row ? row->get(ctx) : 0;
}

int fn_Para_to_GUI(Context& ctx, int address, int value) {
    const Row* row = RowAt(ctx, address);
    if (!row) return -1;
    row->set(ctx, value);
    if (row->after) row->after(ctx);
    // The shown values are rendered with the device's decimal point from here on.
    if (address == kAddrDP) SetField(ctx.gsRAM01, kSelDpp, value & 3);
    return 0;
}

}  // namespace conf
