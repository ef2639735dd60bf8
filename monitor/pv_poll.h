#pragma once
// Watching the instrument: a panel timer polls the process value, the converter readings and,
// with newer firmware, two status bits; the toggle button and the check-marked menu item switch
// it on and off and always agree. "log_PV.txt", when it exists, gets the poll's trace.

#include "core/context.h"

namespace conf {

inline constexpr const char* kPvTraceFile = "log_PV.txt";
// The poll's period. At 2400 baud one poll keeps the line about 0.2 s; a second leaves the
// window free most of the time and gives one record a second.
inline constexpr double kPvPollInterval = 1.0;
// Status text when watching is asked for while a calibration step reads (red).
inline constexpr const char* kMsgCalibrationRunning = "Calibration step running";

namespace MSPV_B {
int SV(Context& ctx, int state);
int GV(Context& ctx);
// Start: device check, the decimal point read and applied, the trace opened (when present),
// counter cleared, displays blue, timer on. 0, or the failing read's negative result (the
// timer stays off).
int BEG(Context& ctx);
// Stop: displays black, trace closed, timer off. The last value stays shown. Returns 0.
int END(Context& ctx);
}  // namespace MSPV_B

namespace MSPV_T {
int toggle(Context& ctx, int on);
// One poll. 0, or -1 after a failed read ("Read NG"; the timer runs on).
int sub(Context& ctx);
}  // namespace MSPV_T

namespace Menu_PV_Read {
int Get_Check_Mark(Context& ctx);
int Set_Check_Mark(Context& ctx, int state);
// Turns monitoring over; button and mark follow. The result of the start or stop.
int Toggle(Context& ctx);
}  // namespace Menu_PV_Read

// Whether an input-calibration step reads (its timer runs): watching waits for it.
bool fn_Calibration_Reading(Context& ctx);

// The toggle button: commit starts or stops; Enter moves the focus on.
int ev_MSPV_B(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
// The timer: a tick polls.
int ev_MSPV_T(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
// The menu item.
int evReadPV(Context& ctx, int menuBar, int item, void* data, int panel);

}  // namespace conf
