#pragma once
// Read-all: the whole configuration of the connected instrument into the pages, after the
// device check. Runs at start-up, on the Read button, on the read-from-device menu item and
// after a failed write-all. The pages are the only copy of the values.

#include "core/context.h"
#include "transfer/config_block.h"

namespace conf {
namespace Para_Fr_Dev {

// The whole read: device check, display setup, parameter block, RS-485 setting, serial
// number, range check. 0 ("Read OK"), or the negative result of the failing step, after
// which what was already applied stays. Left in gr as well.
int onClick(Context& ctx);
// The register reads and their hand-over to the modules: 0, or -1 ("Read NG").
int r_Parameter(Context& ctx);
}  // namespace Para_Fr_Dev

// The Read button: commit reads all; Enter moves the focus on. Returns 0.
int evRead(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
// The read-from-device menu item: the result of the read.
int evParaFrDev(Context& ctx, int menuBar, int item, void* data, int panel);

}  // namespace conf
