#pragma once
// What the simulated instrument is before it is switched on: model, identity, link settings
// and how it times its answers.

#include <cstdint>
#include <string>

#include "platform/serial/line_settings.h"

namespace sim {

enum class Model { kA, kB };

// How closely the master's line settings must agree with the instrument's own before it hears
// a request. A pseudo-terminal carries baud rate and stop bits but not parity.
enum class LineCheck { kAllFields, kBaudAndStopBits };

struct InstrumentConfig {
    Model model = Model::kA;
    int code = 104;       // hardware model code, high byte of 0x1F00 (0..255)
    int firmware = 2;     // firmware version, low byte of 0x1F00 (1..9)
    int station = 1;      // 1..255
    int baudIndex = 3;    // 2400 << index: 0..3
    int formatIndex = 1;  // 0 8N1, 1 8N2, 2 8O1, 3 8E1
    std::uint32_t serialNumber = 1305280001;
    bool openSensor = false;
    double turnaround = 0.003;  // seconds from the end of a request to the first answer byte
    bool paced = true;          // answer bytes one character time apart; false: all at once
    // The line hands every byte the master sends back to it, ahead of the answer, as a
    // half-duplex adapter without echo suppression does.
    bool echo = false;
    LineCheck lineCheck = LineCheck::kAllFields;
};

// Model A: code 104, firmware 2. Model B: code 105, firmware 3.
InstrumentConfig DefaultConfig(Model model);

// 0 when every field is in range, else -1 with the reason in *error.
int CheckConfig(const InstrumentConfig& config, std::string* error);

// The line settings of a baud-rate index and a frame-format index (8 data bits always).
serial::LineSettings LinkSettings(int baudIndex, int formatIndex);

// "19200 8N2"; with parityKnown false the parity shows as '?'.
std::string SettingsText(const serial::LineSettings& settings, bool parityKnown = true);

}  // namespace sim
