#include "platform/ui/batch_front_end.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "platform/ui/runtime.h"

namespace ui {

void BatchFrontEnd::Changed(Change what, int panel, int control) {
    if (what == Change::PanelLoaded) {
        timers_.TrackPanel(*runtime_, panel, clock_.Now());
    } else if (what == Change::Timer) {
        timers_.Track(*runtime_, panel, control, clock_.Now());
    } else if (what == Change::Control) {
        if (controlWatcher_) controlWatcher_(panel, control);
    } else if (what == Change::PanelDiscarded) {
        timers_.Forget(*runtime_, panel);
    }
}

int BatchFrontEnd::RunFor(double seconds, const std::function<void(int, int)>& tick) {
    quit_ = false;
    const double end = clock_.Now() + std::max(0.0, seconds);
    while (!quit_ && !Stopped()) {
        // With no timer running nothing more can happen.
        TimerSchedule::Key key;
        double at = 0;
        if (!timers_.Next(&key, &at)) return 0;
        const double wake = std::min(end, at);
        // Short naps, so Ctrl+C is seen within a tenth of a second.
        while (!Stopped() && clock_.Now() < wake)
            clock_.Delay(std::min(0.1, wake - clock_.Now()));
        if (Stopped()) break;
        if (at > end) {
            if (clock_.Now() >= end) return 0;
            continue;
        }
        timers_.Ticked(key, at, clock_.Now());
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
