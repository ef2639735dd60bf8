#include "platform/serial/port_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace serial {

namespace {

constexpr std::uint32_t kDevEvents =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB;
// The folder itself may be removed or renamed: its watch then ends (IN_IGNORED).
constexpr std::uint32_t kComEvents = kDevEvents | IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF;

bool IsTty(const char* name) {
    return std::strncmp(name, "tty", 3) == 0;
}

}  // namespace

PortWatch::PortWatch(std::string devDir, std::string comDir)
    : devDir_(std::move(devDir)), comDir_(std::move(comDir)) {
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) {
        problem_ = std::string("inotify: ") + std::strerror(errno);
        return;
    }
    devWatch_ = inotify_add_watch(fd_, devDir_.c_str(), kDevEvents | IN_ONLYDIR);
    if (devWatch_ < 0) problem_ = devDir_ + ": " + std::strerror(errno);
    WatchComDir();
}

PortWatch::~PortWatch() {
    if (fd_ >= 0) close(fd_);
}

bool PortWatch::WatchComDir() {
    if (fd_ < 0 || comWatch_ >= 0 || comDir_.empty()) return false;
    comWatch_ = inotify_add_watch(fd_, comDir_.c_str(), kComEvents | IN_ONLYDIR);
    return comWatch_ >= 0;
}

bool PortWatch::Changed() {
    if (fd_ < 0) return false;
    bool changed = false;
    alignas(inotify_event) char buf[4096];
    for (;;) {
        const ssize_t n = read(fd_, buf, sizeof buf);
        if (n <= 0) break;  // EAGAIN: nothing more for now
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buf + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            if (e->mask & IN_Q_OVERFLOW) {
                changed = true;  // events were lost: anything may have happened
            } else if (e->wd == comWatch_) {
                changed = true;
                if (e->mask & IN_IGNORED) comWatch_ = -1;  // folder gone: watched again later
            } else if (e->wd == devWatch_ && e->len > 0 && IsTty(e->name)) {
                changed = true;
            }
        }
    }
    // A COM folder made since the last look may already hold links.
    if (WatchComDir()) changed = true;
    return changed;
}

}  // namespace serial
