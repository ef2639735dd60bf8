#pragma once
// Model A's ranges on the configuration page: the display range (DRng_cfg), the rated
// measuring range of the input type (MRng_rat_cfg), the user's measuring range "LOLT"/"HILT"
// (MRng_usr_cfg), the offset range (PVOF_rat_cfg) and the offset "PVOF" (PVOF_usr_cfg).

#include "core/context.h"
#include "params/locator.h"

namespace conf {

// Display range of the display-digit setting, shown as plain integers in two indicators.
int mf_104_DRng_cfg__init(Context& ctx, PairLocator* loc);
int mf_104_DRng_cfg__Query_Range(Context& ctx, int* min, int* max);
int mf_104_DRng_cfg__Set_Range(Context& ctx);
int mf_104_DRng_cfg__SA_i32(Context& ctx, int attribute, int value);

// Rated range of the input type (selector bit 6: 0 low, 1 high indicator). Query_Range gives
// the type's range in its unit; Set_Range scales it to the decimal point, cuts it to the
// display range and shows it.
int mf_104_MRng_rat_cfg__Who_Am_I(Context& ctx, int panel, int control);
int mf_104_MRng_rat_cfg__init(Context& ctx, Locator* loc);
int mf_104_MRng_rat_cfg__SV(Context& ctx, int raw);
int mf_104_MRng_rat_cfg__GV(Context& ctx);
int mf_104_MRng_rat_cfg__SA_i32(Context& ctx, int attribute, int value);
int mf_104_MRng_rat_cfg__Set_Precision(Context& ctx);
int mf_104_MRng_rat_cfg__Query_Range(Context& ctx, int* min, int* max);
int mf_104_MRng_rat_cfg__Set_Range(Context& ctx);

// Measuring range limits (selector bit 7: 0 "LOLT", 1 "HILT"), within the rated range shown.
int mf_104_MRng_usr_cfg__q_MB_Address(Context& ctx);
int mf_104_MRng_usr_cfg__Who_Am_I(Context& ctx, int panel, int control);
int mf_104_MRng_usr_cfg__init(Context& ctx, Locator* loc);
int mf_104_MRng_usr_cfg__SV(Context& ctx, int raw);
int mf_104_MRng_usr_cfg__GV(Context& ctx);
int mf_104_MRng_usr_cfg__SA_i32(Context& ctx, int attribute, int value);
int mf_104_MRng_usr_cfg__Query_Range(Context& ctx, int* min, int* max);
int mf_104_MRng_usr_cfg__Hi_Light(Context& ctx, int on);
int mf_104_MRng_usr_cfg__OOR(Context& ctx);
int mf_104_MRng_usr_cfg__Limit(Context& ctx);
int mf_104_MRng_usr_cfg__Set_Precision(Context& ctx);
int mf_104_MRng_usr_cfg__Refresh(Context& ctx);

// Offset range (selector bit 8: 0 low, 1 high indicator): 5 % of the rated span either side
// up to firmware version 5, the display range from version 6 on.
int mf_104_PVOF_rat_cfg__Who_Am_I(Context& ctx, int panel, int control);
int mf_104_PVOF_rat_cfg__init(Context& ctx, Locator* loc);
int mf_104_PVOF_rat_cfg__SV(Context& ctx, int raw);
int mf_104_PVOF_rat_cfg__GV(Context& ctx);
int mf_104_PVOF_rat_cfg__SA_i32(Context& ctx, int attribute, int value);
int mf_104_PVOF_rat_cfg__Set_Precision(Context& ctx);
int mf_104_PVOF_rat_cfg__Query_Range(Context& ctx, int* min, int* max);
int mf_104_PVOF_rat_cfg__Set_Range(Context& ctx);

// Offset correction, within the offset range shown.
int mf_104_PVOF_usr_cfg__init(Context& ctx, Locator* loc);
int mf_104_PVOF_usr_cfg__SV(Context& ctx, int raw);
int mf_104_PVOF_usr_cfg__GV(Context& ctx);
int mf_104_PVOF_usr_cfg__SA_i32(Context& ctx, int attribute, int value);
int mf_104_PVOF_usr_cfg__Query_Range(Context& ctx, int* min, int* max);
int mf_104_PVOF_usr_cfg__Hi_Light(Context& ctx, int on);
int mf_104_PVOF_usr_cfg__OOR(Context& ctx);
int mf_104_PVOF_usr_cfg__Limit(Context& ctx);
int mf_104_PVOF_usr_cfg__Set_Precision(Context& ctx);
int mf_104_PVOF_usr_cfg__Refresh(Context& ctx);

}  // namespace conf
