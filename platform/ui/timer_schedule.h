#pragma once
// The timer controls a front end without an event loop of its own has to tick: each enabled
// timer and the time of its next tick, on whatever clock the front end keeps.

#include <limits>
#include <map>
#include <utility>

namespace ui {

class Runtime;

class TimerSchedule {
  public:
    using Key = std::pair<int, int>;  // panel, control

    // A timer that starts, or whose interval changes, counts its interval from `now`; one that
    // is disabled or gone is dropped.
    void Track(const Runtime& runtime, int panel, int control, double now);
    // Every timer of a panel just loaded, its tab pages included.
    void TrackPanel(const Runtime& runtime, int panel, double now);
    // Drops the timers of a discarded panel and its pages.
    void Forget(const Runtime& runtime, int panel);

    // The timer due first, at or before `upTo`: false when there is none.
    bool Next(Key* key, double* at, double upTo = std::numeric_limits<double>::infinity()) const;
    // Sets the timer's next tick one interval on from the tick at `at`; a tick that fell behind
    // (a long delay, a slow callback) does not come back as a burst.
    void Ticked(const Key& key, double at, double now);

    bool Empty() const { return due_.empty(); }
    const std::map<Key, double>& Due() const { return due_; }

  private:
    std::map<Key, double> due_;
    std::map<Key, double> intervals_;
};

}  // namespace ui
