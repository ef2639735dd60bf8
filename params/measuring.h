#pragma once
// The ranges on the configuration page: the display range (DRng_cfg), the rated
// measuring range of the input type (MRng_rat_cfg), the user's measuring range "LOLT"/"HILT"
// (MRng_usr_cfg), the offset range (PVOF_rat_cfg) and the offset "PVOF" (PVOF_usr_cfg).

#include "core/context.h"
#include "params/locator.h"

namespace conf {
namespace DRng_cfg {

// Display range of the display-digit setting, shown as plain integers in two indicators.
int init(Context& ctx, PairLocator* loc);
int Query_Range(Context& ctx, int* min, int* max);
int Set_Range(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
}  // namespace DRng_cfg

namespace MRng_rat_cfg {

// Rated range of the input type (selector bit 6: 0 low, 1 high indicator). Query_Range gives
// the type's range in its unit; Set_Range scales it to the decimal point, cuts it to the
// display range and shows it.
int Who_Am_I(Context& ctx, int panel, int control);
int init(Context& ctx, Locator* loc);
int SV(Context& ctx, int raw);
int GV(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
int Set_Precision(Context& ctx);
int Query_Range(Context& ctx, int* min, int* max);
int Set_Range(Context& ctx);
}  // namespace MRng_rat_cfg

namespace MRng_usr_cfg {

// Measuring range limits (selector bit 7: 0 "LOLT", 1 "HILT"), within the rated range shown.
int q_MB_Address(Context& ctx);
int Who_Am_I(Context& ctx, int panel, int control);
int init(Context& ctx, Locator* loc);
int SV(Context& ctx, int raw);
int GV(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
int Query_Range(Context& ctx, int* min, int* max);
int Hi_Light(Context& ctx, int on);
int OOR(Context& ctx);
int Limit(Context& ctx);
int Set_Precision(Context& ctx);
int Refresh(Context& ctx);
}  // namespace MRng_usr_cfg

namespace PVOF_rat_cfg {

// Offset range (selector bit 8: 0 low, 1 high indicator): 5 % of the rated span either side
// up to firmware version 5, the display range from version 6 on.
int Who_Am_I(Context& ctx, int panel, int control);
int init(Context& ctx, Locator* loc);
int SV(Context& ctx, int raw);
int GV(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
int Set_Precision(Context& ctx);
int Query_Range(Context& ctx, int* min, int* max);
int Set_Range(Context& ctx);
}  // namespace PVOF_rat_cfg

namespace PVOF_usr_cfg {

// Offset correction, within the offset range shown.
int init(Context& ctx, Locator* loc);
int SV(Context& ctx, int raw);
int GV(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
int Query_Range(Context& ctx, int* min, int* max);
int Hi_Light(Context& ctx, int on);
int OOR(Context& ctx);
int Limit(Context& ctx);
int Set_Precision(Context& ctx);
int Refresh(Context& ctx);
}  // namespace PVOF_usr_cfg

}  // namespace conf
