#pragma once
// Hourly process-value records in "../PV Record": one file per clock hour, named by the model
// ("Tarnel_PV_2013-05-28_09.txt"), a title line, then "hh:mm:ss<TAB><display text><TAB>" a
// line. Each record opens and closes its file, so it is on disk when the poll returns.

#include <string>

#include "core/context.h"

namespace conf {

inline constexpr const char* kPvRecordDir = "../PV Record";
inline constexpr const char* kPvRecordTitle = "TIME\tPV\t\n";
// Status text of a record that could not be written (red).
inline constexpr const char* kMsgRecordNg = "PV record NG";

// Appends the PV display's text with the time of day to this hour's file. 0, or -1 when the
// folder or file cannot be made or written; the first failure of a run of failures is said in
// the log and on the status line, later ones quietly, until a record succeeds again.
int PV_Record(Context& ctx);
// The same, stamped `at` (the moment the poll began) and filed in the hour of `at`.
int PV_Record(Context& ctx, const sys::DateTime& at);
// Creates the file (emptied) with its title line. 0, or -1.
int Make_Record_print_title(const std::string& path);
// "hh:mm:ss" of the local clock, or of `at`.
std::string Make_TIME_string(Context& ctx);
std::string Make_TIME_string(const sys::DateTime& at);
// The record file of the hour the local clock is in, or `at` is in.
std::string fn_PV_Record_Name(Context& ctx);
std::string fn_PV_Record_Name(Context& ctx, const sys::DateTime& at);

// The recording menu item: its check mark turned over. Returns 0.
int Enable_PV_logs_F(Context& ctx, int menuBar, int item, void* data, int panel);
// The open-folder menu item: the record folder (made when missing) in the desktop's file
// manager. 0, or negative when the folder cannot be made or the opener not started (said in
// the log and on the status line).
int Open_PV_logs_F(Context& ctx, int menuBar, int item, void* data, int panel);

// Whether the recording item is checked.
bool fn_PV_Recording(Context& ctx);

}  // namespace conf
