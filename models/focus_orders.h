#pragma once
// A model's Enter-key orders of the main panel and its two pages, by role name of the
// controls.

#include <string>
#include <vector>

namespace conf {

struct FocusOrders {
    std::vector<std::string> cfg;   // configuration page; wraps to the main panel's Read button
    std::vector<std::string> main;  // main panel; wraps to the active page's first control
    std::vector<std::string> cal;   // calibration page; wraps to the main panel's Read button
    std::string mainWrapCfg;        // on the configuration page
    std::string mainWrapCal;        // on the calibration page
    std::string pageWrap;           // on the main panel
};

// The configuration page's order both panels share; `typeButton` is the input-type button the
// Enter key stops at.
std::vector<std::string> ConfigPageOrder(const std::string& typeButton);

}  // namespace conf
