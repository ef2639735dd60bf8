#pragma once
// The user-interface language: the Language menu's three items, "Language_Selection.txt"
// that keeps the choice between runs, the panel's character set and the relabelling of every
// text Scan shows.

#include "scan/scan_context.h"

namespace scan {

inline constexpr const char* kLanguageFileName = "Language_Selection.txt";

namespace LangS {
// *menuBar = the main panel's menu bar, items[0..2] = English, Traditional, Simplified.
int HHCC(ScanContext& ctx, int* menuBar, int items[3]);
// Checks the item of language index (0-2), unchecks the others and sets gvLANG. An index
// outside 0-2 is taken as 0 (English). Returns 0.
int SV(ScanContext& ctx, int index);
int GV(ScanContext& ctx);
// The language of a clicked menu item, through SV; another item changes nothing. Returns 0.
int Click(ScanContext& ctx, int item);
// Writes gvLANG to the language file ("%d", no line end). 0, or -1 when it cannot be written.
int WF(ScanContext& ctx);
// Reads the start of the language file, creating it holding 0 when it is missing, and applies
// it with SV; anything but a regular file is left alone and means English. Returns 0.
int RF(ScanContext& ctx);
// The main panel's character set for gvLANG: native, Big5 or GB2312. Returns 0.
int Char_Set(ScanContext& ctx);
// Relabels the status line, the menus and the scan page in the current language. Returns 0.
int Refresh(ScanContext& ctx);
}  // namespace LangS

// The status line: shows message `id` in the current language, coloured by id (731 blue,
// 732 dark green, 733 red, others black), and keeps the id in the status-id control.
// An id outside the language table shows an empty line. Returns 0.
int fn_1_Status_Msg(ScanContext& ctx, int id);

// Status message ids.
inline constexpr int kStatusPressAutoScan = 730;
inline constexpr int kStatusScanning = 731;
inline constexpr int kStatusFound = 732;
inline constexpr int kStatusNotFound = 733;
inline constexpr int kStatusStopped = 734;

namespace StatusID {
int init(ScanContext& ctx, int* panel, int* control);
int SV(ScanContext& ctx, int id);
int GV(ScanContext& ctx);
}  // namespace StatusID

}  // namespace scan
