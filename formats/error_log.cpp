#include "formats/error_log.h"

#include <cstdio>
#include <vector>

namespace quorv {

std::string CutToWholeCharacters(const CodePage& codePage, std::string text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t step = codePage.CharLength(text, end);
        if (end + step > limit) break;
        end += step;
    }
    text.resize(end);
    return text;
}

std::string FormatLogMessageV(const CodePage& codePage, const char* format, va_list args) {
    if (format == nullptr) return std::string();
    std::vector<char> buffer(kErrorLogMessageLimit + 1);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        const int n = std::vsnprintf(buffer.data(), buffer.size(), format, copy);
        va_end(copy);
        if (n < 0) return std::string();  // a format the library cannot handle
        if (static_cast<std::size_t>(n) < buffer.size()) {
            return CutToWholeCharacters(codePage, std::string(buffer.data(), static_cast<std::size_t>(n)),
                                        kErrorLogMessageLimit);
        }
        buffer.resize(static_cast<std::size_t>(n) + 1);
    }
}

std::string FormatLogMessage(const CodePage& codePage, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string message = FormatLogMessageV(codePage, format, args);
    va_end(args);
    return message;
}

std::string ErrorLogStamp(const LocalTime& t) {
    char stamp[96];
    std::snprintf(stamp, sizeof stamp, "[%02d/%02d/%02d %02d:%02d:%02d] ", t.month, t.day, t.year,
                  t.hour, t.minute, t.second);
    return stamp;
}

std::string ErrorLogLine(const LocalTime& time, const std::string& message) {
    return ErrorLogStamp(time) + message + "\r\n";
}

void AppendErrorLog(FileSystem& fs, const Clock& clock, const std::string& folder,
                    const std::string& message) {
    LocalTime now;
    clock.ToLocal(clock.Now(), now);
    const std::string line = ErrorLogLine(now, message);
    const std::string path = folder + kErrorLogName;
    FileStatus status;
    if (fs.GetStatus(path, status) && status.size > kErrorLogSizeLimit) {
        fs.WriteFile(path, line);
    } else {
        fs.AppendFile(path, line);
    }
}

}  // namespace quorv
