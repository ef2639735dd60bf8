#pragma once
// What every instrument of the family answers, whatever its model: the scanner uses these
// before it knows which model it has found, and every model's register map agrees with them.

namespace conf::family {

// The forcing broadcast: this value written here puts every instrument on the line on its
// fixed link settings.
inline constexpr int kForceRegister = 0x0A07;
inline constexpr int kForceValue = 0x6C2E;
// The device-information word: model code in the high byte, firmware version in the low.
inline constexpr int kDevInfoRegister = 0x1F00;

}  // namespace conf::family
