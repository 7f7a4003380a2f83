#pragma once
// The actions of FILENAME and FILEEXT lines on the part of a name. Each
// returns false when the line has no effect (the part is then unchanged).
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/apply_rules.h"
#include "engine/rule_text.h"

namespace quorv {

// PREFIX (front true) and SUFFIX: a quoted text or a generated value.
bool AddText(const EngineContext& ctx, const std::string& path, std::int32_t fileNumber, std::string_view remainder,
             bool front, std::string& part);

// INSERT "text" position:n
bool InsertText(const CodePage& cp, std::string_view remainder, std::string& part);

// REPLACE "find" with "replacement"
bool ReplaceText(const CodePage& cp, std::string_view remainder, std::string& part);

// Every occurrence of find replaced, left to right, never overlapping.
void ReplaceAll(const CodePage& cp, std::string& part, std::string_view find, std::string_view replacement);

// REMOVE of a text, with or without a '*' wildcard.
void RemoveText(const CodePage& cp, std::string& part, std::string_view text);

enum class CaseAction { Upper, Lower, Remove };

// UPPERCASE, LOWERCASE and REMOVE with their parameter word.
bool ChangeCase(const CodePage& cp, CaseAction action, std::string_view remainder, std::string& part);

// The left/right span of a part: [begin, end), never splitting a character.
struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
};
Span EndSpan(const CodePage& cp, std::string_view part, bool fromLeft, const SpanCount& count);

// The date written in the name, for a date format name; false when there is
// none (or the format has no search).
bool FindDateInName(const CodePage& cp, std::string_view part, std::string_view format, Span& span);

// Capitals (upper true) or small letters at the start of each word.
void FirstLetterOfEachWord(const CodePage& cp, std::string& part, bool upper);

}  // namespace quorv
