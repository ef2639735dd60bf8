#pragma once
// What a benchmarked client put on the line: the requests it wrote, byte for byte, and the
// figures of the line's own speed for them.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/serial/line_settings.h"
#include "platform/serial/port.h"
#include "platform/serial/system_backend.h"

namespace bench {

using Frame = std::vector<std::uint8_t>;

// The 3.5-character silence after a request before which an instrument may not answer.
inline constexpr double kGapChars = 3.5;

struct Tally {
    int transactions = 0;
    long bytes = 0;
    double wire = 0.0;  // seconds the bytes take at the line's speed
    double gaps = 0.0;  // seconds of silence after the requests
    // A request of n bytes: one transaction, its bytes and the silence after it.
    void AddRequest(const serial::LineSettings& settings, int n);
    // Bytes of an answer.
    void AddBytes(const serial::LineSettings& settings, int n);
    // The least time the line lets these transactions take.
    double Floor() const { return wire + gaps; }
};

// Counts and records what the termios ports it opens carry: every write is one request frame.
class RecordingBackend final : public serial::Backend {
  public:
    int Open(const std::string& devicePath, const serial::LineSettings& settings,
             std::unique_ptr<serial::Port>* out) override;
    std::string LastOpenDetail() const override { return real_.LastOpenDetail(); }
    std::vector<serial::OpenNote> LastOpenNotes() const override { return real_.LastOpenNotes(); }
    // Starts a new count and a new recording.
    void Reset();
    const Tally& Counted() const { return tally_; }
    const std::vector<Frame>& Requests() const { return requests_; }

  private:
    friend class RecordingPort;
    serial::SystemBackend real_;
    Tally tally_;
    std::vector<Frame> requests_;
};

}  // namespace bench
