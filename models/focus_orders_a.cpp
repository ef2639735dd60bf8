#include "models/model_a.h"

namespace conf {

const FocusOrders& ModelAFocusOrders() {
    static const FocusOrders orders{
        ConfigPageOrder("TYPE_10"),
        // Main panel.
        {"READ", "WRITE", "MSPV_B", "RSP", "DIGIT", "ALARM_AMOUNT", "AGENT_WRITE"},
        // Calibration page: reference fields (not step 2), step buttons, relays, output
        // calibration, serial number.
        {"ICSP_0",  "ICSP_1",      "ICSP_3",    "ICSP_4",      "ICSP_5",    "ICSP_6",
         "ICSP_7",  "ICSP_8",      "IC_B_0",    "IC_B_1",      "IC_B_2",    "IC_B_3",
         "IC_B_4",  "IC_B_5",      "IC_B_6",    "IC_B_7",      "IC_B_8",    "RELAY_1",
         "RELAY_2", "RTS_R_CAL_0", "RTS_L_CAL", "RTS_R_CAL_1", "RTS_H_CAL", "RTS_R_CAL_2",
         "SN_B",    "SN_YY",       "SN_MM",     "SN_DD",       "SN_NO"},
        "ID",
        // Step 0 of the input calibration: where the technician starts on that page.
        "IC_B_0",
        "READ",
    };
    return orders;
}

}  // namespace conf
