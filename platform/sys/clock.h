#pragma once
// Time as the programs see it: a monotonic seconds counter, a blocking delay and the local
// calendar time. Programs take a Clock& so tests can run them on a virtual clock that never
// sleeps.

#include <functional>
#include <vector>

namespace sys {

// Local calendar time, as the date and time controls and file names need it.
struct DateTime {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const DateTime&) const = default;
};

class Clock {
  public:
    virtual ~Clock() = default;
    // Seconds since an arbitrary start, never going backwards.
    virtual double Now() = 0;
    // Blocks for `seconds` (negative counts as zero).
    virtual void Delay(double seconds) = 0;
    virtual DateTime LocalNow() = 0;
};

// The machine's clocks: steady_clock for Now and Delay, the local time zone for LocalNow.
class SystemClock final : public Clock {
  public:
    double Now() override;
    void Delay(double seconds) override;
    DateTime LocalNow() override;
};

// A clock that moves only when told to. Delay advances it at once and is recorded, so a test
// can see that a 0.1 s pause happened without waiting for it.
class VirtualClock final : public Clock {
  public:
    double Now() override { return now_; }
    void Delay(double seconds) override;
    DateTime LocalNow() override;

    void Advance(double seconds);
    // The calendar time at Now() == 0; LocalNow adds the elapsed virtual seconds.
    void SetLocalStart(const DateTime& start) { start_ = start; }
    const std::vector<double>& Delays() const { return delays_; }
    void ClearDelays() { delays_.clear(); }
    // Called at the start of every Delay with its length (tests look at the screen then).
    void SetDelayHook(std::function<void(double)> hook) { hook_ = std::move(hook); }

  private:
    double now_ = 0.0;
    DateTime start_{2013, 5, 28, 9, 0, 0};
    std::vector<double> delays_;
    std::function<void(double)> hook_;
};

// Adds whole seconds to a calendar time (used by VirtualClock; handles month and year ends).
DateTime AddSeconds(const DateTime& t, long long seconds);

}  // namespace sys
