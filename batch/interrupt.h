#pragma once
// Ctrl+C and SIGTERM in a run without a window: the run ends between two steps, with the port
// closed and no file half written, instead of dying where it stands.

#include <csignal>

namespace batch {

// Installs the handler once; returns the flag it sets.
const volatile std::sig_atomic_t* InstallInterruptHandler();

}  // namespace batch
