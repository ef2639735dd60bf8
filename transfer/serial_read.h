#pragma once
// The serial-number read-back: the instrument's serial number (registers 0x1F02-0x1F03)
// shown on the calibration page, its parts under the four serial-number fields.

#include <cstdint>
#include <string>

#include "core/context.h"

namespace conf {
namespace SN_V_Read {

// Reads and shows the serial number: 0, or the negative link result ("Read NG"). Shows
// "Reading", then "Read OK" on success.
int fr_Modbus(Context& ctx);
}  // namespace SN_V_Read
// "YY     MM    DD       NNNN" of a packed serial number.
std::string fn_SN_Read_Text(std::uint32_t serial);

}  // namespace conf
