// The system clock on Windows: _time64() and _localtime64_s() of the C runtime.
#include <windows.h>

#include <ctime>

#include "platform/clock.h"

namespace quorv {
namespace {

class SystemClockImpl : public Clock {
public:
    std::int64_t Now() const override { return static_cast<std::int64_t>(_time64(nullptr)); }
    bool ToLocal(std::int64_t utc, LocalTime& out) const override {
        const __time64_t t = static_cast<__time64_t>(utc);
        std::tm tm{};
        if (_localtime64_s(&tm, &t) != 0) return false;
        out.year = tm.tm_year + 1900;
        out.month = tm.tm_mon + 1;
        out.day = tm.tm_mday;
        out.hour = tm.tm_hour;
        out.minute = tm.tm_min;
        out.second = tm.tm_sec;
        out.weekday = tm.tm_wday;
        out.yearday = tm.tm_yday;
        return true;
    }
};

}  // namespace

const Clock& SystemClock() {
    static const SystemClockImpl clock;
    return clock;
}

}  // namespace quorv
