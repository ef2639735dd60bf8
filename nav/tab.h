#pragma once
// The main panel's tab control: page 0 configuration, page 1 calibration.

#include "core/context.h"

namespace conf {
namespace TAB {

int init(Context& ctx, int* panel, int* control);
// Stores the page panels in gvCFG and gvCAL and makes the configuration page active.
int Get_Page_Handle(Context& ctx);
// Index of the active page (0 or 1).
int get_index(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
int Toggle_CFG_CAL(Context& ctx);
}  // namespace TAB
int evTAB(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);

}  // namespace conf
