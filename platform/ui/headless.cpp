#include "platform/ui/headless.h"

#include "platform/ui/runtime.h"

namespace ui {

void HeadlessFrontEnd::Changed(Change what, int panel, int control) {
    switch (what) {
        case Change::PanelLoaded:
            timers_.TrackPanel(*runtime_, panel, clock_.Now());
            break;
        case Change::Timer:
            timers_.Track(*runtime_, panel, control, clock_.Now());
            break;
        case Change::PanelDiscarded:
            timers_.Forget(*runtime_, panel);
            break;
        default:
            break;
    }
}

void HeadlessFrontEnd::AdvanceTime(double seconds) {
    const double target = clock_.Now() + (seconds > 0 ? seconds : 0);
    TimerSchedule::Key key;
    double at = 0;
    while (timers_.Next(&key, &at, target)) {
        if (at > clock_.Now()) clock_.Advance(at - clock_.Now());
        timers_.Ticked(key, at, clock_.Now());
        runtime_->TimerTick(key.first, key.second);
    }
    if (target > clock_.Now()) clock_.Advance(target - clock_.Now());
}

int HeadlessFrontEnd::RunLoop() {
    quit_ = false;
    while (!quit_) {
        if (!posted_.empty()) {
            auto action = std::move(posted_.front());
            posted_.pop_front();
            action();
            continue;
        }
        TimerSchedule::Key key;
        double next = 0;
        if (!timers_.Next(&key, &next)) return UIE_LOOP_IDLE;
        if (next > runLimit_) return UIE_LOOP_IDLE;
        AdvanceTime(next - clock_.Now());
    }
    return quitValue_;
}

void HeadlessFrontEnd::QuitLoop(int value) {
    quit_ = true;
    quitRequested_ = true;
    quitValue_ = value;
}

void HeadlessFrontEnd::MessagePopup(const std::string& title, const std::string& text) {
    popups_.push_back(Popup{Popup::Type::Message, title, text, {}});
}

int HeadlessFrontEnd::ConfirmPopup(const std::string& title, const std::string& text) {
    popups_.push_back(Popup{Popup::Type::Confirm, title, text, {}});
    if (confirmAnswers_.empty()) return 0;
    int answer = confirmAnswers_.front();
    confirmAnswers_.pop_front();
    return answer;
}

int HeadlessFrontEnd::FileSelectPopup(const FileSelectRequest& request, std::string* path) {
    popups_.push_back(Popup{Popup::Type::FileSelect, request.title, "", request});
    if (fileAnswers_.empty()) return VAL_NO_FILE_SELECTED;
    auto [result, chosen] = fileAnswers_.front();
    fileAnswers_.pop_front();
    if (result != VAL_NO_FILE_SELECTED) *path = chosen;
    return result;
}

}  // namespace ui
