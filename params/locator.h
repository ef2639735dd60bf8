#pragma once
// Where a module's operation acts: the panel and the control its selector designates.

namespace conf {

struct Locator {
    int panel = 0;
    int control = 0;
};

// Modules with two indicators per item address both at once.
struct PairLocator {
    int panel = 0;
    int first = 0;
    int second = 0;
};

// Highlight colours of the parameter controls.
inline constexpr int kColorOutOfRange = 0xFF0000;
inline constexpr int kColorNormal = 0xFFFFFF;
inline constexpr int kColorNormalUnitDp = 0xECE9D8;  // the unit and decimal-point rings
// How long a replaced out-of-range value stays red, so the user sees what happened.
inline constexpr double kLimitPause = 0.1;

}  // namespace conf
