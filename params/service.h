#pragma once
// The service controls on the calibration page: relay test buttons (ARelay, selector
// bit 14), converter readings (ADC_V_M, bit 17), serial-number fields (SN_V_I, bits 15-16),
// the serial number they make (SN_V_V) and its read-back text (SN_V_Read).

#include <string>

#include "core/context.h"
#include "params/locator.h"

namespace conf {
namespace ARelay {

int Who_Am_I(Context& ctx, int panel, int control);
int init(Context& ctx, Locator* loc);
// The button state, 0 or 1.
int GV(Context& ctx);
int Query_Address(Context& ctx);
}  // namespace ARelay

namespace ADC_V_M {

int init(Context& ctx, Locator* loc);
int SV(Context& ctx, int raw);
int SA_i32(Context& ctx, int attribute, int value);
int SA_i32_all(Context& ctx, int attribute, int value);
int SV_all(Context& ctx, const short values[2]);
}  // namespace ADC_V_M

namespace SN_V_I {

// Serial-number fields: year 0-42, month 1-12, day 1-31, running number 0-9999.
int Who_Am_I(Context& ctx, int panel, int control);
int init(Context& ctx, Locator* loc);
int SV(Context& ctx, int raw);
int GV(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
int Query_Range(Context& ctx, int* min, int* max);
int Hi_Light(Context& ctx, int on);
int OOR(Context& ctx);
int Limit(Context& ctx);
}  // namespace SN_V_I

namespace SN_V_V {

// year * 100000000 + month * 1000000 + day * 10000 + running number.
unsigned GV(Context& ctx);
// OOR of the four fields; negative when any is out of range.
int OOR(Context& ctx);
}  // namespace SN_V_V

namespace SN_V_Read {

int init(Context& ctx, Locator* loc);
int SV(Context& ctx, const std::string& text);
}  // namespace SN_V_Read

}  // namespace conf
