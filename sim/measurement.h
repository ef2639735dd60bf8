#pragma once
// What the instrument's input stage shows at a moment: the process value, the converter
// readings and the alarm outputs. The value moves slowly and predictably with time.

#include <cstdint>

#include "sim/config.h"

namespace sim {

inline constexpr std::int32_t kOpenSensorA = 0x7FFF;

// Seconds for one sweep up and down the measuring range.
inline constexpr double kMotionPeriod = 240.0;

// Where in the measuring range the value is, t seconds after power-on: a triangle between 0.1
// and 0.9 of the range, 0.1 at power-on, 0.9 half a period later.
double MotionFraction(double t);

struct InputSettings {
    Model model = Model::kA;
    bool openSensor = false;
    int type = 0;
    int dp = 0;
    std::int32_t low = 0, high = 0, offset = 0;  // measuring range and offset, display units
    std::int32_t setPoint[2] = {0, 0};
    int alarmAmount = 0;
    bool relayTest[2] = {false, false};
    std::int32_t remote = 0;  // the remote value: model A shows it at input type 13
    bool remoteSet = false;   // model B shows it, at any of its types, once one was written
};

struct Measurement {
    std::int32_t processValue = 0;  // as the register carries it
    std::int32_t converter[2] = {0, 0};
    int statusBits = 0;
};

// Model A temperature inputs (types 0..9) at DP 0 carry tenths of a degree in the register.
Measurement Measure(const InputSettings& in, double t);

}  // namespace sim
