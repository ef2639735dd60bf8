#pragma once
// printf of one format and one argument into a string of any length, for the log writers.

#include <cstdio>
#include <string>

namespace conf {

// A line that outgrows the stack buffer is formatted again into a string of its measured
// size. (Sizing every string by a measuring call alone made GCC's Release build report
// -Wformat-truncation for a size it could not bound.)
template <class T>
std::string FormatOne(const char* format, T value) {
    char line[256];
    const int n = std::snprintf(line, sizeof line, format, value);
    if (n < 0) return {};
    const auto length = static_cast<std::size_t>(n);
    if (length < sizeof line) return std::string(line, length);
    std::string out(length + 1, '\0');
    std::snprintf(out.data(), out.size(), format, value);
    out.resize(length);
    return out;
}

}  // namespace conf
