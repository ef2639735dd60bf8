#pragma once
// The service controls on the calibration page: relay test buttons (ARelay, selector
// bit 14), converter readings (ADC_V_M, bit 17), serial-number fields (SN_V_I, bits 15-16),
// the serial number they make (SN_V_V) and its read-back text (SN_V_Read).

#include <string>

#include "core/context.h"
#include "params/locator.h"
#include "params/module_ops.h"

namespace conf {
// The button state, 0 or 1.
NumericModule ARelay_def(const Context& ctx);
struct ARelay : NumericOps<ARelay_def> {
    static int Query_Address(Context& ctx);
    // The selected relay's button state to its test register (calib/output_cal.cpp).
    static int to_Modbus(Context& ctx);
};

NumericModule ADC_V_M_def(const Context& ctx);
struct ADC_V_M : NumericOps<ADC_V_M_def> {
    static int SV_all(Context& ctx, const short values[2]);
};

// Serial-number fields: year 0-42, month 1-12, day 1-31, running number 0-9999.
NumericModule SN_V_I_def(const Context& ctx);
struct SN_V_I : NumericOps<SN_V_I_def> {
    // The fields preset to today's date and running number 1. Returns 0, or the first negative
    // result of setting a field (transfer/serial_write.cpp).
    static int Today_init(Context& ctx);
};

namespace SN_V_V {

// year * 100000000 + month * 1000000 + day * 10000 + running number.
unsigned GV(Context& ctx);
// OOR of the four fields; negative when any is out of range.
int OOR(Context& ctx);
}  // namespace SN_V_V

NumericModule SN_V_Read_def(const Context& ctx);
struct SN_V_Read : NumericOps<SN_V_Read_def> {
    static int SV(Context& ctx, const std::string& text);
    // Reads and shows the serial number: 0, or the negative link result ("Read NG"). Shows
    // "Reading", then "Read OK" on success (transfer/serial_read.cpp).
    static int fr_Modbus(Context& ctx);
};

}  // namespace conf
