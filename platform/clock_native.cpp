// The system clock natively: time() and localtime_r().
#include <ctime>
#include <limits>

#include "platform/clock.h"

namespace quorv {
namespace {

class SystemClockImpl : public Clock {
public:
    std::int64_t Now() const override { return static_cast<std::int64_t>(std::time(nullptr)); }
    bool ToLocal(std::int64_t utc, LocalTime& out) const override {
        if (utc > std::numeric_limits<std::time_t>::max() || utc < std::numeric_limits<std::time_t>::min()) {
            return false;
        }
        const std::time_t t = static_cast<std::time_t>(utc);
        std::tm tm{};
        if (localtime_r(&t, &tm) == nullptr) return false;
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
