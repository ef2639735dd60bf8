#include "platform/serial/scripted_device.h"

#include <algorithm>

namespace serial {

void ScriptedDevice::Answer(std::vector<std::uint8_t> bytes, double turnaround) {
    script_.push_back(Step{Step::Kind::kAnswer, std::move(bytes), turnaround});
}

void ScriptedDevice::AnswerPart(std::vector<std::uint8_t> bytes, int count, double turnaround) {
    bytes.resize(std::min(bytes.size(), static_cast<std::size_t>(std::max(count, 0))));
    Answer(std::move(bytes), turnaround);
}

void ScriptedDevice::StaySilent() {
    script_.push_back(Step{Step::Kind::kSilent, {}, 0.0});
}

void ScriptedDevice::Vanish() {
    script_.push_back(Step{Step::Kind::kVanish, {}, 0.0});
}

void ScriptedDevice::Receive(const LineSettings& master, const std::vector<std::uint8_t>& bytes,
                             double now) {
    const double end = now + WireTime(master, static_cast<int>(bytes.size()));
    requests.push_back(Request{master, bytes, now, end});
    if (script_.empty()) return;
    Step step = std::move(script_.front());
    script_.pop_front();
    if (step.kind == Step::Kind::kVanish) {
        present_ = false;
        pending_.clear();
        return;
    }
    const double charTime = WireTime(master, 1);
    const double first = end + step.turnaround;
    for (std::size_t i = 0; i < step.bytes.size(); ++i)
        pending_.emplace_back(first + static_cast<double>(i + 1) * charTime, step.bytes[i]);
}

bool ScriptedDevice::NextByte(double upTo, std::uint8_t* byte, double* at) {
    if (pending_.empty() || pending_.front().first > upTo) return false;
    *at = pending_.front().first;
    *byte = pending_.front().second;
    pending_.pop_front();
    return true;
}

}  // namespace serial
