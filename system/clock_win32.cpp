// The system clock on Windows: _time64() and _localtime64_s() of the C runtime.
#include <windows.h>

#include <ctime>

#include "platform/clock.h"
#include "system/clock_tm.h"
#include "system/system.h"

namespace quorv {
namespace {

class SystemClockImpl : public Clock {
public:
    std::int64_t Now() const override { return static_cast<std::int64_t>(_time64(nullptr)); }
    bool ToLocal(std::int64_t utc, LocalTime& out) const override {
        const __time64_t t = static_cast<__time64_t>(utc);
        std::tm tm{};
        if (_localtime64_s(&tm, &t) != 0) return false;
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
