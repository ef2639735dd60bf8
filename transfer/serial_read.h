#pragma once
// The serial-number read-back: the instrument's serial number (the model's two serial-number
// registers) shown on the calibration page, its parts under the four serial-number fields.

#include <cstdint>
#include <string>

#include "core/context.h"
#include "params/service.h"

namespace conf {
// "YY     MM    DD       NNNN" of a packed serial number.
std::string fn_SN_Read_Text(std::uint32_t serial);

}  // namespace conf
