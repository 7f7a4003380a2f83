// The system clock natively: time() and localtime_r().
#include <ctime>
#include <limits>

#include "platform/clock.h"
#include "system/clock_tm.h"
#include "system/system.h"

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
        out = LocalTimeFromTm(tm);
        return true;
    }
};

}  // namespace

const Clock& SystemClock() {
    static const SystemClockImpl clock;
    return clock;
}

}  // namespace quorv
