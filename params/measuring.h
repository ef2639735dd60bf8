#pragma once
// The ranges on the configuration page: the display range (DRng_cfg), the rated
// measuring range of the input type (MRng_rat_cfg), the user's measuring range "LOLT"/"HILT"
// (MRng_usr_cfg), the offset range (PVOF_rat_cfg) and the offset "PVOF" (PVOF_usr_cfg).

#include "core/context.h"
#include "params/locator.h"
#include "params/module_ops.h"

namespace conf {
// Display range of the display-digit setting, shown as plain integers in two indicators.
NumericModule DRng_cfg_def(const Context& ctx);
struct DRng_cfg : NumericOps<DRng_cfg_def> {
    static int init(Context& ctx, PairLocator* loc);
    static int Set_Range(Context& ctx);
    static int SA_i32(Context& ctx, int attribute, int value);
};

// Rated range of the input type (selector bit 6: 0 low, 1 high indicator). Query_Range gives
// the type's range in its unit; Set_Range scales it to the decimal point, cuts it to the
// display range and shows it.
NumericModule MRng_rat_cfg_def(const Context& ctx);
struct MRng_rat_cfg : NumericOps<MRng_rat_cfg_def> {
    static int Set_Range(Context& ctx);
};

// Measuring range limits (selector bit 7: 0 "LOLT", 1 "HILT"), within the rated range shown.
NumericModule MRng_usr_cfg_def(const Context& ctx);
struct MRng_usr_cfg : NumericOps<MRng_usr_cfg_def> {};

// Offset range (selector bit 8: 0 low, 1 high indicator): 5 % of the rated span either side
// up to firmware version 5, the display range from version 6 on.
NumericModule PVOF_rat_cfg_def(const Context& ctx);
struct PVOF_rat_cfg : NumericOps<PVOF_rat_cfg_def> {
    static int Set_Range(Context& ctx);
};

// Offset correction, within the offset range shown.
NumericModule PVOF_usr_cfg_def(const Context& ctx);
struct PVOF_usr_cfg : NumericOps<PVOF_usr_cfg_def> {};

}  // namespace conf
