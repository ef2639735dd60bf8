#include "platform/sys/clock.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>

namespace sys {

double SystemClock::Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::Delay(double seconds) {
    if (seconds <= 0.0) return;
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

DateTime SystemClock::LocalNow() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

void VirtualClock::Delay(double seconds) {
    if (seconds < 0.0) seconds = 0.0;
    delays_.push_back(seconds);
    if (hook_) hook_(seconds);
    now_ += seconds;
}

void VirtualClock::Advance(double seconds) {
    if (seconds > 0.0) now_ += seconds;
}

DateTime VirtualClock::LocalNow() {
    return AddSeconds(start_, static_cast<long long>(std::floor(now_)));
}

DateTime AddSeconds(const DateTime& t, long long seconds) {
    // timegm/gmtime_r do the calendar arithmetic without a time zone getting in the way.
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    std::time_t base = timegm(&tm);
    std::time_t moved = base + static_cast<std::time_t>(seconds);
    std::tm out{};
    gmtime_r(&moved, &out);
    return DateTime{out.tm_year + 1900, out.tm_mon + 1, out.tm_mday,
                    out.tm_hour,        out.tm_min,     out.tm_sec};
}

}  // namespace sys
