#pragma once
// Output calibration on both pages (step selector and the RTS.L / RTS.H values, kept in step),
// and the relay test: every choice goes to the instrument at once.

#include "core/context.h"
#include "params/outcal.h"
#include "params/service.h"

namespace conf {

// Writes hot keys and typed values keep within the register's range.
inline constexpr int kRtsStep = 16;

struct RTS_R_cfg : RTS_R_cfg_panel {
    // The selected step's command to the instrument.
    static int w_SCFg(Context& ctx);
};

struct RTS_R_cal : RTS_R_cal_panel {
    static int w_SCFg(Context& ctx);
};

struct RTS_V_cfg : RTS_V_cfg_panel {
    // The selected value to its register, then shown on both pages.
    static int to_Modbus(Context& ctx);
    // Left and right arrows: kRtsStep down or up, kept within the range, and written.
    static int HotKey(Context& ctx, int key);
};

struct RTS_V_cal : RTS_V_cal_panel {
    static int to_Modbus(Context& ctx);
    static int HotKey(Context& ctx, int key);
};

struct ARelay : ARelay_panel {
    // The selected relay's button state to its test register.
    static int to_Modbus(Context& ctx);
};

namespace RTS_R {
// Both selectors on `index`, then each page's values enabled by it.
int sync_cfg_cal(Context& ctx, int index);
}  // namespace RTS_R

namespace RTS_V {
// `value` shown in the selected member on both pages.
int sync_cfg_cal(Context& ctx, int value);
}  // namespace RTS_V

int evRTS_R_cfg(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evRTS_R_cal(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evRTS_VAL(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evRTS_VAL_cal(Context& ctx, int panel, int control, int event, void* data, int data1,
                  int data2);
int evARelay(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);

}  // namespace conf
