// A clock standing still at a chosen time, in a zone at a fixed offset from
// UTC: the date and time rules become testable, and the conversion to a
// calendar date is done here without the C library.
#include <cstdint>
#include <limits>

#include "platform/clock.h"

namespace quorv {
namespace {

// Floor division for a positive divisor.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b) != 0 && a < 0) --q;
    return q;
}

// Days since 1970-01-01 to a proleptic Gregorian date (the "civil from days"
// method: eras of 400 years).
void CivilFromDays(std::int64_t z, std::int64_t& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;                                   // [0, 146096]
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);               // [0, 365]
    const std::int64_t mp = (5 * doy + 2) / 153;                                    // [0, 11]
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2 ? 1 : 0);
}

bool IsLeap(std::int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

bool UtcToCalendar(std::int64_t utc, int offsetSeconds, LocalTime& out);

class FixedClock : public Clock {
public:
    FixedClock(std::int64_t now, int offset) : now_(now), offset_(offset) {}
    std::int64_t Now() const override { return now_; }
    bool ToLocal(std::int64_t utc, LocalTime& out) const override {
        return UtcToCalendar(utc, offset_, out);
    }

private:
    std::int64_t now_;
    int offset_;
};

// A point in time plus an offset, as a calendar date. False when the year
// does not fit.
bool UtcToCalendar(std::int64_t utc, int offsetSeconds, LocalTime& out) {
    // Keep far away from overflow: about 290 million years either way.
    constexpr std::int64_t kLimit = std::int64_t{1} << 53;
    if (utc > kLimit || utc < -kLimit) return false;
    const std::int64_t t = utc + offsetSeconds;
    const std::int64_t days = FloorDiv(t, 86400);
    const std::int64_t secs = t - days * 86400;
    std::int64_t year = 0;
    int month = 1, day = 1;
    CivilFromDays(days, year, month, day);
    if (year > std::numeric_limits<int>::max() || year < std::numeric_limits<int>::min()) return false;
    static const int kBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    out.year = static_cast<int>(year);
    out.month = month;
    out.day = day;
    out.hour = static_cast<int>(secs / 3600);
    out.minute = static_cast<int>((secs / 60) % 60);
    out.second = static_cast<int>(secs % 60);
    std::int64_t wd = (days + 4) % 7;  // 1970-01-01 was a Thursday
    if (wd < 0) wd += 7;
    out.weekday = static_cast<int>(wd);
    out.yearday = kBefore[month - 1] + day - 1 + ((month > 2 && IsLeap(year)) ? 1 : 0);
    return true;
}

}  // namespace

std::unique_ptr<Clock> MakeFixedClock(std::int64_t now, int utcOffsetSeconds) {
    return std::make_unique<FixedClock>(now, utcOffsetSeconds);
}

}  // namespace quorv
