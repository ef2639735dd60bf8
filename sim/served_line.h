#pragma once
// The simulator's end of a real line: the master side of a pseudo-terminal, a serial device,
// or a network port that stands for a serial device server. Opening one: pty_line.h,
// tty_line.h, net_line.h.

#include <memory>
#include <string>
#include <vector>

#include "platform/serial/line_settings.h"
#include "sim/config.h"
#include "sim/frame.h"

namespace sim {

// What the line asks besides data: drop the request bytes not yet taken, the answer bytes not
// yet sent.
inline constexpr int kPurgeInput = 1;
inline constexpr int kPurgeOutput = 2;

// A piece of what the master sent, in order: its bytes at the settings they came at, then
// what it asked of the line (kPurge* bits).
struct LineInput {
    serial::LineSettings settings;
    Bytes data;
    int purge = 0;
};

// Receive's result when nobody holds the other end (see OutlivesHangUp).
inline constexpr int kLineHungUp = 1;

class ServedLine {
  public:
    virtual ~ServedLine();
    // Non-blocking descriptor: readable when the line has something for Receive.
    virtual int Fd() const = 0;
    // What the programs open: the pseudo-terminal's slave path, the device, or the address.
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

    // Takes what the master has sent, given the events poll reported on Fd(): appends to *in.
    // 0 (perhaps with nothing), kLineHungUp, or -1 with the reason in *error. This one reads
    // Fd() as one piece at MasterSettings().
    virtual int Receive(short events, std::vector<LineInput>* in, std::string* error);
    // Sends answer bytes; what the line cannot take now is lost, as on a wire nobody reads.
    virtual void Send(const Bytes& bytes);
    // Seconds the line adds between the instrument and the master (a network's delay).
    virtual double Latency() const { return 0.0; }
    // Drops the master's connection at once, where the line has one.
    virtual void Reset() {}
    // Where the line can (a device server on the network): stops passing anything either way
    // until the master's connection ends, the connection staying open.
    virtual void Stall() {}
    // Stops passing anything on every connection, or lets everything pass again.
    virtual void SetStalled(bool) {}
    virtual bool Stalled() const { return false; }
};

}  // namespace sim
