#pragma once
// The range check of the parameter pages: every value that lies outside its current range is
// marked red. Run after a read and before a write.

#include "core/context.h"

namespace conf {
namespace Para_To_Dev {

// Minus the number of out-of-range values, 0 when all are in range. The selectors are left
// at member 1 and linear-signal row 5.
int Check_OOR(Context& ctx);
}  // namespace Para_To_Dev

}  // namespace conf
