#pragma once
// The device sweep: for every port of "COM__Exist.txt", one probe per tick of the sweep timer
// at 19200, 9600, 4800 and 2400 baud, each with the four frame formats. A probe broadcasts the
// forcing write (station 1, 19200, 8N2), reopens at those fixed settings and reads the model
// code; the first answer ends the sweep and hands the instrument over.

#include "link/port_open.h"
#include "link/port_settings.h"
#include "models/family.h"
#include "scan/scan_context.h"

namespace scan {

inline constexpr const char* kScanDevModule = "M1__Scan_Dev";
inline constexpr int kTagTargetOpen = 5521967;
inline constexpr int kTagProbeOpen = 8902301;
inline constexpr int kTagReopen = 8902302;

// The forcing broadcast and the model code, where every model has them.
inline constexpr int kForceRegister = conf::family::kForceRegister;
inline constexpr int kForceValue = conf::family::kForceValue;
inline constexpr int kMcodeRegister = conf::family::kDevInfoRegister;

// Fixed link settings the broadcast puts the instrument on.
inline constexpr int kFixedBaudIndex = 3;
inline constexpr int kFixedParity = 0;
inline constexpr int kFixedDataBits = 8;
inline constexpr int kFixedStopBits = 2;

// The configurators' conversions: 2400 << index, and frame-format index 0..3 (8N1, 8N2, 8O1,
// 8E1) to the platform's parity code and stop bits.
using conf::fn_BR_to_Baud;
using conf::fn_RTU_to_Parity;
using conf::fn_RTU_to_Stop_Bits;

// Baud-rate index on its page control: 3, 2, 1, 0, then -1 (tail: every rate tried).
namespace BRi {
int HHCC(ScanContext& ctx, int* panel, int* control);
int SV(ScanContext& ctx, int value);
int GV(ScanContext& ctx);
int Set_To_Tail(ScanContext& ctx);
int is_Tail(ScanContext& ctx);
int Increase(ScanContext& ctx);
}  // namespace BRi

// Frame-format index on its page control: 0..3, then -1 (tail: every format tried).
namespace RTUi {
int HHCC(ScanContext& ctx, int* panel, int* control);
int SV(ScanContext& ctx, int value);
int GV(ScanContext& ctx);
int Set_To_Tail(ScanContext& ctx);
int is_Tail(ScanContext& ctx);
int Increase(ScanContext& ctx);
}  // namespace RTUi

// The scan target stream "COM__Exist.txt".
namespace ScanTarget {
// 0, or -1 after the "open file NG" report under the caller's tag.
int Open_R(ScanContext& ctx, int tag);
// The next port number into *port; 0, or -1 (with *port untouched) when none is left.
int RF(ScanContext& ctx, int* port);
// 1 once the stream has nothing more to give (its end, or a line that is not a number).
int is_EOF(ScanContext& ctx);
int Close(ScanContext& ctx);
}  // namespace ScanTarget

// The "Current Using" table: device name, baud rate, parity code, data bits, stop bits.
namespace COM_Para {
int HHCC(ScanContext& ctx, int* panel, int* control);
int Set(ScanContext& ctx, const std::string& name, int baud, int parity, int dataBits,
        int stopBits);
// Dimmed for flag 0, else undimmed.
int Toggle_Dim(ScanContext& ctx, int flag);
}  // namespace COM_Para

// Logical port 222 on "COM<port>": 0, -1 for a setting out of range (popup, port untouched),
// or the serial layer's negative code (the port is then closed). show 1 also fills the
// parameter table with the settings, before the open.
int cf_Port_Dev__Open(ScanContext& ctx, int port, int baudIndex, int parity, int dataBits,
                      int stopBits, int show);
int df_Port_Dev__Close(ScanContext& ctx);

// The forcing write to station 0; nothing answers it. Returns 0.
int fn_Force_Write_ID_BR(ScanContext& ctx);

// 0, or the negative result when "COM__Exist.txt" cannot be opened (nothing else happens).
int ScanDev__to_start(ScanContext& ctx);
int ScanDev__to_stop(ScanContext& ctx);

// Auto Scan: rediscover the ports, start, show "Scanning".
int evStartScan(ScanContext& ctx, int panel, int control, int event, void* data, int data1,
                int data2);
// ESC: stop ticking; the indices stay where they were.
int evESC(ScanContext& ctx, int panel, int control, int event, void* data, int data1, int data2);
// The steps of one probe, in the order the sweep timer takes them.
namespace Sweep {
// When the last combination of the port is done (or none was tried yet): the first combination
// (19200 baud, 8N1) on the next port of the targets, raw TCP gateways passed over. 0 for a port
// to probe; 1 when none is left, after the sweep was ended with "not found".
int Next_Port(ScanContext& ctx);
// Opens the port at the combination the indices show (the parameter table filled) and
// broadcasts the forcing write. 0, or -1 after the open's report, the sweep stopped.
int Force(ScanContext& ctx);
// Reopens the port at the fixed settings for station 1. 0, or -1 after the open's report (the
// sweep goes on and tries the same combination again).
int Reopen(ScanContext& ctx);
// Reads the model code on the reopened port into *mcode and closes it. 0, or the client's
// failure (*mcode untouched).
int Read_Mcode(ScanContext& ctx, unsigned* mcode);
// The next frame format; after the last one, the first format at the next lower rate.
int Next_Combination(ScanContext& ctx);
// The found instrument: logs its model code, records the port and the fixed settings, says
// "found", ends the sweep and starts the model's configurator. 0, or -1 when the settings file
// could not be written (reported, nothing started).
int Hand_Over(ScanContext& ctx, unsigned mcode);
}  // namespace Sweep

// The sweep timer: one probe per tick. 0 for a normal or final step, -1 for a failed one.
int evTTarnel(ScanContext& ctx, int panel, int control, int event, void* data, int data1,
              int data2);
// The COM list: sweep only the chosen port.
int evLST(ScanContext& ctx, int panel, int control, int event, void* data, int data1, int data2);

}  // namespace scan
