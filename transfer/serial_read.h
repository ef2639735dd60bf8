#pragma once
// The serial-number read-back: the instrument's serial number (the model's two serial-number
// registers) shown on the calibration page, its parts under the four serial-number fields.

#include <cstdint>
#include <string>

#include "core/context.h"
#include "params/service.h"

namespace conf {

struct SN_V_Read : SN_V_Read_panel {
    // Reads and shows the serial number: 0, or the negative link result ("Read NG"). Shows
    // "Reading", then "Read OK" on success.
    static int fr_Modbus(Context& ctx);
};

// "YY     MM    DD       NNNN" of a packed serial number.
std::string fn_SN_Read_Text(std::uint32_t serial);

}  // namespace conf
