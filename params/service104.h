#pragma once
// Model A's service controls on the calibration page: relay test buttons (ARelay, selector
// bit 14), converter readings (ADC_V_M, bit 17), serial-number fields (SN_V_I, bits 15-16),
// the serial number they make (SN_V_V) and its read-back text (SN_V_Read).

#include <string>

#include "core/context.h"
#include "params/locator.h"

namespace conf {

int mf_104_ARelay__Who_Am_I(Context& ctx, int panel, int control);
int mf_104_ARelay__init(Context& ctx, Locator* loc);
// The button state, 0 or 1.
int mf_104_ARelay__GV(Context& ctx);
int mf_104_ARelay__Query_Address(Context& ctx);

int mf_104_ADC_V_M__init(Context& ctx, Locator* loc);
int mf_104_ADC_V_M__SV(Context& ctx, int raw);
int mf_104_ADC_V_M__SA_i32(Context& ctx, int attribute, int value);
int mf_104_ADC_V_M__SA_i32_all(Context& ctx, int attribute, int value);
int mf_104_ADC_V_M__SV_all(Context& ctx, const short values[2]);

// Serial-number fields: year 0-42, month 1-12, day 1-31, running number 0-9999.
int mf_104_SN_V_I__Who_Am_I(Context& ctx, int panel, int control);
int mf_104_SN_V_I__init(Context& ctx, Locator* loc);
int mf_104_SN_V_I__SV(Context& ctx, int raw);
int mf_104_SN_V_I__GV(Context& ctx);
int mf_104_SN_V_I__SA_i32(Context& ctx, int attribute, int value);
int mf_104_SN_V_I__Query_Range(Context& ctx, int* min, int* max);
int mf_104_SN_V_I__Hi_Light(Context& ctx, int on);
int mf_104_SN_V_I__OOR(Context& ctx);
int mf_104_SN_V_I__Limit(Context& ctx);

// year * 100000000 + month * 1000000 + day * 10000 + running number.
unsigned mf_104_SN_V_V__GV(Context& ctx);
// OOR of the four fields; negative when any is out of range.
int mf_104_SN_V_V__OOR(Context& ctx);

int mf_104_SN_V_Read__init(Context& ctx, Locator* loc);
int mf_104_SN_V_Read__SV(Context& ctx, const std::string& text);

}  // namespace conf
