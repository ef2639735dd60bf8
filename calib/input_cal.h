#pragma once
// The input calibration on the calibration page: a toggle button per reference point. On, the
// step's preset input type goes to the instrument and a timer shows its converter readings
// beside the button; off, the timer stops and the store code tells the instrument to keep the
// point. "log_ADC.txt", when it exists, gets the step's trace (emptied at each begin).

#include "core/context.h"
#include "monitor/pv_poll.h"

namespace conf {

inline constexpr const char* kCalTraceFile = "log_ADC.txt";
// Status text when a step is begun while another one reads (red).
inline constexpr const char* kMsgCalBusy = kMsgCalibrationRunning;

namespace IC_B {
// The step of `control` into the selector; the step count when it is none of the buttons.
int Who_Am_I(Context& ctx, int panel, int control);
int SV(Context& ctx, int on);
int GV(Context& ctx);
// Begin of the selected step: trace, counter, separator, preset, indicators blue, timer on.
// 0, or the preset write's negative result (the timer stays off).
int BEG(Context& ctx);
// End: trace closed, timer off, indicators black, the store code. 0 or the write's result.
int END(Context& ctx);
int w_parameter(Context& ctx);
int w_save_ICC(Context& ctx);
// Focus to the next step's button (after the last, the first).
int Next(Context& ctx);
// The store code of the selected step (by the polarity ring where the model has one).
int Save_Code(Context& ctx);
// Whether a step is reading (its timer runs).
bool Reading(Context& ctx);
}  // namespace IC_B

namespace ADC_V_I {
// The selected step's indicators: the first reading, and the second where the step has two.
int SV(Context& ctx, const int values[2]);
int SA_i32(Context& ctx, int attribute, int value);
}  // namespace ADC_V_I

namespace ADC_T {
int Toggle(Context& ctx, int on);
// One reading of the converters into the step's indicators. 0, or -1 ("Read NG").
int sub(Context& ctx);
}  // namespace ADC_T

// A step button: Enter moves on; commit begins or ends the step.
int evIC(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
// The calibration timer.
int ev_ADC_T(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);

}  // namespace conf
