#pragma once
// Model A's configuration block (registers 0 to 30) as the pages hold it: for each address the
// selector fields that pick the control, the module operations that set and get its raw
// value, and the rules a new value sets off. Read-all, write-all and the parameter files all go
// through this one table.

#include "core/context.h"

namespace conf {

// Registers of the block with the full firmware, addresses 0 to 30.
inline constexpr int kParaBlockMax = 31;

// Registers of the configuration block for a firmware version.
int fn_Para_Block_Length(int firmware);
// The raw value of one register of the block as the page shows it (its selector fields set
// first, and left so). 0 for an address outside the block.
int fn_Para_Block_Value(Context& ctx, int address);
// One value into its module: the selector fields of its address, the module's set operation,
// the rules the value governs. 0, or -1 for an address outside the block (nothing is changed).
int fn_Para_to_GUI(Context& ctx, int address, int value);

}  // namespace conf
