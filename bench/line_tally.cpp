#include "bench/line_tally.h"

namespace bench {

void Tally::AddRequest(const serial::LineSettings& settings, int n) {
    ++transactions;
    AddBytes(settings, n);
    gaps += serial::WireTime(settings, 1) * kGapChars;
}

void Tally::AddBytes(const serial::LineSettings& settings, int n) {
    bytes += n;
    wire += serial::WireTime(settings, n);
}

class RecordingPort final : public serial::Port {
  public:
    RecordingPort(std::unique_ptr<serial::Port> port, RecordingBackend& owner)
        : port_(std::move(port)), owner_(owner) {}
    int Write(const std::uint8_t* data, int n) override {
        const int r = port_->Write(data, n);
        if (r > 0) {
            owner_.tally_.AddRequest(Settings(), r);
            owner_.requests_.emplace_back(data, data + r);
        }
        return r;
    }
    int Read(std::uint8_t* data, int n, double timeoutSeconds) override {
        const int r = port_->Read(data, n, timeoutSeconds);
        if (r > 0) owner_.tally_.AddBytes(Settings(), r);
        return r;
    }
    int FlushInput() override { return port_->FlushInput(); }
    int FlushOutput() override { return port_->FlushOutput(); }
    const serial::LineSettings& Settings() const override { return port_->Settings(); }

  private:
    std::unique_ptr<serial::Port> port_;
    RecordingBackend& owner_;
};

int RecordingBackend::Open(const std::string& devicePath, const serial::LineSettings& settings,
                           std::unique_ptr<serial::Port>* out) {
    std::unique_ptr<serial::Port> port;
    const int r = real_.Open(devicePath, settings, &port);
    if (r == 0) *out = std::make_unique<RecordingPort>(std::move(port), *this);
    return r;
}

void RecordingBackend::Reset() {
    tally_ = Tally{};
    requests_.clear();
}

}  // namespace bench
