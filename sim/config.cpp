#include "sim/config.h"

namespace sim {

InstrumentConfig DefaultConfig(Model model) {
    InstrumentConfig c;
    c.model = model;
    if (model == Model::kB) {
        c.code = 105;
        c.firmware = 3;  // above 2: the status bits are polled
    }
    return c;
}

int CheckConfig(const InstrumentConfig& c, std::string* error) {
    std::string why;
    if (c.code < 0 || c.code > 255)
        why = "model code " + std::to_string(c.code) + " is outside 0..255";
    else if (c.firmware < 1 || c.firmware > 9)
        why = "firmware version " + std::to_string(c.firmware) + " is outside 1..9";
    else if (c.station < 1 || c.station > 255)
        why = "station " + std::to_string(c.station) + " is outside 1..255";
    else if (c.baudIndex < 0 || c.baudIndex > 3)
        why = "baud-rate index " + std::to_string(c.baudIndex) + " is outside 0..3";
    else if (c.formatIndex < 0 || c.formatIndex > 3)
        why = "frame format " + std::to_string(c.formatIndex) + " is outside 0..3";
    else if (c.turnaround < 0.0 || c.turnaround > 10.0)
        why = "turnaround outside 0..10 s";
    if (why.empty()) return 0;
    if (error) *error = why;
    return -1;
}

serial::LineSettings LinkSettings(int baudIndex, int formatIndex) {
    serial::LineSettings s;
    s.baud = 2400 << (baudIndex & 3);
    s.dataBits = 8;
    switch (formatIndex) {
        case 0:
            s.parity = serial::kParityNone;
            s.stopBits = 1;
            break;
        case 2:
            s.parity = serial::kParityOdd;
            s.stopBits = 1;
            break;
        case 3:
            s.parity = serial::kParityEven;
            s.stopBits = 1;
            break;
        default:
            s.parity = serial::kParityNone;
            s.stopBits = 2;
            break;
    }
    return s;
}

std::string SettingsText(const serial::LineSettings& s, bool parityKnown) {
    static constexpr char kParity[] = {'N', 'O', 'E', 'M', 'S'};
    char parity = '?';
    if (parityKnown && s.parity >= 0 && s.parity <= 4) parity = kParity[s.parity];
    return std::to_string(s.baud) + " " + std::to_string(s.dataBits) + parity +
           std::to_string(s.stopBits);
}

}  // namespace sim
