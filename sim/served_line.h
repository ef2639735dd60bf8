#pragma once
// The simulator's end of a real line: the master side of a pseudo-terminal, or a serial
// device. Opening one: pty_line.h, tty_line.h.

#include <memory>
#include <string>

#include "platform/serial/line_settings.h"
#include "sim/config.h"

namespace sim {

class ServedLine {
  public:
    virtual ~ServedLine();
    // Non-blocking descriptor: readable when the master has sent something, written with the
    // answers.
    virtual int Fd() const = 0;
    // What the programs open: the pseudo-terminal's slave path, or the device.
    virtual const std::string& Path() const = 0;
    // How far the line can tell the master's settings.
    virtual LineCheck Check() const = 0;
    // The settings the master drives the line with, as far as the line can tell.
    virtual serial::LineSettings MasterSettings() = 0;
    // Puts a real port on the instrument's own settings (a pseudo-terminal keeps the
    // master's). 0, or -1 when the port refuses them.
    virtual int Follow(const serial::LineSettings& own) = 0;
    // True when a hang-up only means that no program has the port open (a pseudo-terminal);
    // false when it means the device is gone.
    virtual bool OutlivesHangUp() const = 0;
};

}  // namespace sim
