#pragma once
// A serial device served by the simulator (a USB adapter wired to another computer).

#include <memory>
#include <string>

#include "sim/served_line.h"

namespace sim {

// Opens the device raw at the instrument's settings and locks it against other programs. The
// port follows the instrument's own settings when they change. 0, or -1 with the reason in
// *error.
int OpenSerialDevice(const std::string& path, const serial::LineSettings& settings,
                     std::unique_ptr<ServedLine>* out, std::string* error);

}  // namespace sim
