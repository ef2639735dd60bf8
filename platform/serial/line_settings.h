#pragma once
// How the line is driven: speed, parity, character size and stop bits, as the programs pass
// them when they open a port.

namespace serial {

inline constexpr int kParityNone = 0;
inline constexpr int kParityOdd = 1;
inline constexpr int kParityEven = 2;
inline constexpr int kParityMark = 3;
inline constexpr int kParitySpace = 4;

struct LineSettings {
    int baud = 9600;
    int parity = kParityNone;  // one of the kParity* values
    int dataBits = 8;          // 5..8
    int stopBits = 1;          // 1 or 2
    bool operator==(const LineSettings&) const = default;
};

// 0 when every backend can take the settings, kErrSettings otherwise. Accepted speeds are
// 2400, 4800, 9600, 19200, 38400, 57600 and 115200 baud.
int CheckLineSettings(const LineSettings& settings);

// Bits one character occupies on the wire: start bit, data bits, parity bit if any, stop bits.
int BitsPerCharacter(const LineSettings& settings);

// Seconds the line needs to carry `bytes` characters back to back (0 for a zero baud rate).
double WireTime(const LineSettings& settings, int bytes);

}  // namespace serial
