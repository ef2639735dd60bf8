#pragma once
// The parameter controls on the main panel: display digits (DIGIT_cfg), alarm amount
// (Alarm_Amount_cfg), the remote value (RSP), the Set button (AgentWrite), the progress
// counter (giCNTt) and the text of the process-value display (MSPV_V).

#include <string>

#include "core/context.h"
#include "params/locator.h"
#include "params/module_ops.h"

namespace conf {
// Display digits: 0 = -199 .. 999, 1 = -1999 .. 9999.
RingModule DIGIT_cfg_def(const Context& ctx);
struct DIGIT_cfg : RingOps<DIGIT_cfg_def> {};

// Alarms in use: 0, 1 or 2.
RingModule Alarm_Amount_cfg_def(const Context& ctx);
struct Alarm_Amount_cfg : RingOps<Alarm_Amount_cfg_def> {};

// Remote value for input type 13, decimal-point scaled, in the display range. Each keeps the
// platform's result in gr as well. The module RSP, with its write, is in monitor/remote_value.h.
NumericModule RSP_def(const Context& ctx);
struct RSP_panel : NumericOps<RSP_def> {
    static int init(Context& ctx, Locator* loc);
    static int SV(Context& ctx, int raw);
    static int SA_i32(Context& ctx, int attribute, int value);
    static int Hi_Light(Context& ctx, int on);
    static int Set_Precision(Context& ctx);
    static int Refresh(Context& ctx);
    using NumericOps::Toggle_Dim;
    // Dimmed unless the input type is the remote value.
    static int Toggle_Dim(Context& ctx);
};

// The Set button.
NumericModule AgentWrite_def(const Context& ctx);
struct AgentWrite : NumericOps<AgentWrite_def> {};

// The progress counter giCNT and its indicator.
NumericModule giCNTt_def(const Context& ctx);
struct giCNTt : NumericOps<giCNTt_def> {
    static int giCNT_clr(Context& ctx);
    static int giCNT_inc(Context& ctx);
};

namespace MSPV_V {

// The process-value display's text.
int SV(Context& ctx, const std::string& text);
}  // namespace MSPV_V

}  // namespace conf
