#pragma once
// The serial-number write of the calibration page: the four fields (year, month, day, running
// number) packed into one number, written to the instrument, read back, and the running number
// advanced so that the next instrument of a batch gets the next number.

#include <string>

#include "core/context.h"
#include "params/service.h"

namespace conf {

struct SN_V_I : SN_V_I_panel {
    // The fields preset to today's date and running number 1. Returns 0, or the first negative
    // result of setting a field.
    static int Today_init(Context& ctx);
};

// Today's date from the program's clock as eight digits, "YYYYMMDD".
std::string fn_Get_Date_YYYYMMDD_str(Context& ctx);

namespace SN_V_V {
// Writes the serial number: high word to its register (RAM), then low word to the next (EEPROM,
// which stores both). Out-of-range fields are marked red and nothing is sent (their negative OOR
// sum, the status line untouched). After both writes the running number advances (a 9999
// stays 9999). 0, or the negative link result ("Write NG", the number unchanged).
int to_Modbus(Context& ctx);
}  // namespace SN_V_V

// The serial-number write button: commit runs the device check, the write and the read-back
// and returns the first negative result or the read-back's; Enter moves the focus on.
int ev_SN_B(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);

}  // namespace conf
