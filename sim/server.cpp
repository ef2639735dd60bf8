#include "sim/server.h"

#include <poll.h>
#include <unistd.h>

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
    void Take(const Framer::Frame& frame);
    void SendDue(double now);
    // Waits for input or an event until the deadline. 1 input ready, 0 nothing, -1 stop,
    // -2 poll failed.
    int Wait(double deadline, bool watchLine, short* lineEvents);

    ServedLine& line_;
    Instrument& instrument_;
    sys::Clock& clock_;
    const ServeHooks& hooks_;
    Framer framer_;
    std::deque<std::pair<double, std::uint8_t>> out_;  // when each answer byte is due
};

void Session::Take(const Framer::Frame& frame) {
    const double now = clock_.Now();
    const serial::LineSettings own = instrument_.Settings(now);
    double end = frame.lastAt;
    // A pseudo-terminal delivers a request at once; the instrument answers as if it had come
    // over the wire at its own speed.
    if (instrument_.Config().paced)
        end = std::max(end,
                       frame.firstAt + serial::WireTime(own, static_cast<int>(frame.bytes.size())));
    Reply r = instrument_.Handle(line_.MasterSettings(), frame.bytes, end);
    for (std::size_t i = 0; i < r.bytes.size(); ++i)
        out_.emplace_back(r.start + static_cast<double>(i + 1) * r.charTime, r.bytes[i]);
    for (const LogEntry& e : instrument_.TakeLog())
        if (hooks_.onRequest) hooks_.onRequest(e);
}

void Session::SendDue(double now) {
    Bytes chunk;
    while (!out_.empty() && out_.front().first <= now) {
        chunk.push_back(out_.front().second);
        out_.pop_front();
    }
    std::size_t done = 0;
    while (done < chunk.size()) {
        ssize_t w = write(line_.Fd(), chunk.data() + done, chunk.size() - done);
        if (w > 0) {
            done += static_cast<std::size_t>(w);
        } else if (w < 0 && errno == EINTR) {
            continue;
        } else {
            return;  // nobody is taking bytes off the line (full or hung up): they are lost
        }
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
    std::uint8_t buf[512];
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
        if (!out_.empty()) deadline = out_.front().first;
        if (!framer_.Empty()) deadline = std::min(deadline, framer_.LastAt() + gap);

        short events = 0;
        int w = Wait(deadline, true, &events);
        if (w == -1) return kServeStopped;
        if (w == -2) {
            if (error) *error = std::string("poll: ") + std::strerror(errno);
            return -1;
        }
        if (events & POLLIN) {
            ssize_t got = read(line_.Fd(), buf, sizeof buf);
            if (got > 0) {
                const double at = clock_.Now();
                out_.clear();  // the master talks over whatever answer was still to come
                for (ssize_t i = 0; i < got; ++i)
                    framer_.Push(buf[i], at);
                while (framer_.Next(&frame))
                    Take(frame);
                continue;
            }
            if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            if (got < 0 && errno != EIO) {
                if (error) *error = line_.Path() + ": " + std::strerror(errno);
                return -1;
            }
        } else if (!(events & (POLLHUP | POLLERR))) {
            continue;
        }
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
