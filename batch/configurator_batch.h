#pragma once
// A configurator without a window: the window's own start-up (link start and recovery,
// read-all), then one of its procedures (save, load and write, watch), on a front end that
// writes to the terminal instead of a screen.

#include <csignal>

#include "batch/batch_options.h"

namespace conf {
struct Model;
}

namespace batch {

// Runs `options` (a Save, LoadWrite or Watch action) for `model`. `stop` is set by the
// Ctrl+C handler. Returns the exit status (kExit*); each failure is one line on stderr.
int RunConfiguratorBatch(const Options& options, const conf::Model& model,
                         const volatile std::sig_atomic_t* stop);

}  // namespace batch
