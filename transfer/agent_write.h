#pragma once
// The Set button of the main panel: display digits and alarm amount, the two settings outside
// the configuration block, written to the instrument and their dependencies applied.

#include "core/context.h"

namespace conf {

// Commit: device check, then the digit code (0x4600 + index) to the display-digit register in
// RAM, the digit rules, the alarm-amount code (0x4700 + index) to its register with the EEPROM
// store, the alarm rule. 0 ("Write OK"), or the first negative result ("Write NG" after a failed
// write; the digit rules stay applied when only the second write failed). Enter moves the focus on.
int evAgentWrite(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);

}  // namespace conf
