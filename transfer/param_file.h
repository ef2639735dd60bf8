#pragma once
// Parameter files: the configuration shown on the pages saved as text and loaded back onto
// the pages (nothing goes to the instrument until write-all). The files live in
// "ParameterFile" beside the working directory (bin); the first line names the model code of
// the instrument the set was saved from, and a set loads only onto that model.
//
// File format, one record a line, each "%04x\t%d\n" (address, then a signed decimal value):
//   1f00  <model code>            header
//   0000  <raw value of TYPE>     one line per parameter of the model's file plan, e.g. the
//   ...                           configuration block in register order, 29 or 31 lines by
//                                 firmware version
//   ffff  0                       terminator, where the model's files have one

#include <cstdio>
#include <string>

#include "core/context.h"

namespace conf {

inline constexpr const char* kParamFileDir = "ParameterFile";
inline constexpr int kParamFileEnd = 0xFFFF;

// Results besides 0.
inline constexpr int kParamFileCancelled = -1;  // the dialog was cancelled
inline constexpr int kParamFileFailed = -2;     // folder or file could not be made, read or written

// Status texts of a refused or failed file.
inline constexpr const char* kMsgFileFormat = "File format error";
inline constexpr const char* kMsgFileHw = "HW not match";
inline constexpr const char* kMsgFileFolder = "Cannot open folder ParameterFile";
inline constexpr const char* kMsgFileNotSaved = "Parameter file not saved";
inline constexpr const char* kMsgFileNotRead = "Parameter file not read";

// The save menu item: the result of the save.
int evParaToFile(Context& ctx, int menuBar, int item, void* data, int panel);
// The load menu item: the load, then the range check whatever the load gave, so loaded
// out-of-range values show red. The result of the load.
int evParaFrFile(Context& ctx, int menuBar, int item, void* data, int panel);
namespace Para_To_FILE {

// Save dialog proposing the default name in ParameterFile, then the file at the chosen path.
// 0 when saved, kParamFileCancelled, or kParamFileFailed (reported; an incomplete file is
// removed). The working directory is the one it was on every way out.
int w_Parameter(Context& ctx);
// "YYYYMMDD_hhmmss_Tarnel.txt" of the local clock (the model's name format).
std::string Date_Time_str(Context& ctx);
}  // namespace Para_To_FILE
// One line: the address in four lower-case hex digits and a tab, the value and a line feed.
// The characters written, negative on a write error.
int fn_Parameter_W_File(std::FILE* file, int address, int value);
namespace Para_Fr_FILE {

// Load dialog in ParameterFile, then the chosen file onto the pages. The whole file is checked
// before anything is applied: a wrong header ("File format error"), a foreign model code or no
// instrument ("HW not match"), a line that is not an address and a value or a value that no
// control can hold ("File format error", the line named in the log) leaves the pages as they
// were. Unknown addresses are skipped; without terminator the
// file is read to its end. 0 when a file was read (also when refused), kParamFileCancelled,
// or kParamFileFailed (reported). The working directory is the one it was on every way out.
int Load(Context& ctx);
}  // namespace Para_Fr_FILE

}  // namespace conf
