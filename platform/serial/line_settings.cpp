#include "platform/serial/line_settings.h"

#include "platform/serial/serial_error.h"

namespace serial {

int CheckLineSettings(const LineSettings& s) {
    switch (s.baud) {
        case 2400:
        case 4800:
        case 9600:
        case 19200:
        case 38400:
        case 57600:
        case 115200:
            break;
        default:
            return kErrSettings;
    }
    if (s.parity < kParityNone || s.parity > kParitySpace) return kErrSettings;
    if (s.dataBits < 5 || s.dataBits > 8) return kErrSettings;
    if (s.stopBits < 1 || s.stopBits > 2) return kErrSettings;
    return 0;
}

int BitsPerCharacter(const LineSettings& s) {
    return 1 + s.dataBits + (s.parity == kParityNone ? 0 : 1) + s.stopBits;
}

double WireTime(const LineSettings& s, int bytes) {
    if (s.baud <= 0 || bytes <= 0) return 0.0;
    return static_cast<double>(bytes) * BitsPerCharacter(s) / s.baud;
}

}  // namespace serial
