#pragma once
// Scan without a window: Auto Scan's sweep over every port of the list (or one port), the
// instrument forced and both settings files written as Auto Scan does, one line on stdout
// with the settings it was found at, and no configurator started.

#include <csignal>

#include "batch/batch_options.h"

namespace batch {

// Runs a Find action. Returns the exit status (kExit*); each failure is one line on stderr.
int RunScanBatch(const Options& options, const volatile std::sig_atomic_t* stop);

// "COM5 9600 8E1 station 1 model 0x6802 Tarnel": the found line without its line end.
std::string FoundLine(int com, int baudIndex, int frameIndex, unsigned mcode,
                      const std::string& program);

}  // namespace batch
