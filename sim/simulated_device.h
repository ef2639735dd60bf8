#pragma once
// The simulated instrument on an in-process serial line: what the master writes goes to the
// instrument as request frames, its answers come back byte by byte at their times.

#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "platform/serial/inprocess_line.h"
#include "sim/frame.h"
#include "sim/instrument.h"

namespace sim {

// Each Receive is one transmission followed by silence: it is cut into frames by the lengths
// their function codes imply, and a remainder that makes no frame is taken as noise. A master
// that starts sending while an answer is still to come talks over it: the rest of that answer
// is lost. The instrument is not owned and must outlive this object.
class SimulatedDevice final : public serial::LineDevice {
  public:
    explicit SimulatedDevice(Instrument& instrument) : instrument_(instrument) {}

    void Receive(const serial::LineSettings& master, const std::vector<std::uint8_t>& bytes,
                 double now) override;
    bool NextByte(double upTo, std::uint8_t* byte, double* at) override;
    bool Present() const override { return instrument_.Present(); }

  private:
    void TalkOver(double now);
    void Take(const serial::LineSettings& master, const Framer::Frame& frame);

    Instrument& instrument_;
    std::deque<std::pair<double, std::uint8_t>> pending_;  // arrival time, byte
};

}  // namespace sim
