#include "platform/sys/datetime.h"

#include <cstddef>

namespace sys {

namespace {

// Decimal digits of value, left-padded with zeros to at least width characters.
std::string Padded(int value, std::size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

}  // namespace

std::string DateStr(const DateTime& t) {
    return Padded(t.month, 2) + "-" + Padded(t.day, 2) + "-" + Padded(t.year, 4);
}

std::string TimeStr(const DateTime& t) {
    return Padded(t.hour, 2) + ":" + Padded(t.minute, 2) + ":" + Padded(t.second, 2);
}

}  // namespace sys
