#include "models/focus_orders.h"

namespace conf {

std::vector<std::string> ConfigPageOrder(const std::string& typeButton) {
    // Link settings, input, ranges, linear signals, output, alarms, lock.
    return {"ID",    "BR",      "RTU",   typeButton, "DP",    "CUT",     "FILT", "LOLT",  "HILT",
            "PVOF",  "MV_L",    "MV_H",  "V_L",      "V_H",   "MA_L",    "MA_H", "SCA_L", "SCA_H",
            "DIR_1", "RTS_R_0", "RTS_L", "RTS_R_1",  "RTS_H", "RTS_R_2", "A1FU", "A1MD",  "A1SP",
            "A1HY",  "A2FU",    "A2MD",  "A2SP",     "A2HY",  "LOCK"};
}

}  // namespace conf
