#pragma once
// Write-all: the parameter set on the pages into the connected instrument. Nothing goes out
// while any value is out of range. The link settings go first, each followed by the
// configurator's own link, so the rest reaches the instrument at its new station and speed;
// the other parameters go through the model's buffer files ("W_para_buff.txt"), each line with
// the access code of the model's plan (RAM, the last to EEPROM). Where the model says so, a
// failed write is followed by a read-all.

#include <cstdio>
#include <string>

#include "core/context.h"
#include "params/locator.h"

namespace conf {

struct BufferFile;

inline constexpr const char* kWriteBufferFile = "W_para_buff.txt";
namespace Para_To_Dev {

// The whole write: device check, range check, the writes. 0 ("Write OK"); the negative
// result of the device check; minus the number of out-of-range values ("Out of Range",
// nothing written); or, after a failed write and the read-all that follows it (whose status
// is the last shown), the read's failure or else the write's. Left in gr as well.
int onClick(Context& ctx);
// The writes: link settings, buffer file, its replay. 0, or the negative result of the
// failing step ("Write NG" for a failed register write; -1 with the popup "open file NG" for a
// buffer file that cannot be created or read back, "write file NG" for one that was created
// but did not take the list).
int w_Parameter(Context& ctx);
}  // namespace Para_To_Dev
// One buffer line: "%04x\t%8d\t%s\n". 0, or -1 when the line could not be written.
int fn_W_Para_Buffer(std::FILE* file, int address, int value, const std::string& name);
namespace Para_To_Dev {

// The Write button of the main panel.
int init(Context& ctx, Locator* loc);
int SA_i32(Context& ctx, int attribute, int value);
int Toggle_Dim(Context& ctx, int dim);
}  // namespace Para_To_Dev

namespace Para_To_Dev {

// Sends a buffer file as read back from f, line by line, each with the access code of the
// model's plan for its address: what w_Parameter does after writing the file. 0, or the
// negative result of the failing write ("Write NG"); a line that does not read back, or a
// read error, is a failure too.
int Replay_Buffer(Context& ctx, const BufferFile& buffer, std::FILE* f);
}  // namespace Para_To_Dev

// The Write button: commit writes all; Enter moves the focus on. Returns 0.
int evWrite(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
// The write-to-device menu item: the result of the write.
int evParaToDev(Context& ctx, int menuBar, int item, void* data, int panel);

}  // namespace conf
