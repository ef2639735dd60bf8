#pragma once
// The serial calls the programs make, under logical port numbers 1..1000 as in their
// settings files. A port is opened on a device name, either "COM<n>" (mapped through the
// comports folder, see com_map.h) or an absolute device path.

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/serial/com_map.h"
#include "platform/serial/port.h"
#include "platform/serial/port_config.h"

namespace serial {

inline constexpr int kMinLogicalPort = 1;
inline constexpr int kMaxLogicalPort = 1000;
inline constexpr double kDefaultComTimeout = 10.0;

// Every call returns 0 (or a byte count) on success and a negative serial error code on
// failure; a port number outside 1..1000 gives kErrBadPort, one not open gives kErrNotOpen.
// The backend is not owned and must outlive this object. Not thread-safe.
class Rs232 {
  public:
    Rs232(Backend& backend, ComMapEnv env);

    // Opens deviceName ("COM5", "com5", "\\.\COM12" or "/dev/...") with the line settings
    // (parity 0 none, 1 odd, 2 even, 3 mark, 4 space). A port already open under that number
    // is closed first, even if the new open then fails. Unmapped names give kErrNotMapped.
    // The read time-out starts at kDefaultComTimeout. A COM name brings the settings of its
    // COM<n>.conf (com_map.h), read at every open.
    int OpenComConfig(int port, const std::string& deviceName, long baud, int parity, int dataBits,
                      int stopBits);
    int CloseCom(int port);
    // Read time-out in seconds for ComRd; 0 returns at once with what has arrived. Negative
    // gives kErrArgument.
    int SetComTime(int port, double seconds);
    // The read time-out now in force.
    int GetComTime(int port, double* seconds);
    int FlushInQ(int port);
    int FlushOutQ(int port);
    // Returns n or a negative code.
    int ComWrt(int port, const std::uint8_t* data, int n);
    // Returns n bytes, fewer when the time-out runs out, or a negative code.
    int ComRd(int port, std::uint8_t* data, int n);

    // The device path a name ("COM5", "/dev/ttyUSB0") opens, as OpenComConfig finds it; empty
    // for a name mapped to nothing.
    std::string PathOfName(const std::string& deviceName) const;

    // The settings of the open port's COM<n>.conf; the defaults for a port not open or opened
    // by its path.
    PortConfig Config(int port) const;
    // What that file said that was ignored, one line each, for the open's record.
    std::vector<std::string> ConfigNotes(int port) const;

    bool IsOpen(int port) const;
    // The device the port was opened on; empty when it is not open.
    std::string DevicePath(int port) const;
    // What went wrong last, for the technician: the device name and path, the system's
    // error text. Empty until something fails; not cleared by later successes.
    const std::string& LastErrorDetail() const { return detail_; }
    // The backend's notes of the last OpenComConfig, failed or not (see Backend).
    const std::vector<OpenNote>& LastOpenNotes() const { return notes_; }
    // True the first time this object is given a text, false after: a note that a sweep's
    // many opens repeat is shown to the user once.
    bool FirstTimeSaid(const std::string& text) { return said_.insert(text).second; }

  private:
    struct OpenPort {
        std::unique_ptr<Port> port;
        std::string path;
        double timeout = kDefaultComTimeout;
        PortConfig config;
        std::vector<std::string> notes;
    };

    // The open port for a number, or null with *code set to kErrBadPort / kErrNotOpen.
    OpenPort* Find(int port, int* code);
    int Fail(int code, const std::string& detail);

    Backend& backend_;
    ComMapEnv env_;
    std::map<int, OpenPort> ports_;
    std::string detail_;
    std::vector<OpenNote> notes_;
    std::set<std::string> said_;
};

}  // namespace serial
