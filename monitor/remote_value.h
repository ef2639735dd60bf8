#pragma once
// The remote value on the main panel: committed, it goes to the instrument at once.

#include "core/context.h"
#include "params/main_panel.h"

namespace conf {

struct RSP : RSP_panel {
    // "Writing", the value to the model's remote-value register, "Write OK" or "Write NG";
    // 0 or the write's result.
    static int to_Modbus(Context& ctx);
};

// Commit: the out-of-range mark, the device check (its failure ends here, the mark stays), the
// value limited to the display range (red for the limit pause), then written. Other events:
// the Enter step. Returns 0.
int ev_RSP_W_PV(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);

}  // namespace conf
