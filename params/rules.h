#pragma once
// The parameter dependencies: what a change of the input type, unit, decimal point,
// display digits or alarm amount does to the other parameters. The rules only re-range,
// re-render, mark, clamp, dim or enable controls; they never talk to the instrument. Each
// returns 0.

#include "core/context.h"

namespace conf {

// Input type changed: linear rows, scale and cut enabled for the linear types; unit and
// decimal point brought into their new ranges; the scaled values re-rendered; Dpp := DP.
int fn_Affect_by_TYPE(Context& ctx);
// Input type or display digits changed: the decimal point is marked when out of range.
int fn_Affect_by_TYPE_DIGIT(Context& ctx);
// Any of type, unit, decimal point or digits changed: rated and offset ranges recomputed and
// shown; the selected limit and both set points marked when out of range.
int fn_Affect_by_TYPE_UNIT_DP_DIGIT(Context& ctx);
// Decimal point changed: every scaled control gets the new decimals and is re-rendered.
int fn_Affect_by_DP(Context& ctx);
// Display digits changed: decimal-point captions, display range, linear-row decimals.
int fn_Affect_by_DIGIT(Context& ctx);
// Display digits changed: a sample of the new width on the process-value display.
int fn_Affect_by_DIGIT_0(Context& ctx);
// Alarm amount changed: only the alarms in use are enabled.
int fn_Affect_by_Alarm_Amount(Context& ctx);

}  // namespace conf
