#pragma once
// A line device that plays back a script of answers, one per request, and records what the
// master sent: the stand-in instrument for tests of the protocol layers.

#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "platform/serial/inprocess_line.h"

namespace serial {

// Every Receive is one request and consumes the next scripted step; with the script used up
// the device stays silent. Answer bytes go out back to back at the master's character time,
// the first one starting `turnaround` seconds after the request has fully arrived.
class ScriptedDevice final : public LineDevice {
  public:
    struct Request {
        LineSettings settings;
        std::vector<std::uint8_t> bytes;
        double start = 0.0;  // when the master began sending
        double end = 0.0;    // when the last byte had arrived
    };

    // Answers the next request with these bytes.
    void Answer(std::vector<std::uint8_t> bytes, double turnaround);
    // Answers the next request with only the first `count` of these bytes, then falls silent.
    void AnswerPart(std::vector<std::uint8_t> bytes, int count, double turnaround);
    // Ignores the next request.
    void StaySilent();
    // Disappears when the next request arrives, like an adapter pulled mid-conversation.
    void Vanish();

    void Receive(const LineSettings& master, const std::vector<std::uint8_t>& bytes,
                 double now) override;
    bool NextByte(double upTo, std::uint8_t* byte, double* at) override;
    bool Present() const override { return present_; }

    // Every request, in order of arrival.
    std::vector<Request> requests;

  private:
    struct Step {
        enum class Kind { kAnswer, kSilent, kVanish } kind = Kind::kSilent;
        std::vector<std::uint8_t> bytes;
        double turnaround = 0.0;
    };

    std::deque<Step> script_;
    std::deque<std::pair<double, std::uint8_t>> pending_;  // arrival time, byte
    bool present_ = true;
};

}  // namespace serial
