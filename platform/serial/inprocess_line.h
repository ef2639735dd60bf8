#pragma once
// A serial line to a device object inside this process: exact, clock-driven tests of the
// layers above and the instrument simulator. Time is whatever the given sys::Clock says; on a
// sys::VirtualClock nothing ever sleeps, on a sys::SystemClock the line runs in real time.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/serial/port.h"
#include "platform/sys/clock.h"

namespace serial {

// The far end of the line.
class LineDevice {
  public:
    virtual ~LineDevice();
    // The master wrote these bytes, with its line settings, starting at time now (seconds of
    // the clock). One call per Write.
    virtual void Receive(const LineSettings& master, const std::vector<std::uint8_t>& bytes,
                         double now) = 0;
    // The device's next byte on the line and the time at which it has fully arrived; the port
    // takes them in order. False when no byte has arrived by upTo (the byte stays queued).
    virtual bool NextByte(double upTo, std::uint8_t* byte, double* at) = 0;
    // False once the device has vanished (a pulled adapter).
    virtual bool Present() const { return true; }
};

struct InProcessLines;  // the attached devices and open paths, shared with the ports

// Devices are attached by path and are not owned; a device must stay alive while attached.
// Open of an unknown path, or of a device that is not Present, gives kErrNoDevice; Open of a
// path already open gives kErrBusy until that port is destroyed; unsupported settings give
// kErrSettings. Ports may outlive the backend, not the clock. A port whose device is detached or no
// longer Present fails every call with kErrIo. Write hands the bytes to the device at clock.Now()
// and then advances the clock by their wire time. Read takes bytes as they arrive, moving the clock
// to each arrival; on time-out the clock ends at the deadline. Single-threaded: the backend, its
// ports and devices share no lock.
class InProcessBackend final : public Backend {
  public:
    explicit InProcessBackend(sys::Clock& clock);
    void Attach(const std::string& path, LineDevice* device);
    void Detach(const std::string& path);
    // Every later Open of path says note, as a real device may (no permission, another program
    // on it): with a negative code the open fails with that code, with 0 it goes on as usual.
    void SayOnOpen(const std::string& path, int code, const OpenNote& note);

    int Open(const std::string& devicePath, const LineSettings& settings,
             std::unique_ptr<Port>* out) override;
    std::vector<OpenNote> LastOpenNotes() const override { return notes_; }

  private:
    struct Saying {
        int code;
        OpenNote note;
    };
    sys::Clock& clock_;
    std::map<std::string, Saying> sayings_;
    std::vector<OpenNote> notes_;
    std::shared_ptr<InProcessLines> lines_;
};

}  // namespace serial
