#pragma once
// The model's parameter registers as the pages hold them: for each register of the model's
// map the module that shows it, the selector fields that pick its control, and the rules a new
// value sets off. Read-all, write-all and the parameter files all go through this one table.

#include "core/context.h"

namespace conf {

// Registers of the 16-bit configuration block (from the read plan's first) for a firmware
// version.
int fn_Para_Block_Length(Context& ctx, int firmware);
// The raw value of one parameter register as the page shows it (its selector fields set
// first, and left so). 0 for an address the model has no parameter at.
int fn_Para_Block_Value(Context& ctx, int address);
// Whether the control of the parameter at `address` can hold `value` at all: a button of its
// radio group, an item of its ring, a number within its register's width (signed 16 bits, or
// 32). The instrument's range is not looked at (write-all checks that, and marks the control).
// 1 when it can, 0 when not, -1 for an address the model has no parameter at. Nothing on the
// pages changes, nor the selector word.
int fn_Para_Can_Hold(Context& ctx, int address, int value);
// One value into its module: the selector fields of its address, the module's set operation,
// the rules the value governs. 0, or -1 for an address the model has no parameter at (nothing
// is changed).
int fn_Para_to_GUI(Context& ctx, int address, int value);

}  // namespace conf
