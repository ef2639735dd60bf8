#pragma once
// A FIFO at a file's name, and a watchdog that frees a program blocked opening or reading it.
// A program that waits on the FIFO would hang the test for good; when `patience` runs out
// before the guard is destroyed, the guard records it and opens the other end (and closes it
// again) over and over, so a blocked open returns and a read sees its end. Scope the guard
// around the calls that must not wait: a program that never waits costs the test no time.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace test_support {

class FifoGuard {
  public:
    explicit FifoGuard(std::string path,
                       std::chrono::milliseconds patience = std::chrono::milliseconds(3000))
        : path_(std::move(path)) {
        made_ = ::mkfifo(path_.c_str(), 0644) == 0;
        // A freed writer may write into the closed FIFO: an error, not the test's end.
        ::signal(SIGPIPE, SIG_IGN);
        watchdog_ = std::thread([this, patience] { Watch(patience); });
    }
    ~FifoGuard() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        watchdog_.join();
    }
    FifoGuard(const FifoGuard&) = delete;
    FifoGuard& operator=(const FifoGuard&) = delete;

    bool Made() const { return made_; }
    // True when the patience ran out: the program waited on the FIFO.
    bool HadToFree() {
        std::lock_guard<std::mutex> lock(mutex_);
        return freed_;
    }

  private:
    void Watch(std::chrono::milliseconds patience) {
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

    std::string path_;
    bool made_ = false;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool freed_ = false;
    std::thread watchdog_;
};

}  // namespace test_support
