#include "sim/measurement.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

constexpr int kRemoteType = 13;

std::int32_t Clamp(double v, double lo, double hi) {
    return static_cast<std::int32_t>(std::lround(std::clamp(v, lo, hi)));
}

}  // namespace

double MotionFraction(double t) {
    double phase = std::fmod(std::max(t, 0.0), kMotionPeriod) / kMotionPeriod;
    double tri = phase < 0.5 ? 2.0 * phase : 2.0 - 2.0 * phase;
    return 0.1 + 0.8 * tri;
}

Measurement Measure(const InputSettings& in, double t) {
    Measurement m;
    const bool a = in.model == Model::kA;
    const double f = MotionFraction(t);
    double shown = static_cast<double>(in.low) + static_cast<double>(in.high - in.low) * f +
                   static_cast<double>(in.offset);
    if (a ? in.type == kRemoteType : in.remoteSet) shown = static_cast<double>(in.remote);

    if (a && in.openSensor) {
        m.processValue = kOpenSensorA;
    } else if (a) {
        const bool tenths = in.type <= 9 && in.dp == 0 && in.type != kRemoteType;
        // 0x7FFF is the open-sensor code, so a real value stops one below it.
        m.processValue = Clamp(tenths ? shown * 10.0 : shown, -32768.0, 32766.0);
    } else {
        m.processValue = Clamp(shown, -2147483648.0, 2147483646.0);
    }

    // Input channel counts follow the signal; the reference channel wobbles a little.
    const int wobble = static_cast<int>(std::fmod(std::floor(std::max(t, 0.0)), 7.0)) - 3;
    if (a) {
        m.converter[0] = in.openSensor ? 32767 : 2000 + Clamp(28000.0 * f, 0.0, 28000.0);
        m.converter[1] = 10000 + wobble;
    } else {
        m.converter[0] = 100000 + Clamp(1600000.0 * f, 0.0, 1600000.0);
        m.converter[1] = 0;
    }

    // High alarms; a broken sensor trips every alarm in use, a relay test forces its output.
    for (int i = 0; i < 2; ++i) {
        bool inUse = in.alarmAmount > i;
        bool tripped = inUse && (in.openSensor || shown >= static_cast<double>(in.setPoint[i]));
        if (tripped || in.relayTest[i]) m.statusBits |= 1 << i;
    }
    return m;
}

}  // namespace sim
