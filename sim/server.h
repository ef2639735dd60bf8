#pragma once
// The simulated instrument on a real line, in real time: requests are cut from the byte
// stream by their lengths and by the silence between frames, answers go out at their times.

#include <functional>
#include <string>

#include "platform/sys/clock.h"
#include "sim/instrument.h"
#include "sim/served_line.h"

namespace sim {

struct ServeHooks {
    // A descriptor of outside events (signals); when it is readable onEvent runs, and its
    // false ends the serving.
    int eventFd = -1;
    std::function<bool()> onEvent;
    // Every request, once the instrument has taken it.
    std::function<void(const LogEntry&)> onRequest;
};

inline constexpr int kServeStopped = 0;
inline constexpr int kServeVanished = 1;

// Serves until onEvent asks to stop (kServeStopped) or a vanish fault strikes
// (kServeVanished); -1 with the reason in *error when the line fails. The clock must be a
// real one, the one the instrument's times are on. A master that hangs up is waited for: the
// line is polled again after a short pause.
int Serve(ServedLine& line, Instrument& instrument, sys::Clock& clock, const ServeHooks& hooks,
          std::string* error);

}  // namespace sim
