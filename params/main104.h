#pragma once
// Model A's parameter controls on the main panel: display digits (DIGIT_cfg), alarm amount
// (Alarm_Amount_cfg), the remote value (RSP), the Set button (AgentWrite), the progress
// counter (giCNTt) and the text of the process-value display (MSPV_V).

#include <string>

#include "core/context.h"
#include "params/locator.h"

namespace conf {

// Display digits: 0 = -199 .. 999, 1 = -1999 .. 9999.
int mf_104_DIGIT_cfg__init(Context& ctx, Locator* loc);
int mf_104_DIGIT_cfg__SI(Context& ctx, int index);
int mf_104_DIGIT_cfg__GI(Context& ctx);
int mf_104_DIGIT_cfg__SA_i32(Context& ctx, int attribute, int value);

// Alarms in use: 0, 1 or 2.
int mf_104_Alarm_Amount_cfg__init(Context& ctx, Locator* loc);
int mf_104_Alarm_Amount_cfg__SI(Context& ctx, int index);
int mf_104_Alarm_Amount_cfg__GI(Context& ctx);
int mf_104_Alarm_Amount_cfg__SA_i32(Context& ctx, int attribute, int value);

// Remote value for input type 13, decimal-point scaled, in the display range. Each keeps the
// platform's result in gr as well.
int mf_104_RSP__init(Context& ctx, Locator* loc);
int mf_104_RSP__SV(Context& ctx, int raw);
int mf_104_RSP__GV(Context& ctx);
int mf_104_RSP__SA_i32(Context& ctx, int attribute, int value);
int mf_104_RSP__Query_Range(Context& ctx, int* min, int* max);
int mf_104_RSP__Hi_Light(Context& ctx, int on);
int mf_104_RSP__OOR(Context& ctx);
int mf_104_RSP__Limit(Context& ctx);
int mf_104_RSP__Set_Precision(Context& ctx);
int mf_104_RSP__Refresh(Context& ctx);
// Dimmed unless the input type is the remote value.
int mf_104_RSP__Toggle_Dim(Context& ctx);

// The Set button.
int mf_104_AgentWrite__init(Context& ctx, Locator* loc);
int mf_104_AgentWrite__SA_i32(Context& ctx, int attribute, int value);

// The progress counter giCNT and its indicator.
int mf_104_giCNTt__init(Context& ctx, Locator* loc);
int mf_104_giCNTt__SV(Context& ctx, int value);
int mf_104_giCNTt__GV(Context& ctx);
int mf_104_giCNTt__SA_i32(Context& ctx, int attribute, int value);
int mf_104_giCNTt__giCNT_clr(Context& ctx);
int mf_104_giCNTt__giCNT_inc(Context& ctx);

// The process-value display's text.
int mf_104_MSPV_V__SV(Context& ctx, const std::string& text);

}  // namespace conf
