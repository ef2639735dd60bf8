#include "transfer/config_block.h"

#include <iterator>

#include "core/selector.h"
#include "models/param_catalogue_a.h"
#include "params/alarm104.h"
#include "params/comm104.h"
#include "params/input104.h"
#include "params/linear104.h"
#include "params/measuring104.h"
#include "params/outcal104.h"
#include "params/rules104.h"
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
    {nullptr, 0, mf_104_TYPE_cfg__SV, mf_104_TYPE_cfg__GV, AfterType},
    {nullptr, 0, mf_104_UNIT_cfg__SI, mf_104_UNIT_cfg__GI, nullptr},
    {nullptr, 0, mf_104_DP_cfg__SI, mf_104_DP_cfg__GI, AfterDp},
    {&kSelMRngUsr, 0, mf_104_MRng_usr_cfg__SV, mf_104_MRng_usr_cfg__GV, nullptr},
    {&kSelMRngUsr, 1, mf_104_MRng_usr_cfg__SV, mf_104_MRng_usr_cfg__GV, nullptr},
    {nullptr, 0, mf_104_PVOF_usr_cfg__SV, mf_104_PVOF_usr_cfg__GV, nullptr},
    {&kSelLinScale, 0, mf_104_LinScale_cfg__SV, mf_104_LinScale_cfg__GV, nullptr},
    {&kSelLinScale, 1, mf_104_LinScale_cfg__SV, mf_104_LinScale_cfg__GV, nullptr},
    {nullptr, 0, mf_104_FILT_cfg__SV, mf_104_FILT_cfg__GV, nullptr},
    {nullptr, 0, mf_104_DIR_cfg__SV, mf_104_DIR_cfg__GV, nullptr},
    {nullptr, 0, mf_104_CUT_cfg__SI, mf_104_CUT_cfg__GI, nullptr},
    {&kSelRTS, 0, mf_104_RTS_V_cfg__SV, mf_104_RTS_V_cfg__GV, nullptr},
    {&kSelRTS, 1, mf_104_RTS_V_cfg__SV, mf_104_RTS_V_cfg__GV, nullptr},
    {nullptr, 0, mf_104_ID_cfg__SV, mf_104_ID_cfg__GV, nullptr},
    {nullptr, 0, mf_104_BR_cfg__SI, mf_104_BR_cfg__GI, nullptr},
    {&kSelAlarm, 0, mf_104_AxFU_cfg__SI, mf_104_AxFU_cfg__GI, nullptr},
    {&kSelAlarm, 0, mf_104_AxMD_cfg__SI, mf_104_AxMD_cfg__GI, nullptr},
    {&kSelAlarm, 0, mf_104_AxSP_cfg__SV, mf_104_AxSP_cfg__GV, nullptr},
    {&kSelAlarm, 0, mf_104_AxHY_cfg__SV, mf_104_AxHY_cfg__GV, nullptr},
    {&kSelAlarm, 1, mf_104_AxFU_cfg__SI, mf_104_AxFU_cfg__GI, nullptr},
    {&kSelAlarm, 1, mf_104_AxMD_cfg__SI, mf_104_AxMD_cfg__GI, nullptr},
    {&kSelAlarm, 1, mf_104_AxSP_cfg__SV, mf_104_AxSP_cfg__GV, nullptr},
    {&kSelAlarm, 1, mf_104_AxHY_cfg__SV, mf_104_AxHY_cfg__GV, nullptr},
    {&kSelLinSig, 0, mf_104_LinSig_cfg__SV, mf_104_LinSig_cfg__GV, nullptr},
    {&kSelLinSig, 1, mf_104_LinSig_cfg__SV, mf_104_LinSig_cfg__GV, nullptr},
    {&kSelLinSig, 2, mf_104_LinSig_cfg__SV, mf_104_LinSig_cfg__GV, nullptr},
    {&kSelLinSig, 3, mf_104_LinSig_cfg__SV, mf_104_LinSig_cfg__GV, nullptr},
    {&kSelLinSig, 4, mf_104_LinSig_cfg__SV, mf_104_LinSig_cfg__GV, nullptr},
    {&kSelLinSig, 5, mf_104_LinSig_cfg__SV, mf_104_LinSig_cfg__GV, nullptr},
    {nullptr, 0, mf_104_RTU_cfg__SI, mf_104_RTU_cfg__GI, nullptr},
    {nullptr, 0, mf_104_Lock_cfg__SI, mf_104_Lock_cfg__GI, nullptr},
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

int mf_104_Para_to_GUI(Context& ctx, int address, int value) {
    const Row* row = RowAt(ctx, address);
    if (!row) return -1;
    row->set(ctx, value);
    if (row->after) row->after(ctx);
    // The shown values are rendered with the device's decimal point from here on.
    if (address == kAddrDP) SetField(ctx.gsRAM01, kSelDpp, value & 3);
    return 0;
}

}  // namespace conf
