#pragma once
// Opening the program's one port at given line settings, with the open record every program
// leaves in its log, and the line-setting codes the settings file and the instrument share.

#include <string>

#include "link/link_observer.h"
#include "link/session.h"

namespace conf {

// Baud-rate index (0..3) to bit/s: 2400 << br.
int fn_BR_to_Baud(int br);
// Frame-format index (0..3) to parity and stop bits, 8 data bits always.
int fn_RTU_to_Parity(int rtu);
int fn_RTU_to_Stop_Bits(int rtu);
// The baud-rate index, parity, data and stop bits of an open checked, each refusal in its
// popup. 0, or -1.
int fn_Check_Line_Settings(LinkObserver& observer, int br, int parity, int dataBits, int stopBits);

// Opens the session's port on "COM<com>" with settings already checked and sets the answer
// time-out. The record goes to the observer: "Open COM ( P222,   COM5, 19200, 0, 8, 2 ) \t",
// then "Set Com Time (s) : 0.500000" or, on failure, "open NG :: " with what a technician can
// act on, each ended with `recordEnd`. The port's notes of the open follow, one record each
// ("COM5 :: <note>" + recordEnd); an urgent one is also shown in a popup titled "Open COM5" (after
// an open that went through, once per run). After a good open, a record for each line of the
// port's COM<n>.conf that was ignored and "COM5: echo=on, ..." when the adapter echoes. 0, or the
// serial layer's negative code (the port is then closed); a time-out the port refuses is shown
// ("1929") and the open goes on.
int OpenLine(const LinkSession& session, LinkObserver& observer, int com, int br, int parity,
             int dataBits, int stopBits, const std::string& recordEnd);

}  // namespace conf
