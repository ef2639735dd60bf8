#pragma once
// instrument-sim as a child process of a benchmark: its first line of standard output is its
// pseudo-terminal, its standard error carries the request log (--log), which the benchmark
// reads to see what reached the instrument; its other messages are passed on to our standard
// error.

#include <sys/types.h>

#include <string>
#include <vector>

#include "bench/line_tally.h"

namespace bench {

// One request as the instrument took it.
struct LoggedRequest {
    double at = 0.0;      // seconds since the simulator started, when the request began
    Frame request;        // with its CRC
    std::string outcome;  // "answered", "exception (exception 2)", "bad frame", ...
    Frame answer;         // as it went on the line; empty for none
};

// "12.345678 19200 8?2 01 03 1F 00 00 04 47 DD -> answered: 01 03 ..." as a request, its
// outcome and its answer; false for any other line.
bool ParseRequestLogLine(const std::string& line, LoggedRequest* out);

class SimProcess {
  public:
    SimProcess() = default;
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;
    ~SimProcess() { Stop(); }

    // Starts `program` with `args` (which should include --log). 0, or -1 with *error set.
    int Start(const std::string& program, const std::vector<std::string>& args, std::string* error);
    // The first line of its standard output, waiting at most `seconds`; empty when none came.
    std::string FirstLine(double seconds);
    // The requests logged since the last call, oldest first. The instrument logs a request
    // before its answer goes out, so once a client has its answer the request is here.
    std::vector<LoggedRequest> TakeRequests();
    // Ends it with SIGTERM and passes on what it still had to say.
    void Stop();

  private:
    void ReadErrors(std::vector<LoggedRequest>* requests);

    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    std::string partial_;  // an error line not yet ended
};

}  // namespace bench
