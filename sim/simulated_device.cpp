#include "sim/simulated_device.h"

namespace sim {

void SimulatedDevice::TalkOver(double now) {
    while (!pending_.empty() && pending_.back().first > now)
        pending_.pop_back();
}

void SimulatedDevice::Take(const serial::LineSettings& master, const Framer::Frame& frame) {
    const double start =
        frame.lastAt - serial::WireTime(master, static_cast<int>(frame.bytes.size()));
    TalkOver(start);
    Reply r = instrument_.Handle(master, frame.bytes, frame.lastAt);
    // The echo comes back as the request goes out, a character time a byte.
    const double charTime = serial::WireTime(master, 1);
    const Bytes echo = instrument_.Echo(frame.bytes, r);
    for (std::size_t i = 0; i < echo.size(); ++i)
        pending_.emplace_back(start + static_cast<double>(i + 1) * charTime, echo[i]);
    for (std::size_t i = 0; i < r.bytes.size(); ++i)
        pending_.emplace_back(r.start + static_cast<double>(i + 1) * r.charTime, r.bytes[i]);
}

void SimulatedDevice::Receive(const serial::LineSettings& master,
                              const std::vector<std::uint8_t>& bytes, double now) {
    const double charTime = serial::WireTime(master, 1);
    Framer framer;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        framer.Push(bytes[i], now + static_cast<double>(i + 1) * charTime);
    Framer::Frame frame;
    while (framer.Next(&frame))
        Take(master, frame);
    if (framer.Flush(&frame)) Take(master, frame);
}

bool SimulatedDevice::NextByte(double upTo, std::uint8_t* byte, double* at) {
    if (pending_.empty() || pending_.front().first > upTo) return false;
    *at = pending_.front().first;
    *byte = pending_.front().second;
    pending_.pop_front();
    return true;
}

}  // namespace sim
