#include "platform/serial/inprocess_line.h"

#include <algorithm>
#include <map>
#include <set>

#include "platform/serial/serial_error.h"

namespace serial {

LineDevice::~LineDevice() = default;

struct InProcessLines {
    std::map<std::string, LineDevice*> devices;
    std::set<std::string> open;
};

namespace {

class InProcessPort final : public Port {
  public:
    InProcessPort(sys::Clock& clock, std::shared_ptr<InProcessLines> lines, std::string path,
                  LineDevice* device, const LineSettings& settings)
        : clock_(clock),
          lines_(std::move(lines)),
          path_(std::move(path)),
          device_(device),
          settings_(settings) {}
    ~InProcessPort() override { lines_->open.erase(path_); }

    int Write(const std::uint8_t* data, int n) override;
    int Read(std::uint8_t* data, int n, double timeoutSeconds) override;
    int FlushInput() override;
    int FlushOutput() override { return Reachable() ? 0 : kErrIo; }
    const LineSettings& Settings() const override { return settings_; }

  private:
    // Still attached under our path (so the pointer is alive) and still there.
    bool Reachable() const {
        auto it = lines_->devices.find(path_);
        return it != lines_->devices.end() && it->second == device_ && device_->Present();
    }

    sys::Clock& clock_;
    std::shared_ptr<InProcessLines> lines_;
    std::string path_;
    LineDevice* device_;
    LineSettings settings_;
};

int InProcessPort::Write(const std::uint8_t* data, int n) {
    if (n < 0 || (n > 0 && data == nullptr)) return kErrArgument;
    if (!Reachable()) return kErrIo;
    if (n == 0) return 0;
    device_->Receive(settings_, std::vector<std::uint8_t>(data, data + n), clock_.Now());
    clock_.Delay(WireTime(settings_, n));
    return n;
}

int InProcessPort::Read(std::uint8_t* data, int n, double timeoutSeconds) {
    if (n < 0 || (n > 0 && data == nullptr)) return kErrArgument;
    if (!Reachable()) return kErrIo;
    const double deadline = clock_.Now() + std::max(timeoutSeconds, 0.0);
    int got = 0;
    while (got < n) {
        if (!Reachable()) return got > 0 ? got : kErrIo;
        std::uint8_t byte = 0;
        double at = 0.0;
        if (!device_->NextByte(deadline, &byte, &at)) {
            double left = deadline - clock_.Now();
            if (left > 0.0) clock_.Delay(left);
            break;
        }
        double wait = at - clock_.Now();
        if (wait > 0.0) clock_.Delay(wait);
        data[got++] = byte;
    }
    return got;
}

int InProcessPort::FlushInput() {
    if (!Reachable()) return kErrIo;
    const double now = clock_.Now();
    std::uint8_t byte = 0;
    double at = 0.0;
    while (device_->NextByte(now, &byte, &at)) {
    }
    return 0;
}

}  // namespace

InProcessBackend::InProcessBackend(sys::Clock& clock)
    : clock_(clock), lines_(std::make_shared<InProcessLines>()) {}

void InProcessBackend::Attach(const std::string& path, LineDevice* device) {
    lines_->devices[path] = device;
}

void InProcessBackend::Detach(const std::string& path) {
    lines_->devices.erase(path);
}

void InProcessBackend::SayOnOpen(const std::string& path, int code, const OpenNote& note) {
    sayings_[path] = Saying{code, note};
}

int InProcessBackend::Open(const std::string& devicePath, const LineSettings& settings,
                           std::unique_ptr<Port>* out) {
    notes_.clear();
    if (CheckLineSettings(settings) != 0) return kErrSettings;
    auto saying = sayings_.find(devicePath);
    if (saying != sayings_.end() && saying->second.code < 0) {
        notes_.push_back(saying->second.note);
        return saying->second.code;
    }
    auto it = lines_->devices.find(devicePath);
    if (it == lines_->devices.end() || it->second == nullptr || !it->second->Present())
        return kErrNoDevice;
    if (lines_->open.count(devicePath) != 0) return kErrBusy;
    lines_->open.insert(devicePath);
    if (saying != sayings_.end()) notes_.push_back(saying->second.note);
    *out = std::make_unique<InProcessPort>(clock_, lines_, devicePath, it->second, settings);
    return 0;
}

}  // namespace serial
