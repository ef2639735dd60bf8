#pragma once
// An open serial line and the backend that opens one. The real backend drives a tty through
// termios; the in-process one connects to a simulated device for tests and the simulator.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/serial/line_settings.h"

namespace serial {

// Something a technician should know of an open beyond its result: who else holds the
// device, whose group it is, an adapter that delays its answers.
struct OpenNote {
    std::string text;     // one sentence, naming the device and what to do
    bool urgent = false;  // shown in a message box as well as logged
};

// Closing is destroying: the destructor releases the device and its lock.
class Port {
  public:
    virtual ~Port();
    // Queues all n bytes for sending. Returns n, or a negative code (kErrIo when the device
    // has gone). n == 0 returns 0.
    virtual int Write(const std::uint8_t* data, int n) = 0;
    // Returns as soon as n bytes are in, or with fewer (possibly 0) when timeoutSeconds runs
    // out; negative on error. Bytes already taken when an error strikes are returned and the
    // error is reported by the next call.
    virtual int Read(std::uint8_t* data, int n, double timeoutSeconds) = 0;
    // Discards bytes received but not yet read.
    virtual int FlushInput() = 0;
    // Discards bytes queued but not yet sent.
    virtual int FlushOutput() = 0;
    virtual const LineSettings& Settings() const = 0;
};

class Backend {
  public:
    virtual ~Backend();
    // Opens devicePath with the given settings. On success returns 0 and stores the port in
    // *out (the caller owns it); on failure returns a negative code and leaves *out unchanged.
    virtual int Open(const std::string& devicePath, const LineSettings& settings,
                     std::unique_ptr<Port>* out) = 0;
    // Why the last Open failed, in words (system error text, device path); may be empty.
    virtual std::string LastOpenDetail() const { return {}; }
    // The notes of the last Open, whether it failed or not; empty when there is nothing to say.
    virtual std::vector<OpenNote> LastOpenNotes() const { return {}; }
};

}  // namespace serial
