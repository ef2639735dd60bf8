#pragma once
// The link controls of the main panel: station number, baud-rate selector, frame-format
// selector. Every request takes the station from its control; every reopen takes the line
// settings from the selectors.

#include "core/context.h"

namespace conf {
namespace ID_comm {

int init(Context& ctx, int* panel, int* control);
int SV(Context& ctx, int value);
int GV(Context& ctx);
int Toggle_Visible(Context& ctx, int visible);
}  // namespace ID_comm

namespace BR_comm {
int init(Context& ctx, int* panel, int* control);
int SI(Context& ctx, int index);
int GI(Context& ctx);
int Toggle_Visible(Context& ctx, int visible);
}  // namespace BR_comm

namespace RTU_comm {
int init(Context& ctx, int* panel, int* control);
int SI(Context& ctx, int index);
int GI(Context& ctx);
int Toggle_Visible(Context& ctx, int visible);
}  // namespace RTU_comm

}  // namespace conf
