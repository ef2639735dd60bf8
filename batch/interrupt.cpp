#include "batch/interrupt.h"

namespace batch {

namespace {

// A signal handler can reach nothing but a flag of static storage.
volatile std::sig_atomic_t gStop = 0;

void OnInterrupt(int) {
    gStop = 1;
}

}  // namespace

const volatile std::sig_atomic_t* InstallInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // The transaction under way finishes; the link refuses the next one (see Context::stop).
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    return &gStop;
}

}  // namespace batch
