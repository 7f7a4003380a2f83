#pragma once
// Values that the generated PREFIX/SUFFIX forms add: sequence numbers, and
// the current or a file's date and time.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/apply_rules.h"
#include "engine/rule_text.h"

namespace quorv {

// Widths beyond this add no further zeros: no file name can be that long,
// and an absurd width must not exhaust memory.
constexpr std::int32_t kMaxDigitWidth = 1024;

// The sequence number S + T * n (32-bit, wrapping) padded with zeros in
// front to the width W.
std::string SequenceText(const DigitExpression& d, std::int32_t fileNumber);

// Formats a local time by a date format name ("yyyy-mm-dd", ...,
// "short_local_date", "long_local_date") or a time format name ("H.M",
// "H.M.S", "I.M", "I.M.S"). False when the name is not in the list asked for.
bool FormatDate(std::string_view name, const LocalTime& t, std::string& out);
bool FormatTime(std::string_view name, const LocalTime& t, std::string& out);
bool IsDateFormatName(std::string_view name);
bool IsTimeFormatName(std::string_view name);
// The kinds whose value is read from the file's tags or its picture.
bool IsTagOrPictureKind(std::string_view kind);

// The value of a generated form: kind word and parameter (the text after the
// colon). Empty when the kind adds nothing.
std::string GeneratedValue(const EngineContext& ctx, const std::string& path, std::int32_t fileNumber,
                           std::string_view kind, std::string_view parameter);

}  // namespace quorv
