#include "engine/inserted_values.h"

#include <cstdio>

#include "engine/media_values.h"
#include "formats/int32_wrap.h"

namespace quorv {
namespace {

// Appends v with at least `digits` digits (zeros in front), minus sign first.
void AppendPadded(std::string& out, long long v, int digits) {
    char buf[32];
    const int n = std::snprintf(buf, sizeof buf, "%0*lld", digits, v);
    if (n > 0) out.append(buf, static_cast<std::size_t>(n) < sizeof buf ? static_cast<std::size_t>(n) : sizeof buf - 1);
}

void Append2(std::string& out, int v) { AppendPadded(out, v, 2); }

int TwoDigitYear(int year) { return ((year % 100) + 100) % 100; }

void AppendYear4(std::string& out, int year) { AppendPadded(out, year, 4); }

const char* const kWeekdays[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                 "July",    "August",   "September", "October", "November", "December"};

enum class Field { Day, Month, Year2, Year4 };

struct DateLayout {
    const char* name;
    Field fields[3];
    char sep;
};

const DateLayout kDateLayouts[] = {
    {"mm-dd-yy", {Field::Month, Field::Day, Field::Year2}, '-'},
    {"yy-mm-dd", {Field::Year2, Field::Month, Field::Day}, '-'},
    {"mm-dd-yyyy", {Field::Month, Field::Day, Field::Year4}, '-'},
    {"yyyy-mm-dd", {Field::Year4, Field::Month, Field::Day}, '-'},
    {"dd-mm-yy", {Field::Day, Field::Month, Field::Year2}, '-'},
    {"dd-mm-yyyy", {Field::Day, Field::Month, Field::Year4}, '-'},
    {"mm.dd.yy", {Field::Month, Field::Day, Field::Year2}, '.'},
    {"yy.mm.dd", {Field::Year2, Field::Month, Field::Day}, '.'},
    {"mm.dd.yyyy", {Field::Month, Field::Day, Field::Year4}, '.'},
    {"yyyy.mm.dd", {Field::Year4, Field::Month, Field::Day}, '.'},
    {"dd.mm.yy", {Field::Day, Field::Month, Field::Year2}, '.'},
    {"dd.mm.yyyy", {Field::Day, Field::Month, Field::Year4}, '.'},
    // The short local date of the program's (standard) locale: month, day,
    // two-digit year, with its slashes written as dashes.
    {"short_local_date", {Field::Month, Field::Day, Field::Year2}, '-'},
};

const DateLayout* FindDateLayout(std::string_view name) {
    for (const DateLayout& l : kDateLayouts) {
        if (name == l.name) return &l;
    }
    return nullptr;
}

void AppendField(std::string& out, Field f, const LocalTime& t) {
    switch (f) {
        case Field::Day: Append2(out, t.day); break;
        case Field::Month: Append2(out, t.month); break;
        case Field::Year2: Append2(out, TwoDigitYear(t.year)); break;
        case Field::Year4: AppendYear4(out, t.year); break;
    }
}

// The date and time kind words; false for any other word.
bool IsTimeKind(std::string_view kind, bool& isDate) {
    static const char* const kDates[] = {"date", "file_create_date", "file_modify_date", "file_last_access_date"};
    static const char* const kTimes[] = {"time", "file_create_time", "file_modify_time", "file_last_access_time"};
    for (const char* k : kDates) {
        if (kind == k) { isDate = true; return true; }
    }
    for (const char* k : kTimes) {
        if (kind == k) { isDate = false; return true; }
    }
    return false;
}

std::int64_t TimeOf(const EngineContext& ctx, const std::string& path, std::string_view kind) {
    if (kind == "date" || kind == "time") return ctx.clock ? ctx.clock->Now() : 0;
    FileStatus status;
    // A file whose status cannot be read has the time zero.
    if (!ctx.fileSystem || !ctx.fileSystem->GetStatus(path, status)) return 0;
    if (kind == "file_create_date" || kind == "file_create_time") return status.times.created;
    if (kind == "file_modify_date" || kind == "file_modify_time") return status.times.modified;
    return status.times.accessed;
}

}  // namespace

std::string SequenceText(const DigitExpression& d, std::int32_t fileNumber) {
    const std::uint32_t v = static_cast<std::uint32_t>(d.start) +
                            static_cast<std::uint32_t>(d.step) * static_cast<std::uint32_t>(fileNumber);
    const std::int32_t value = WrapToInt32(v);
    std::string text = std::to_string(value);
    const std::int32_t width = d.width < kMaxDigitWidth ? d.width : kMaxDigitWidth;
    if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    }
    return text;
}

bool IsTagOrPictureKind(std::string_view kind) {
    return kind == "image" || kind == "mp3tagv1" || kind == "mp3tagv2";
}

bool IsDateFormatName(std::string_view name) { return name == "long_local_date" || FindDateLayout(name) != nullptr; }

bool IsTimeFormatName(std::string_view name) {
    return name == "H.M" || name == "H.M.S" || name == "I.M" || name == "I.M.S";
}

bool FormatDate(std::string_view name, const LocalTime& t, std::string& out) {
    out.clear();
    if (name == "long_local_date") {
        if (t.weekday < 0 || t.weekday > 6 || t.month < 1 || t.month > 12) return true;  // empty: no date
        out += kWeekdays[t.weekday];
        out += ", ";
        out += kMonths[t.month - 1];
        out += ' ';
        Append2(out, t.day);
        out += ", ";
        AppendYear4(out, t.year);
        return true;
    }
    const DateLayout* layout = FindDateLayout(name);
    if (!layout) return false;
    for (int i = 0; i < 3; ++i) {
        if (i) out += layout->sep;
        AppendField(out, layout->fields[i], t);
    }
    return true;
}

bool FormatTime(std::string_view name, const LocalTime& t, std::string& out) {
    out.clear();
    const bool twelve = name == "I.M" || name == "I.M.S";
    const bool seconds = name == "H.M.S" || name == "I.M.S";
    if (!twelve && name != "H.M" && name != "H.M.S") return false;
    int hour = t.hour;
    if (twelve) {
        hour = t.hour % 12;
        if (hour == 0) hour = 12;
    }
    Append2(out, hour);
    out += '.';
    Append2(out, t.minute);
    if (seconds) {
        out += '.';
        Append2(out, t.second);
    }
    if (twelve) out += t.hour < 12 ? "AM" : "PM";
    return true;
}

std::string GeneratedValue(const EngineContext& ctx, const std::string& path, std::int32_t fileNumber,
                           std::string_view kind, std::string_view parameter) {
    if (kind == "digit") {
        return SequenceText(ReadDigitExpression(*ctx.codePage, parameter), fileNumber);
    }
    if (kind == "image") return PictureValue(ctx, path, std::string(parameter));
    if (kind == "mp3tagv1") return Mp3TagValue(ctx, path, false, std::string(parameter));
    if (kind == "mp3tagv2") return Mp3TagValue(ctx, path, true, std::string(parameter));

    bool isDate = false;
    if (!IsTimeKind(kind, isDate)) return {};
    // A parameter outside the kind's own list is the text itself; the time
    // is then not needed at all.
    if (isDate ? !IsDateFormatName(parameter) : !IsTimeFormatName(parameter)) return std::string(parameter);
    LocalTime local;
    if (!ctx.clock || !ctx.clock->ToLocal(TimeOf(ctx, path, kind), local)) return {};
    std::string out;
    if (isDate) FormatDate(parameter, local, out);
    else FormatTime(parameter, local, out);
    return out;
}

}  // namespace quorv
