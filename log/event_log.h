#pragma once
// The event log: "log.txt" in the working directory, a Big5 byte stream that every run appends
// to. "YN_log_dbg.txt" beside it switches the general lines (logi/logs/logf) and the debug
// lines (dbgi/dbgs/dbgf). When log.txt cannot be opened nothing is written to it; from init on,
// the first failure to open or write it in a run is said once (popup and stderr).

#include <string>

#include "core/context.h"

namespace conf {

inline constexpr const char* kLogFileName = "log.txt";
inline constexpr const char* kLogSwitchFileName = "YN_log_dbg.txt";
namespace Log {

// Reads the switches from the start of the switch file (a missing or malformed one, or
// anything but a regular file, turns both off), opens the log for appending and writes the
// run's header. Returns 0.
int init(Context& ctx);
// Opens the log emptied ("w"). Returns 0.
int Create(Context& ctx);
// Returns 0.
int Close(Context& ctx);
// Opens the log for appending, closing the stream first if it is open. Returns 0.
int Append(Context& ctx);
// Empties the log: Close, then Create. Returns 0.
int Clear(Context& ctx);
}  // namespace Log

// Writers: one printf format (which carries its own line end) and one argument. They return
// 0 when the switch is on (and the line went to the log, if it is open) and 1 when it is off.
int logi(Context& ctx, const char* format, int value);
int logs(Context& ctx, const char* format, const std::string& value);
int logf(Context& ctx, const char* format, double value);
int dbgi(Context& ctx, const char* format, int value);
int dbgs(Context& ctx, const char* format, const std::string& value);
int dbgf(Context& ctx, const char* format, double value);

// Writes bytes to the log whatever the switches say (headers and error reports). Returns
// the bytes written, or -1 when the log is not open.
int LogWriteAlways(Context& ctx, const std::string& bytes);

}  // namespace conf
