#pragma once
// The popups a headless run has shown, as (title, text) pairs, to compare whole.

#include <string>
#include <utility>
#include <vector>

#include "platform/ui/headless.h"

namespace scantest {

using Shown = std::vector<std::pair<std::string, std::string>>;

inline Shown Popups(const ui::HeadlessFrontEnd& fe) {
    Shown shown;
    for (const auto& p : fe.Popups())
        shown.emplace_back(p.title, p.text);
    return shown;
}

}  // namespace scantest
