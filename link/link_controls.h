#pragma once
// The link controls of the main panel: station number, baud-rate selector, frame-format
// selector. Every request takes the station from its control; every reopen takes the line
// settings from the selectors.

#include "core/context.h"

namespace conf {

int mf_104_ID_comm__init(Context& ctx, int* panel, int* control);
int mf_104_ID_comm__SV(Context& ctx, int value);
int mf_104_ID_comm__GV(Context& ctx);
int mf_104_ID_comm__Toggle_Visible(Context& ctx, int visible);
int mf_104_BR_comm__init(Context& ctx, int* panel, int* control);
int mf_104_BR_comm__SI(Context& ctx, int index);
int mf_104_BR_comm__GI(Context& ctx);
int mf_104_BR_comm__Toggle_Visible(Context& ctx, int visible);
int mf_104_RTU_comm__init(Context& ctx, int* panel, int* control);
int mf_104_RTU_comm__SI(Context& ctx, int index);
int mf_104_RTU_comm__GI(Context& ctx);
int mf_104_RTU_comm__Toggle_Visible(Context& ctx, int visible);

}  // namespace conf
