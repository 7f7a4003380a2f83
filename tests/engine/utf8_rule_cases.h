#pragma once
// Rules on names holding UTF-8 sequences whose outcome is the same for every
// UTF-8 code page (the table page of the native build and the Windows page
// of a program whose narrow text is UTF-8): positions and lengths count
// bytes, and a span, a match or an insertion never splits a sequence.
// Case mapping is left out here: the Windows page maps every script, the
// table page ASCII only.

namespace quorv::test {

struct Utf8RuleCase {
    const char* name;  // the name part of "C:\\d\\" + name
    const char* rule;
    const char* expected;
};

// é (2 bytes), 表 (3 bytes), 😀 (4 bytes), α β (2 bytes each), Ж (2 bytes).
inline const Utf8RuleCase kUtf8RuleCases[] = {
    {"\xC3\xA9mile", "FILENAME REMOVE left length:1", "mile"},
    {"\xE8\xA1\xA8" "ab", "FILENAME REMOVE left length:2", "ab"},
    {"\xE8\xA1\xA8" "ab", "FILENAME REMOVE left length:4", "b"},
    {"ab\xF0\x9F\x98\x80", "FILENAME REMOVE right length:1", "ab"},
    {"ab\xF0\x9F\x98\x80", "FILENAME REMOVE right length:5", "a"},
    {"a\xE8\xA1\xA8" "b", "FILENAME REMOVE left length:#2", "ab"},
    {"a\xE8\xA1\xA8" "b", "FILENAME REMOVE right length:#2", "ab"},
    {"a\xC3\xA9", "FILENAME REPLACE \"\xC3\" with \"x\"", "a\xC3\xA9"},
    {"\xCE\xB1\xCE\xB2", "FILENAME REPLACE \"\xB1\xCE\" with \"-\"", "\xCE\xB1\xCE\xB2"},
    {"\xCE\xB1\xCE\xB2", "FILENAME REPLACE \"\xCE\xB2\" with \"b\"", "\xCE\xB1" "b"},
    {"\xE8\xA1\xA8" "ab", "FILENAME INSERT \"-\" position:2", "\xE8\xA1\xA8-ab"},
    {"\xE8\xA1\xA8" "ab", "FILENAME INSERT \"-\" position:3", "\xE8\xA1\xA8-ab"},
    {"\xE8\xA1\xA8" "ab", "FILENAME INSERT \"-\" position:4", "\xE8\xA1\xA8-ab"},
    {"\xE8\xA1\xA8" "ab", "FILENAME INSERT \"-\" position:5", "\xE8\xA1\xA8" "a-b"},
    {"x(\xD0\x96)y", "FILENAME REMOVE (*)", "xy"},
    {"12-25-0\xE8\xA1\xA8z", "FILENAME REMOVE date format:mm-dd-yy", "z"},
    {"\xF0\x9F\x98\x80" "ab", "FILENAME UPPERCASE left length:2", "\xF0\x9F\x98\x80" "ab"},
    {"a\xE8\xA1\xA8" "b", "FILENAME UPPERCASE all", "A\xE8\xA1\xA8" "B"},
    {"\xE8\xA1\xA8" "ab", "FILENAME PREFIX \"\xF0\x9F\x98\x80\"", "\xF0\x9F\x98\x80\xE8\xA1\xA8" "ab"},
    {"\xE8\xA1\xA8.t\xC3\xA9", "FILEEXT REMOVE all", "\xE8\xA1\xA8."},
};

}  // namespace quorv::test
