#include "platform/ui/batch_front_end.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "platform/ui/runtime.h"

namespace ui {

void BatchFrontEnd::TrackTimer(int panel, int control) {
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

void BatchFrontEnd::TrackPanel(int panel) {
    for (int h : runtime_->PanelHandles()) {
        if (runtime_->TopPanel(h) != panel) continue;
        for (const auto& c : runtime_->GetPanel(h)->controls)
            if (c.kind == Kind::Timer) TrackTimer(h, c.id);
    }
}

void BatchFrontEnd::Changed(Change what, int panel, int control) {
    if (what == Change::PanelLoaded) {
        TrackPanel(panel);
    } else if (what == Change::Timer) {
        TrackTimer(panel, control);
    } else if (what == Change::Control) {
        if (controlWatcher_) controlWatcher_(panel, control);
    } else if (what == Change::PanelDiscarded) {
        for (auto it = due_.begin(); it != due_.end();) {
            if (runtime_->TopPanel(it->first.first) == panel) {
                intervals_.erase(it->first);
                it = due_.erase(it);
            } else {
                ++it;
            }
        }
    }
}

int BatchFrontEnd::RunFor(double seconds, const std::function<void(int, int)>& tick) {
    quit_ = false;
    const double end = clock_.Now() + std::max(0.0, seconds);
    while (!quit_ && !Stopped()) {
        // With no timer running nothing more can happen.
        if (due_.empty()) return 0;
        auto next = due_.end();
        for (auto it = due_.begin(); it != due_.end(); ++it)
            if (next == due_.end() || it->second < next->second) next = it;
        const double wake = std::min(end, next->second);
        // Short naps, so Ctrl+C is seen within a tenth of a second.
        while (!Stopped() && clock_.Now() < wake)
            clock_.Delay(std::min(0.1, wake - clock_.Now()));
        if (Stopped()) break;
        if (next->second > end) {
            if (clock_.Now() >= end) return 0;
            continue;
        }
        const auto key = next->first;
        // A tick that fell behind (a slow poll) does not come back as a burst.
        double following = next->second + intervals_[key];
        if (following <= clock_.Now()) following = clock_.Now() + intervals_[key];
        next->second = following;
        if (tick)
            tick(key.first, key.second);
        else
            runtime_->TimerTick(key.first, key.second);
    }
    return Stopped() ? -1 : 0;
}

int BatchFrontEnd::RunLoop() {
    // Nothing outside RunFor waits on the loop: it runs until quit or stopped.
    while (!quit_ && !Stopped())
        if (RunFor(3600.0, {}) < 0) break;
    return quitValue_;
}

void BatchFrontEnd::QuitLoop(int value) {
    quit_ = true;
    quitValue_ = value;
}

void BatchFrontEnd::MessagePopup(const std::string& title, const std::string& text) {
    std::string line = text;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::fprintf(stderr, "%s: %s: %s\n", program_.c_str(), title.c_str(), line.c_str());
}

int BatchFrontEnd::ConfirmPopup(const std::string& title, const std::string& text) {
    // Nobody is there to agree: the careful answer, said so.
    MessagePopup(title, text + " (answered no)");
    return 0;
}

int BatchFrontEnd::FileSelectPopup(const FileSelectRequest& request, std::string* path) {
    if (fileAnswer_.empty()) return VAL_NO_FILE_SELECTED;
    *path = fileAnswer_;
    struct stat st {};
    // A load reports a missing file itself when it cannot open it.
    if (!request.saveButton || ::stat(fileAnswer_.c_str(), &st) == 0)
        return VAL_EXISTING_FILE_SELECTED;
    return VAL_NEW_FILE_SELECTED;
}

}  // namespace ui
