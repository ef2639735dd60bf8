#pragma once
// Reports of a file or serial port that would not open: to the log (whatever the switches)
// and to the user.

#include <string>

#include "core/context.h"

namespace conf {

// Big5 for "★★★", the mark of an error line in the log.
inline constexpr const char* kLogErrorMark = "\xA1\xB9\xA1\xB9\xA1\xB9";

// The two log lines of an error report: "<mark> <title> \n" and "<mark> <text> \n\n".
void WriteErrorReport(sys::LogStream& log, const std::string& title, const std::string& text);
// One log line naming a file and what is wrong with it: "<mark> <fileName> :: <problem> \n\n".
void WriteFileProblem(sys::LogStream& log, const std::string& fileName, const std::string& problem);

// Title of the popup that says the event log cannot be used.
inline constexpr const char* kLogFailureTitle = "Event log";
// "Cannot create log file <path>: <error text>" (the open failed) or "Cannot write log file
// <path>: <error text>"; a relative path is shown from the working directory.
std::string LogFailureText(sys::LogStream::Failure what, const std::string& path, int error);
// Has `log` say its first failure of the run in a popup and on stderr; later ones are not
// said (the program works on without its log).
void SayLogFailureOnce(sys::LogStream& log, ui::Runtime& ui);
namespace Log {

// Shows a popup titled "<source> :: <code>" saying "open file NG :: <fileName>" and logs both
// lines. Returns 0.
int err_Open_File(Context& ctx, const std::string& source, int code, const std::string& fileName);
// The same for a file that was created but could not be written in full (a full disk):
// "write file NG :: <fileName>". Returns 0.
int err_Write_File(Context& ctx, const std::string& source, int code, const std::string& fileName);
// Logs "<source> :: <code>" and "Open COM NG :: err code : <error>" and shows the second on
// the status line in red; no popup, so a port scan is not interrupted. Returns 0.
int err_Open_COM(Context& ctx, const std::string& source, int code, int error);
}  // namespace Log

}  // namespace conf
