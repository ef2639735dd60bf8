#pragma once
// A FIFO at a file's name, and a watchdog that frees a program blocked opening or reading it.
// A program that waits on the FIFO would hang the test for good; when `patience` runs out
// before the guard is destroyed, the guard records it and opens the other end (and closes it
// again) over and over, so a blocked open returns and a read sees its end. Scope the guard
// around the calls that must not wait: a program that never waits costs the test no time.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace conf_test {

class FifoGuard {
  public:
    explicit FifoGuard(std::string path,
                       std::chrono::milliseconds patience = std::chrono::milliseconds(3000));
    ~FifoGuard();
    FifoGuard(const FifoGuard&) = delete;
    FifoGuard& operator=(const FifoGuard&) = delete;

    bool Made() const { return made_; }
    // True when the patience ran out: the program waited on the FIFO.
    bool HadToFree();

  private:
    void Watch(std::chrono::milliseconds patience);

    std::string path_;
    bool made_ = false;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool freed_ = false;
    std::thread watchdog_;
};

}  // namespace conf_test

namespace test_support = conf_test;
