#pragma once
// Tells a program that serial ports may have come or gone: a tty created, removed, renamed or
// given other permissions (udev sets them just after it creates the node) in the device
// folder, or any change in the COM folder (a link or a COM<n>.conf). The watch is read without
// blocking, so a timer of the program polls it.

#include <string>

namespace serial {

class PortWatch {
  public:
    // devDir is "/dev" outside tests; comDir the COM folder (com_map.h), empty for none. A COM
    // folder that is not there yet is watched from when it appears.
    PortWatch(std::string devDir, std::string comDir);
    ~PortWatch();
    PortWatch(const PortWatch&) = delete;
    PortWatch& operator=(const PortWatch&) = delete;

    // True when something changed since the last call; every pending event is taken, so a burst
    // of them (an adapter plugged in) is one change.
    bool Changed();
    // Why the device folder cannot be watched; empty while it is.
    const std::string& Problem() const { return problem_; }

  private:
    // Adds the COM folder's watch when it is missing: true when it has just been added.
    bool WatchComDir();

    std::string devDir_;
    std::string comDir_;
    int fd_ = -1;
    int devWatch_ = -1;
    int comWatch_ = -1;
    std::string problem_;
};

}  // namespace serial
