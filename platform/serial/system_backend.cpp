#include "platform/serial/system_backend.h"

#include <chrono>
#include <thread>

#include "platform/serial/net_address.h"
#include "platform/serial/rfc2217_port.h"
#include "platform/serial/serial_error.h"
#include "platform/serial/tcp_port.h"

namespace serial {

int SystemBackend::Open(const std::string& devicePath, const LineSettings& settings,
                        std::unique_ptr<Port>* out) {
    detail_.clear();
    notes_.clear();
    NetAddress address;
    if (!NetAddressOfDevice(devicePath, &address)) {
        int rc = termios_.Open(devicePath, settings, out);
        if (rc < 0) detail_ = termios_.LastOpenDetail();
        notes_ = termios_.LastOpenNotes();
        return rc;
    }
    if (CheckLineSettings(settings) != 0) {
        detail_ = address.url + ": unsupported line settings";
        return kErrSettings;
    }
    const double until = SteadySeconds() + timeouts_.busyRetry;
    for (;;) {
        detail_.clear();
        int rc = address.transport == Transport::kRfc2217
                     ? OpenRfc2217Port(address, settings, timeouts_, out, &detail_)
                     : OpenTcpPort(address, settings, timeouts_, out, &detail_);
        if (rc != kErrBusy || SteadySeconds() >= until) return rc;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

}  // namespace serial
