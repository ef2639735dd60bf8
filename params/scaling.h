#pragma once
// Conversions between an instrument's integer values and the real numbers the controls show.
// Single precision throughout, as the instrument's own display arithmetic; the conversion
// back goes through text so that a shown 1.15 becomes 115 and not 114.

namespace conf {

// 10^decimals: 1.0 multiplied by 10.0 once per decimal (none for decimals <= 0).
float PowerOfTen(int decimals);
// raw / 10^decimals.
float IntToFloatByDecimals(int raw, int decimals);
// The integer a value shown with `decimals` decimals stands for: the value is formatted with
// that many decimals (rounding to the shown step), parsed back, multiplied by the integer
// power of ten and truncated toward zero. Results beyond int are held at int's ends; NaN
// gives 0.
int FloatToIntByDecimals(float value, int decimals);
// A linear-signal entry: the value confined to -confine .. +confine, formatted with
// `decimals` decimals, its decimal point removed and the digits read as an integer
// (-12.34 with 2 decimals gives -1234). NaN gives 0.
int DigitsOfShown(float value, double confine, int decimals);

}  // namespace conf
