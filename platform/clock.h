#pragma once
// The time seam: the clock and the conversion to local time, so that date
// and time rules can be tested with a fixed time and zone.
#include <cstdint>
#include <memory>

namespace quorv {

// A broken-down local time (as struct tm, but with a plain year and a 1-based month).
struct LocalTime {
    int year = 1970;   // four-digit year
    int month = 1;     // 1..12
    int day = 1;       // 1..31
    int hour = 0;      // 0..23
    int minute = 0;
    int second = 0;
    int weekday = 4;   // 0 = Sunday
    int yearday = 0;   // 0..365
};

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since 1 January 1970 00:00:00 UTC.
    virtual std::int64_t Now() const = 0;
    // Local time of a point in time; false when the conversion fails.
    virtual bool ToLocal(std::int64_t utcSeconds, LocalTime& out) const = 0;
};

// A clock standing at a fixed time, in a zone at a fixed offset from UTC.
std::unique_ptr<Clock> MakeFixedClock(std::int64_t now, int utcOffsetSeconds = 0);

}  // namespace quorv
