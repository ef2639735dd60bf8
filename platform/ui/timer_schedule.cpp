#include "platform/ui/timer_schedule.h"

#include "platform/ui/runtime.h"

namespace ui {

void TimerSchedule::Track(const Runtime& runtime, int panel, int control, double now) {
    const Control* c = runtime.GetControl(panel, control);
    const Key key{panel, control};
    if (!c || c->kind != Kind::Timer || !c->enabled) {
        due_.erase(key);
        intervals_.erase(key);
        return;
    }
    auto it = intervals_.find(key);
    if (it == intervals_.end() || it->second != c->interval || !due_.count(key)) {
        due_[key] = now + c->interval;
        intervals_[key] = c->interval;
    }
}

void TimerSchedule::TrackPanel(const Runtime& runtime, int panel, double now) {
    for (int h : runtime.PanelHandles()) {
        if (runtime.TopPanel(h) != panel) continue;
        for (const auto& c : runtime.GetPanel(h)->controls)
            if (c.kind == Kind::Timer) Track(runtime, h, c.id, now);
    }
}

void TimerSchedule::Forget(const Runtime& runtime, int panel) {
    for (auto it = due_.begin(); it != due_.end();) {
        if (runtime.TopPanel(it->first.first) == panel) {
            intervals_.erase(it->first);
            it = due_.erase(it);
        } else {
            ++it;
        }
    }
}

bool TimerSchedule::Next(Key* key, double* at, double upTo) const {
    bool found = false;
    for (const auto& [k, t] : due_) {
        if (t > upTo || (found && t >= *at)) continue;
        *key = k;
        *at = t;
        found = true;
    }
    return found;
}

void TimerSchedule::Ticked(const Key& key, double at, double now) {
    auto it = due_.find(key);
    if (it == due_.end()) return;
    const double interval = intervals_[key];
    double following = at + interval;
    if (following <= now) following = now + interval;
    it->second = following;
}

}  // namespace ui
