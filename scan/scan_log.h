#pragma once
// Scan's event log: the configurators' "log.txt" and writers, with Scan's own rules. The log
// is created empty at every start; the switches of "YN_log_dbg.txt" are kept as read, and a
// writer is on when its switch is not 0, except logi, which wants exactly 1. Error reports
// show a popup and write their two lines whatever the switches say.

#include <string>

#include "scan/scan_context.h"

namespace scan {

inline constexpr const char* kLogFileName = "log.txt";
inline constexpr const char* kLogSwitchFileName = "YN_log_dbg.txt";

namespace Log {
// Reads the two switches from the start of the switch file (0 for a missing file, one that
// is not a regular file, or a number that is not there). It neither opens the log nor writes
// to it; from here on the first failure to create or write the log is said once (popup and
// stderr). Returns 0.
int init(ScanContext& ctx);
// Opens "log.txt" emptied. Returns 0.
int Create(ScanContext& ctx);
// Returns 0.
int Close(ScanContext& ctx);
// Reopens "log.txt" for appending. Returns 0.
int Append(ScanContext& ctx);
// Close, then Create. Returns 0.
int Clear(ScanContext& ctx);
// Closes the log, opens <working directory>/log.txt in the editor, reopens the log for
// appending. A failed start is written to the log. Returns 0.
int Launch(ScanContext& ctx);
}  // namespace Log

// One format (which carries the line end) and one argument; 0 when written, 1 when the
// switch is off.
int dbgi(ScanContext& ctx, const char* format, int value);
int dbgf(ScanContext& ctx, const char* format, double value);
int dbgs(ScanContext& ctx, const char* format, const std::string& value);
int logi(ScanContext& ctx, const char* format, int value);
int logs(ScanContext& ctx, const char* format, const std::string& value);
int logf(ScanContext& ctx, const char* format, double value);
// Bytes to the log whatever the switches say. Returns the bytes written or -1.
int LogWriteAlways(ScanContext& ctx, const std::string& bytes);

// Popup titled "<module> :: <tag>" with "open file NG :: <fileName>", and both to the log.
int fn_err_Open_File(ScanContext& ctx, const std::string& module, int tag,
                     const std::string& fileName);
// The same with "Open COM NG :: err code : <code>".
int fn_err_Open_COM(ScanContext& ctx, const std::string& module, int tag, int code);

}  // namespace scan
