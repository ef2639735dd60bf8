#pragma once
// The program's one serial port (logical number 222) and the port settings file
// "COM_Dev_use.txt" that the scanner hands over, with its commented twin for people.

#include "core/context.h"
#include "link/port_open.h"
#include "link/port_settings.h"

namespace conf {

// 0, -1 for a setting out of range (popup, port untouched), or the serial layer's negative
// code when the open itself fails (the port is then closed). `mode` has no effect.
int cf_Port_Dev__Open(Context& ctx, int com, int br, int parity, int dataBits, int stopBits,
                      int mode);
int df_Port_Dev__Close(Context& ctx);
// Writes both settings files, replacing them. A file that cannot be written is left alone.
int mf_Port_Dev__Record(Context& ctx, int com, int br, int parity, int dataBits, int stopBits,
                        unsigned mcode);
// Reopens with the file's COM number and the selectors' baud rate and frame format: 0, -1
// when the settings file cannot be read, -2 when the port cannot be opened. What is wrong with
// the file's COM number is named in the log.
int mf_Port_Dev__Reopen_after_BR_RTU_change(Context& ctx);
// The port menu item: its check mark means the port is open.
int ev_Port(Context& ctx, int menuBar, int item, void* data, int panel);

}  // namespace conf
