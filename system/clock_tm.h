#pragma once
// The C runtime's broken-down time as the program's LocalTime.
#include <ctime>

#include "platform/clock.h"

namespace quorv {

inline LocalTime LocalTimeFromTm(const std::tm& tm) {
    LocalTime out;
    out.year = tm.tm_year + 1900;
    out.month = tm.tm_mon + 1;
    out.day = tm.tm_mday;
    out.hour = tm.tm_hour;
    out.minute = tm.tm_min;
    out.second = tm.tm_sec;
    out.weekday = tm.tm_wday;
    out.yearday = tm.tm_yday;
    return out;
}

}  // namespace quorv
