#include "params/scaling.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace conf {

namespace {

// Wide enough for any float in "%.*f" with the few decimals a display has.
constexpr int kTextSize = 64;
constexpr int kMaxDecimals = 9;

int ClampDecimals(int decimals) {
    return std::clamp(decimals, 0, kMaxDecimals);
}

// Truncation toward zero that cannot overflow.
int TruncateToInt(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0f) return INT_MAX;
    if (value <= -2147483648.0f) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace

float PowerOfTen(int decimals) {
    float power = 1.0f;
    for (int i = 0; i < decimals; ++i)
        power *= 10.0f;
    return power;
}

float IntToFloatByDecimals(int raw, int decimals) {
    return static_cast<float>(raw) / PowerOfTen(decimals);
}

int FloatToIntByDecimals(float value, int decimals) {
    const int d = ClampDecimals(decimals);
    char text[kTextSize];
    std::snprintf(text, sizeof text, "%.*f", d, static_cast<double>(value));
    const float parsed = static_cast<float>(std::atof(text));
    const int multiplier = static_cast<int>(PowerOfTen(d));
    const float product = parsed * static_cast<float>(multiplier);
    return TruncateToInt(product);
}

int DigitsOfShown(float value, double confine, int decimals) {
    if (std::isnan(value)) return 0;
    const double confined = std::clamp(static_cast<double>(value), -confine, confine);
    char text[kTextSize];
    std::snprintf(text, sizeof text, "%.*f", ClampDecimals(decimals), confined);
    std::string digits(text);
    digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
    long number = std::strtol(digits.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(number, INT_MIN, INT_MAX));
}

}  // namespace conf
