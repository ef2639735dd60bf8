#pragma once
// termios helpers of the simulator's real lines.

#include <termios.h>

#include "platform/serial/line_settings.h"

namespace sim {

// Raw, no flow control, the speed and format of settings. False for a speed termios lacks.
bool MakeRaw(const serial::LineSettings& settings, termios* tio);
// The baud rate termios reports, 0 for one outside the line's list.
int BaudOf(const termios& tio);

}  // namespace sim
