#pragma once
// The state of one program's link to its instrument, owned by the program: which port, which
// station, how long an answer may take. The core reads it at every call and changes nothing
// in it.

namespace serial {
class Rs232;
}

namespace conf {

// The fixed logical number of a program's one serial port (it shows in the trace as P222).
inline constexpr int kPort222 = 222;
// How long an answer may take once the request is out, the network included.
inline constexpr double kAnswerTimeout = 0.5;

struct LinkSession {
    serial::Rs232* com = nullptr;  // not owned; null acts as a port that cannot be flushed
    int port = kPort222;
    int station = 0;                  // byte 0 of every request the register access builds
    double timeout = kAnswerTimeout;  // set on the port at every open
    // The adapter hears its own transmission: every request comes back ahead of its answer
    // and is read and compared before the answer is read.
    bool echo = false;
};

}  // namespace conf
