#pragma once
// The process-value display on the main panel: the instrument's raw value in its own decimal
// format, "OPEN" in red for an open sensor where the model has that code.

#include <string>

#include "core/context.h"
#include "params/main_panel.h"

namespace conf {

// The raw value an instrument sends for an open sensor.
inline constexpr int kPvOpenSensor = 0x7FFF;
inline constexpr const char* kPvOpenText = "OPEN";

// The decimals the display shows: the decimal point, within the model's widest.
int fn_PV_Decimals(Context& ctx);
// The text of a measured value: a temperature type at decimal point 0 shows tenths dropped,
// then the value over 10^DP in six characters with DP decimals ("%6.2f").
std::string fn_PV_Text(Context& ctx, int raw);
// The value that text shows, as a number (for the trend).
double fn_PV_Value(Context& ctx, int raw);

namespace MSPV_V {
int Text_Color(Context& ctx, int colour);
// Formats and shows a measured value.
int Decoding(Context& ctx, int raw);
// 1 when the open-sensor text was shown (in red), else 0 (the value in blue). A model whose
// value has no open-sensor code shows every value as a number.
int to_GUI(Context& ctx, int raw);
// The text the display shows now.
std::string GV(Context& ctx);
}  // namespace MSPV_V

}  // namespace conf
