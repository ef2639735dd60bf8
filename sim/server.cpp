#include "sim/server.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <limits>
#include <utility>

namespace sim {

namespace {

constexpr double kNever = std::numeric_limits<double>::infinity();
constexpr double kHangUpPause = 0.05;
constexpr double kMinGap = 0.002;

timespec ToTimespec(double seconds) {
    seconds = std::max(seconds, 0.0);
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(seconds);
    ts.tv_nsec = static_cast<long>((seconds - static_cast<double>(ts.tv_sec)) * 1e9);
    if (ts.tv_nsec > 999999999L) ts.tv_nsec = 999999999L;
    return ts;
}

class Session {
  public:
    Session(ServedLine& line, Instrument& instrument, sys::Clock& clock, const ServeHooks& hooks)
        : line_(line), instrument_(instrument), clock_(clock), hooks_(hooks) {}
    int Run(std::string* error);

  private:
    // An answer byte: when it is on the instrument's wire, when it reaches the master; or the
    // point after which the line drops the master's connection.
    struct Out {
        double wireAt;
        double at;
        std::uint8_t byte;
        bool reset;
    };

    void Take(const Framer::Frame& frame);
    void Feed(const LineInput& piece);
    void SendDue(double now);
    // Waits for input or an event until the deadline. 1 input ready, 0 nothing, -1 stop,
    // -2 poll failed.
    int Wait(double deadline, bool watchLine, short* lineEvents);

    ServedLine& line_;
    Instrument& instrument_;
    sys::Clock& clock_;
    const ServeHooks& hooks_;
    Framer framer_;
    serial::LineSettings framed_;  // the settings the bytes in the framer came at
    std::deque<Out> out_;
};

void Session::Take(const Framer::Frame& frame) {
    const double now = clock_.Now();
    const serial::LineSettings own = instrument_.Settings(now);
    double end = frame.lastAt;
    // A pseudo-terminal or a socket delivers a request at once; the instrument answers as if
    // it had come over the wire at its own speed.
    if (instrument_.Config().paced)
        end = std::max(end,
                       frame.firstAt + serial::WireTime(own, static_cast<int>(frame.bytes.size())));
    const Reply r = instrument_.Handle(framed_, frame.bytes, end);
    const double latency = line_.Latency();
    // The echo goes back at once: on the wire it ran alongside the request.
    for (std::uint8_t b : instrument_.Echo(frame.bytes, r))
        out_.push_back(Out{frame.lastAt, frame.lastAt + latency, b, false});
    double wireAt = r.start;
    for (std::size_t i = 0; i < r.bytes.size(); ++i) {
        wireAt = r.start + static_cast<double>(i + 1) * r.charTime;
        out_.push_back(Out{wireAt, wireAt + latency, r.bytes[i], false});
    }
    if (r.fault == FaultKind::kReset) out_.push_back(Out{wireAt, wireAt + latency, 0, true});
    if (r.fault == FaultKind::kStall) line_.Stall();
    for (const LogEntry& e : instrument_.TakeLog())
        if (hooks_.onRequest) hooks_.onRequest(e);
}

void Session::Feed(const LineInput& piece) {
    if (!piece.data.empty()) {
        const double at = clock_.Now();
        Framer::Frame frame;
        // Bytes at other settings than those before them do not join them into one frame.
        if (!framer_.Empty() && !(piece.settings == framed_) && framer_.Flush(&frame)) Take(frame);
        framed_ = piece.settings;
        // The master talks over whatever answer was still to come on the wire.
        while (!out_.empty() && out_.back().wireAt > at)
            out_.pop_back();
        for (std::uint8_t b : piece.data)
            framer_.Push(b, at);
        while (framer_.Next(&frame))
            Take(frame);
    }
    if (piece.purge & kPurgeInput) framer_ = Framer();
    if (piece.purge & kPurgeOutput) out_.clear();
}

void Session::SendDue(double now) {
    Bytes chunk;
    bool reset = false;
    while (!out_.empty() && out_.front().at <= now && !reset) {
        reset = out_.front().reset;
        if (!reset) chunk.push_back(out_.front().byte);
        out_.pop_front();
    }
    if (!chunk.empty()) line_.Send(chunk);
    if (reset) {
        line_.Reset();
        out_.clear();
        framer_ = Framer();
    }
}

int Session::Wait(double deadline, bool watchLine, short* lineEvents) {
    pollfd fds[2];
    nfds_t n = 0;
    if (watchLine) fds[n++] = pollfd{line_.Fd(), POLLIN, 0};
    const nfds_t event = n;
    if (hooks_.eventFd >= 0) fds[n++] = pollfd{hooks_.eventFd, POLLIN, 0};
    timespec ts{};
    const bool timed = deadline != kNever;
    if (timed) ts = ToTimespec(deadline - clock_.Now());
    const int r = ppoll(fds, n, timed ? &ts : nullptr, nullptr);
    if (r < 0) return errno == EINTR ? 0 : -2;
    if (event < n && (fds[event].revents & POLLIN) && hooks_.onEvent && !hooks_.onEvent())
        return -1;
    *lineEvents = watchLine ? fds[0].revents : 0;
    return 0;
}

int Session::Run(std::string* error) {
    std::vector<LineInput> input;
    for (;;) {
        if (!instrument_.Present()) return kServeVanished;
        double now = clock_.Now();
        SendDue(now);
        if (out_.empty() && line_.Follow(instrument_.Settings(now)) != 0) {
            if (error)
                *error =
                    line_.Path() + ": does not take " + SettingsText(instrument_.Settings(now));
            return -1;
        }
        const double gap = std::max(3.5 * serial::WireTime(instrument_.Settings(now), 1), kMinGap);
        Framer::Frame frame;
        if (!framer_.Empty() && now - framer_.LastAt() >= gap && framer_.Flush(&frame)) {
            Take(frame);  // the line fell silent in the middle of something: noise or a fragment
            continue;
        }
        double deadline = kNever;
        if (!out_.empty()) deadline = out_.front().at;
        if (!framer_.Empty()) deadline = std::min(deadline, framer_.LastAt() + gap);

        short events = 0;
        int w = Wait(deadline, true, &events);
        if (w == -1) return kServeStopped;
        if (w == -2) {
            if (error) *error = std::string("poll: ") + std::strerror(errno);
            return -1;
        }
        if (events == 0) continue;
        input.clear();
        const int got = line_.Receive(events, &input, error);
        if (got < 0) return -1;
        for (const LineInput& piece : input)
            Feed(piece);
        if (got != kLineHungUp) continue;
        if (!line_.OutlivesHangUp()) {
            if (error) *error = line_.Path() + ": the device has gone";
            return -1;
        }
        // Hung up (the program closed the port and nothing else holds it): look again shortly.
        if (Wait(clock_.Now() + kHangUpPause, false, &events) == -1) return kServeStopped;
    }
}

}  // namespace

int Serve(ServedLine& line, Instrument& instrument, sys::Clock& clock, const ServeHooks& hooks,
          std::string* error) {
    Session session(line, instrument, clock, hooks);
    return session.Run(error);
}

}  // namespace sim
