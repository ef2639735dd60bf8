#pragma once
// A front end with no screen: popups are recorded and answered from a script, timers tick on
// a virtual clock when the test advances it, and the event loop runs posted actions. Tests
// drive the programs through it without ever sleeping.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/sys/clock.h"
#include "platform/ui/front_end.h"
#include "platform/ui/timer_schedule.h"

namespace ui {

class HeadlessFrontEnd final : public FrontEnd {
  public:
    struct Popup {
        enum class Type { Message, Confirm, FileSelect } type = Type::Message;
        std::string title;
        std::string text;
        FileSelectRequest request;  // FileSelect only
    };

    void Attach(Runtime& runtime) override { runtime_ = &runtime; }
    void Changed(Change what, int panel, int control) override;
    int RunLoop() override;
    void QuitLoop(int value) override;
    void MessagePopup(const std::string& title, const std::string& text) override;
    int ConfirmPopup(const std::string& title, const std::string& text) override;
    int FileSelectPopup(const FileSelectRequest& request, std::string* path) override;
    void BeforeDelay() override { ++repaints_; }
    sys::Clock& Clock() override { return clock_; }

    // --- the test side ---
    sys::VirtualClock& VirtualClock() { return clock_; }
    // Moves virtual time on by `seconds`, ticking every due timer in time order.
    void AdvanceTime(double seconds);
    // Actions RunLoop performs in order (the user's clicks and keys during a run).
    void Post(std::function<void()> action) { posted_.push_back(std::move(action)); }
    // RunLoop gives up (UIE_LOOP_IDLE) once virtual time passes this many seconds.
    void SetRunLimit(double seconds) { runLimit_ = seconds; }

    const std::vector<Popup>& Popups() const { return popups_; }
    void ClearPopups() { popups_.clear(); }
    // Answers for the next confirm and file popups (unanswered: no / cancelled).
    void AnswerConfirm(int answer) { confirmAnswers_.push_back(answer); }
    void AnswerFile(int result, const std::string& path) {
        fileAnswers_.emplace_back(result, path);
    }

    bool QuitRequested() const { return quitRequested_; }
    int QuitValue() const { return quitValue_; }
    int Repaints() const { return repaints_; }
    // Enabled timers and the virtual time of their next tick.
    const std::map<std::pair<int, int>, double>& DueTimers() const { return timers_.Due(); }

  private:
    Runtime* runtime_ = nullptr;
    sys::VirtualClock clock_;
    TimerSchedule timers_;
    std::deque<std::function<void()>> posted_;
    std::vector<Popup> popups_;
    std::deque<int> confirmAnswers_;
    std::deque<std::pair<int, std::string>> fileAnswers_;
    bool quit_ = false;
    bool quitRequested_ = false;
    int quitValue_ = 0;
    int repaints_ = 0;
    double runLimit_ = 24 * 3600.0;
};

}  // namespace ui
