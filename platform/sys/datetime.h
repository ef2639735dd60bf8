#pragma once
// Dates and times as the programs print them in controls, reports and file names.

#include <string>

#include "platform/sys/clock.h"

namespace sys {

// "MM-DD-YYYY", every field zero-padded: {2013, 5, 28, ...} gives "05-28-2013".
std::string DateStr(const DateTime& t);
// "HH:MM:SS" on the 24-hour clock, every field zero-padded.
std::string TimeStr(const DateTime& t);

}  // namespace sys
