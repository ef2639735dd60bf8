#pragma once
// The hand-over: the found instrument's port, the fixed link settings and its model code go
// to "COM_Dev_use.txt" (and its commented twin), and the configurator of its hardware code is
// started by name. The configurator learns everything from that file.

#include "scan/scan_context.h"

namespace scan {

inline constexpr const char* kComDevUse = "COM_Dev_use.txt";
inline constexpr const char* kComDevUseComment = "COM_Dev_use_COMMENT.txt";
inline constexpr int kTagDistribute = 591475;

// Both settings files, replaced: 0, or -1 when either cannot be written in full.
int mf_Port_Dev__Record(ScanContext& ctx, int port, int baudIndex, int parity, int dataBits,
                        int stopBits, unsigned mcode);

// Reads "COM_Dev_use.txt" and starts the configurator of its model code after G1__exit.
// 0, or -1 (report, nothing started) when the file cannot be opened. An unknown hardware
// code gives a popup and leaves Scan running.
int fn_Distribute(ScanContext& ctx);

}  // namespace scan
