#pragma once
// The service controls on the calibration page: relay test buttons (ARelay, selector
// bit 14), converter readings (ADC_V_M, bit 17), serial-number fields (SN_V_I, bits 15-16),
// the serial number they make (SN_V_V) and its read-back text (SN_V_Read). The modules with
// transfers are completed where those are: ARelay in calib/output_cal.h, SN_V_I in
// transfer/serial_write.h, SN_V_Read in transfer/serial_read.h.

#include <string>

#include "core/context.h"
#include "params/locator.h"
#include "params/module_ops.h"

namespace conf {
// The button state, 0 or 1.
NumericModule ARelay_def(const Context& ctx);
struct ARelay_panel : NumericOps<ARelay_def> {
    static int Query_Address(Context& ctx);
};

NumericModule ADC_V_M_def(const Context& ctx);
struct ADC_V_M : NumericOps<ADC_V_M_def> {
    static int SV_all(Context& ctx, const short values[2]);
};

// Serial-number fields: year 0-42, month 1-12, day 1-31, running number 0-9999.
NumericModule SN_V_I_def(const Context& ctx);
struct SN_V_I_panel : NumericOps<SN_V_I_def> {};

namespace SN_V_V {

// year * 100000000 + month * 1000000 + day * 10000 + running number.
unsigned GV(Context& ctx);
// OOR of the four fields; negative when any is out of range.
int OOR(Context& ctx);
}  // namespace SN_V_V

NumericModule SN_V_Read_def(const Context& ctx);
struct SN_V_Read_panel : NumericOps<SN_V_Read_def> {
    static int SV(Context& ctx, const std::string& text);
};

}  // namespace conf
