#pragma once
// A configurator stage run with one request struck, and run again on the clean line.

#include <functional>
#include <string>

#include "configurator_faults.h"

namespace faulttest {

class StageFaults : public ConfiguratorFaults {
  protected:
    // Strikes request `after` of what `action` sends: the trace it left in `file`, checked for
    // the strike, for the time it took (with what it also logged in `also`), and for the status:
    // `failed` in red with the failed request ending the trace, or `ok` in green (null: not
    // checked here).
    std::string StruckTrace(int after, const char* failed, const char* ok, const char* file,
                            const char* also, const std::function<void()>& action) {
        Arm(after);
        const std::size_t mark = Size(file), alsoMark = also ? Size(also) : 0;
        const double took = Timed(action);
        const std::string trace = Since(file, mark);
        ExpectStruckTrace(trace);
        ExpectWithinTimeouts(took, also ? trace + Since(also, alsoMark) : trace);
        if (Fails() && failed) {
            ExpectStatus(failed, 0xFF0000);
            ExpectTraceEndsWithFailure(trace);
        } else if (!Fails() && ok) {
            ExpectStatus(ok, 0x008000);
        }
        return trace;
    }
    std::string StruckTrace(int after, const char* failed, const char* ok, const char* file,
                            const std::function<void()>& action) {
        return StruckTrace(after, failed, ok, file, nullptr, action);
    }
    // `action` on the clean line: its status green, every request of it answered.
    void ExpectCleanRun(const char* file, const char* status, const std::function<void()>& action) {
        const std::size_t mark = Size(file);
        action();
        ExpectStatus(status, 0x008000);
        ExpectClean(Since(file, mark));
    }
};

}  // namespace faulttest
