#pragma once
// A front end for runs without a window (scripts, production lines): the machine's clock,
// message popups as lines on stderr, the file dialog answered with the file given on the
// command line, confirmations answered no. Timers tick in real time while RunFor runs.

#include <csignal>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "platform/sys/clock.h"
#include "platform/ui/front_end.h"
#include "platform/ui/timer_schedule.h"

namespace ui {

class BatchFrontEnd final : public FrontEnd {
  public:
    // `program` prefixes the stderr lines; `stop`, when set and non-zero, ends RunFor and
    // RunLoop early (a signal handler sets it).
    BatchFrontEnd(std::string program, const volatile std::sig_atomic_t* stop)
        : program_(std::move(program)), stop_(stop) {}

    void Attach(Runtime& runtime) override { runtime_ = &runtime; }
    void Changed(Change what, int panel, int control) override;
    int RunLoop() override;
    void QuitLoop(int value) override;
    void MessagePopup(const std::string& title, const std::string& text) override;
    int ConfirmPopup(const std::string& title, const std::string& text) override;
    int FileSelectPopup(const FileSelectRequest& request, std::string* path) override;
    void BeforeDelay() override {}
    sys::Clock& Clock() override { return clock_; }

    // The answer of every file dialog: an absolute path.
    void SetFileAnswer(const std::string& path) { fileAnswer_ = path; }
    // Ticks due timers in real time for `seconds`, until no timer runs, or until stopped or
    // quit. `tick` (when set) is called with the timer's panel and control in place of the
    // runtime's TimerTick, and calls it itself. 0, or -1 when stopped.
    int RunFor(double seconds, const std::function<void(int, int)>& tick);
    bool Stopped() const { return stop_ && *stop_ != 0; }
    // Told of every control whose value changed (panel, control): progress for a terminal.
    void SetControlWatcher(std::function<void(int, int)> watcher) {
        controlWatcher_ = std::move(watcher);
    }

  private:
    std::string program_;
    const volatile std::sig_atomic_t* stop_;
    Runtime* runtime_ = nullptr;
    sys::SystemClock clock_;
    std::string fileAnswer_;
    std::function<void(int, int)> controlWatcher_;
    TimerSchedule timers_;
    bool quit_ = false;
    int quitValue_ = 0;
};

}  // namespace ui
