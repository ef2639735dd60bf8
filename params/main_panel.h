#pragma once
// The parameter controls on the main panel: display digits (DIGIT_cfg), alarm amount
// (Alarm_Amount_cfg), the remote value (RSP), the Set button (AgentWrite), the progress
// counter (giCNTt) and the text of the process-value display (MSPV_V).

#include <string>

#include "core/context.h"
#include "params/locator.h"

namespace conf {
namespace DIGIT_cfg {

// Display digits: 0 = -199 .. 999, 1 = -1999 .. 9999.
int init(Context& ctx, Locator* loc);
int SI(Context& ctx, int index);
int GI(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
}  // namespace DIGIT_cfg

namespace Alarm_Amount_cfg {

// Alarms in use: 0, 1 or 2.
int init(Context& ctx, Locator* loc);
int SI(Context& ctx, int index);
int GI(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
}  // namespace Alarm_Amount_cfg

namespace RSP {

// Remote value for input type 13, decimal-point scaled, in the display range. Each keeps the
// platform's result in gr as well.
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
// Dimmed unless the input type is the remote value.
int Toggle_Dim(Context& ctx);
}  // namespace RSP

namespace AgentWrite {

// The Set button.
int init(Context& ctx, Locator* loc);
int SA_i32(Context& ctx, int attribute, int value);
}  // namespace AgentWrite

namespace giCNTt {

// The progress counter giCNT and its indicator.
int init(Context& ctx, Locator* loc);
int SV(Context& ctx, int value);
int GV(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
int giCNT_clr(Context& ctx);
int giCNT_inc(Context& ctx);
}  // namespace giCNTt

namespace MSPV_V {

// The process-value display's text.
int SV(Context& ctx, const std::string& text);
}  // namespace MSPV_V

}  // namespace conf
