#include "tests/support/fifo_guard.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace conf_test {

FifoGuard::FifoGuard(std::string path, std::chrono::milliseconds patience)
    : path_(std::move(path)) {
    made_ = ::mkfifo(path_.c_str(), 0644) == 0;
    // A freed writer may write into the closed FIFO: an error, not the test's end.
    ::signal(SIGPIPE, SIG_IGN);
    watchdog_ = std::thread([this, patience] { Watch(patience); });
}

FifoGuard::~FifoGuard() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    watchdog_.join();
}

bool FifoGuard::HadToFree() {
    std::lock_guard<std::mutex> lock(mutex_);
    return freed_;
}

void FifoGuard::Watch(std::chrono::milliseconds patience) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (wake_.wait_for(lock, patience, [this] { return stop_; })) return;
    freed_ = true;
    while (!stop_) {
        for (int mode : {O_WRONLY, O_RDONLY}) {
            const int fd = ::open(path_.c_str(), mode | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        }
        wake_.wait_for(lock, std::chrono::milliseconds(20), [this] { return stop_; });
    }
}

}  // namespace conf_test
