#include "platform/ui/headless.h"

#include "platform/ui/runtime.h"

namespace ui {

void HeadlessFrontEnd::TrackTimer(int panel, int control) {
    const Control* c = runtime_->GetControl(panel, control);
    auto key = std::make_pair(panel, control);
    if (!c || c->kind != Kind::Timer || !c->enabled) {
        due_.erase(key);
        intervals_.erase(key);
        return;
    }
    // A timer that starts, or whose interval changes, counts its interval from now.
    auto it = intervals_.find(key);
    if (it == intervals_.end() || it->second != c->interval || !due_.count(key)) {
        due_[key] = clock_.Now() + c->interval;
        intervals_[key] = c->interval;
    }
}

void HeadlessFrontEnd::TrackPanel(int panel) {
    for (int h : runtime_->PanelHandles()) {
        if (runtime_->TopPanel(h) != panel) continue;
        for (const auto& c : runtime_->GetPanel(h)->controls)
            if (c.kind == Kind::Timer) TrackTimer(h, c.id);
    }
}

void HeadlessFrontEnd::Changed(Change what, int panel, int control) {
    switch (what) {
        case Change::PanelLoaded:
            TrackPanel(panel);
            break;
        case Change::Timer:
            TrackTimer(panel, control);
            break;
        case Change::PanelDiscarded:
            for (auto it = due_.begin(); it != due_.end();) {
                if (runtime_->TopPanel(it->first.first) == panel) {
                    intervals_.erase(it->first);
                    it = due_.erase(it);
                } else {
                    ++it;
                }
            }
            break;
        default:
            break;
    }
}

void HeadlessFrontEnd::AdvanceTime(double seconds) {
    const double target = clock_.Now() + (seconds > 0 ? seconds : 0);
    for (;;) {
        auto next = due_.end();
        for (auto it = due_.begin(); it != due_.end(); ++it)
            if (it->second <= target && (next == due_.end() || it->second < next->second))
                next = it;
        if (next == due_.end()) break;
        auto key = next->first;
        if (next->second > clock_.Now()) clock_.Advance(next->second - clock_.Now());
        // The next tick is one interval on; a tick that fell behind (a long Delay) does not
        // come back as a burst.
        double following = next->second + intervals_[key];
        if (following <= clock_.Now()) following = clock_.Now() + intervals_[key];
        next->second = following;
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
        if (due_.empty()) return UIE_LOOP_IDLE;
        double next = due_.begin()->second;
        for (const auto& [k, t] : due_)
            if (t < next) next = t;
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
