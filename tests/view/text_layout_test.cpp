// The result view's layout: lines of CR LF text, wrapping at blanks by a
// width function, rows, hit testing, caret steps, words and selections.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "view/text_layout.h"

namespace quorv {
namespace {

const CodePage& Cp1252() {
    static const std::unique_ptr<CodePage> cp = MakeTableCodePage(1252);
    return *cp;
}
const CodePage& Cp932() {
    static const std::unique_ptr<CodePage> cp = MakeTableCodePage(932);
    return *cp;
}

// Every single-byte character 10 pixels wide, a double-byte one 20; tabs every 40.
int FixedWidth(std::string_view c) { return c.size() == 1 ? 10 : 20; }

std::unique_ptr<TextLayout> Layout(const std::string& text, int wrapWidth, const CodePage& cp = Cp1252()) {
    auto layout = std::make_unique<TextLayout>(cp);
    layout->SetText(text);
    layout->SetMeasure(FixedWidth, 40);
    layout->SetWrapWidth(wrapWidth);
    return layout;
}

// The text of every row, in order.
std::vector<std::string> Rows(TextLayout& layout) {
    std::vector<std::string> rows;
    for (std::size_t r = 0; r < layout.RowCount(); ++r) {
        const TextRow row = layout.Row(r);
        rows.push_back(layout.Text().substr(row.start, row.end - row.start));
    }
    return rows;
}

using Strings = std::vector<std::string>;

// ---------------------------------------------------------------- lines

TEST(TextLayoutLines, CrLfAndLoneLineFeedEndLines) {
    auto layout = Layout("a\r\nbc\r\n\r\nd\ne\rf", 1000);
    ASSERT_EQ(layout->LineCount(), 5u);
    const Strings expected = {"a", "bc", "", "d", "e\rf"};  // a lone CR is a character
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::size_t s = layout->LineStart(i), e = layout->LineEnd(i);
        EXPECT_EQ(layout->Text().substr(s, e - s), expected[i]) << "line " << i;
    }
    // The line break belongs to its line.
    EXPECT_EQ(layout->LineOf(1), 0u);  // CR
    EXPECT_EQ(layout->LineOf(2), 0u);  // LF
    EXPECT_EQ(layout->LineOf(3), 1u);
    EXPECT_EQ(layout->LineOf(layout->Size()), 4u);
}

TEST(TextLayoutLines, TextEndingWithBreakHasEmptyLastLine) {
    auto layout = Layout("one\r\ntwo\r\n", 1000);
    EXPECT_EQ(layout->LineCount(), 3u);
    EXPECT_EQ(layout->LineStart(2), layout->Size());
    EXPECT_EQ(layout->LineEnd(2), layout->Size());
    EXPECT_EQ(layout->RowCount(), 3u);

    auto empty = Layout("", 1000);
    EXPECT_EQ(empty->LineCount(), 1u);
    EXPECT_EQ(empty->RowCount(), 1u);
    const TextRow row = empty->Row(0);
    EXPECT_EQ(row.start, 0u);
    EXPECT_EQ(row.end, 0u);
}

TEST(TextLayoutLines, SetTextReplacesIndexAndRows) {
    auto layout = Layout("a\r\nb\r\nc", 1000);
    EXPECT_EQ(layout->RowCount(), 3u);
    layout->SetText("single line");
    EXPECT_EQ(layout->LineCount(), 1u);
    EXPECT_EQ(layout->RowCount(), 1u);
    EXPECT_EQ(Rows(*layout), Strings({"single line"}));
}

// ---------------------------------------------------------------- wrapping

struct WrapCase {
    const char* text;
    int width;
    Strings rows;
};

TEST(TextLayoutWrap, BreaksAtBlanksOrInsideLongWords) {
    const WrapCase cases[] = {
        {"aaa bbb ccc", 50, {"aaa ", "bbb ", "ccc"}},
        {"aaa bbb ccc", 69, {"aaa ", "bbb ", "ccc"}},
        {"aaa bbb ccc", 70, {"aaa bbb ", "ccc"}},  // a word that fits exactly stays
        {"aaa bbb ccc", 110, {"aaa bbb ccc"}},
        // A word wider than the row breaks between characters.
        {"abcdefghijkl", 50, {"abcde", "fghij", "kl"}},
        // Blanks hang past the row's end and never start a row.
        {"abcde     fgh", 50, {"abcde     ", "fgh"}},
        {"ab cdefghij", 50, {"ab ", "cdefg", "hij"}},
        // Two blanks between words, as in the result lines.
        {"\"a\"  changed to  \"b\"", 100, {"\"a\"  ", "changed to  ", "\"b\""}},
        // Leading blanks are a row of their own when the word does not fit after them.
        {"   abc", 40, {"   ", "abc"}},
        // Narrower than one character: one character a row.
        {"abc", 0, {"a", "b", "c"}},
        {"abc", 5, {"a", "b", "c"}},
    };
    for (const WrapCase& c : cases) {
        auto layout = Layout(c.text, c.width);
        EXPECT_EQ(Rows(*layout), c.rows) << '"' << c.text << "\" at " << c.width;
        EXPECT_EQ(layout->RowCount(), c.rows.size()) << c.text;
    }
}

TEST(TextLayoutWrap, RowsOfSeveralLinesAndWidthChanges) {
    auto layout = Layout("aaa bbb\r\n\r\ncccccc\r\nd", 50);
    EXPECT_EQ(Rows(*layout), Strings({"aaa ", "bbb", "", "ccccc", "c", "d"}));
    EXPECT_EQ(layout->FirstRowOfLine(0), 0u);
    EXPECT_EQ(layout->FirstRowOfLine(1), 2u);
    EXPECT_EQ(layout->FirstRowOfLine(2), 3u);
    EXPECT_EQ(layout->FirstRowOfLine(3), 5u);
    const TextRow r3 = layout->Row(3);
    EXPECT_EQ(r3.line, 2u);
    EXPECT_FALSE(r3.lastOfLine);
    EXPECT_TRUE(layout->Row(4).lastOfLine);

    layout->SetWrapWidth(1000);
    EXPECT_EQ(Rows(*layout), Strings({"aaa bbb", "", "cccccc", "d"}));
    layout->SetWrapWidth(30);
    EXPECT_EQ(layout->RowCount(), 2u + 1u + 2u + 1u);
}

TEST(TextLayoutWrap, TabsAdvanceToTheNextStop) {
    auto layout = Layout("a\tb", 1000);
    const TextRow row = layout->Row(0);
    EXPECT_EQ(layout->XOf(row, 1), 10);
    EXPECT_EQ(layout->XOf(row, 2), 40);  // the tab runs to the stop at 40
    EXPECT_EQ(layout->XOf(row, 3), 50);
    // A tab is a blank: it hangs and the row may break after it.
    auto wrapped = Layout("abc\tdef", 60);
    EXPECT_EQ(Rows(*wrapped), Strings({"abc\t", "def"}));
}

TEST(TextLayoutWrap, DoubleByteCharactersAreNeverSplit) {
    // 0x95 0x5C is one character of code page 932 whose second byte is a backslash.
    const std::string kanji = "\x95\x5C";
    auto layout = Layout("ab" + kanji + kanji + "cd", 50, Cp932());
    // a b (20) + kanji (40) fits, the next kanji (60) does not.
    EXPECT_EQ(Rows(*layout), Strings({"ab" + kanji, kanji + "cd"}));
    // A lead byte at a line end does not swallow the line break.
    auto broken = Layout("ab\x95\r\ncd", 1000, Cp932());
    ASSERT_EQ(broken->LineCount(), 2u);
    EXPECT_EQ(broken->LineEnd(0), 3u);
    EXPECT_EQ(broken->Next(2), 3u);
    EXPECT_EQ(broken->Next(3), 5u);
}

TEST(TextLayoutWrap, EachDistinctCharacterIsMeasuredOnce) {
    std::map<std::string, int> calls;
    TextLayout layout(Cp932());
    std::string text;
    for (int i = 0; i < 1000; ++i) text += "abc \x95\x5C\r\n";
    layout.SetText(text);
    layout.SetMeasure(
        [&calls](std::string_view c) {
            ++calls[std::string(c)];
            return 7;
        },
        0);
    layout.SetWrapWidth(1000);
    EXPECT_EQ(layout.RowCount(), 1001u);
    for (std::size_t r = 0; r < 50; ++r) layout.XOf(layout.Row(r), layout.Row(r).end);
    for (const auto& kv : calls) EXPECT_EQ(kv.second, 1) << kv.first;
    EXPECT_EQ(calls.size(), 5u);  // a, b, c, blank, the double-byte character
    // A new measure forgets the old widths.
    layout.SetMeasure(FixedWidth, 40);
    layout.SetWrapWidth(30);
    EXPECT_EQ(Rows(layout)[0], "abc ");
}

TEST(TextLayoutWrap, ManyLinesCountAndMapRows) {
    std::string text;
    const int lines = 100000;
    for (int i = 0; i < lines; ++i) {
        text += "\"C:\\Photos\\holiday " + std::to_string(i) + ".jpg\"  has been changed to  \"C:\\x.jpg\"\r\n";
    }
    auto layout = Layout(text, 400);  // 40 characters a row
    // Each line: 1 + breaks; compare with a row-by-row walk of a sample.
    const std::size_t rows = layout->RowCount();
    EXPECT_GT(rows, static_cast<std::size_t>(lines) * 2);
    const TextRow last = layout->Row(rows - 1);
    EXPECT_EQ(last.line, static_cast<std::size_t>(lines));  // the empty last line
    EXPECT_EQ(last.start, text.size());
    // Rows and RowOf agree everywhere in a stretch of the middle.
    const std::size_t mid = layout->FirstRowOfLine(50000);
    for (std::size_t r = mid; r < mid + 20; ++r) {
        const TextRow row = layout->Row(r);
        EXPECT_EQ(layout->RowOf(row.start), r);
        EXPECT_LE(layout->RowWidth(row), 400 + 10 * 2) << r;  // at most the hanging blanks
    }
}

// ---------------------------------------------------------------- rows and hits

TEST(TextLayoutHit, RowOfSoftBreakAndEndOfRow) {
    auto layout = Layout("aaa bbb ccc", 50);  // "aaa ", "bbb ", "ccc"
    EXPECT_EQ(layout->RowOf(0), 0u);
    EXPECT_EQ(layout->RowOf(3), 0u);
    EXPECT_EQ(layout->RowOf(4), 1u);        // a soft break starts the next row
    EXPECT_EQ(layout->RowOf(4, true), 0u);  // unless the end of the row is asked for
    EXPECT_EQ(layout->RowOf(11), 2u);
    EXPECT_EQ(layout->RowOf(11, true), 2u);
    auto lines = Layout("ab\r\ncd", 50);
    EXPECT_EQ(lines->RowOf(2), 0u);  // the line end
    EXPECT_EQ(lines->RowOf(4), 1u);
    EXPECT_EQ(lines->RowOf(4, true), 1u);  // a line start is no soft break
}

TEST(TextLayoutHit, OffsetAtXRoundsToTheNearestBoundary) {
    auto layout = Layout("abc\r\nxy", 1000);
    const TextRow row = layout->Row(0);
    const struct {
        int x;
        std::size_t offset;
    } cases[] = {{-5, 0}, {0, 0}, {4, 0}, {5, 1}, {14, 1}, {15, 2}, {29, 3}, {500, 3}};
    for (const auto& c : cases) EXPECT_EQ(layout->OffsetAtX(row, c.x), c.offset) << c.x;
    for (std::size_t o = 0; o <= 3; ++o) EXPECT_EQ(layout->OffsetAtX(row, layout->XOf(row, o)), o);
    // Past the end of a soft-wrapped row: its end, which is where the next row starts.
    auto wrapped = Layout("aaa bbb", 50);
    EXPECT_EQ(wrapped->OffsetAtX(wrapped->Row(0), 1000), 4u);
    EXPECT_EQ(wrapped->OffsetAtX(wrapped->Row(1), 1000), 7u);
}

TEST(TextLayoutHit, DoubleByteHitsLandOnCharacterBoundaries) {
    const std::string kanji = "\x95\x5C";
    auto layout = Layout("a" + kanji + "b", 1000, Cp932());
    const TextRow row = layout->Row(0);
    EXPECT_EQ(layout->XOf(row, 3), 30);
    EXPECT_EQ(layout->OffsetAtX(row, 12), 1u);
    EXPECT_EQ(layout->OffsetAtX(row, 21), 3u);  // past the middle of the kanji
    EXPECT_EQ(layout->OffsetAtX(row, 19), 1u);
}

// ---------------------------------------------------------------- steps, words, selection

TEST(TextLayoutSteps, NextAndPreviousTreatCrLfAndDoubleBytesAsOne) {
    const std::string kanji = "\x95\x5C";
    auto layout = Layout("a" + kanji + "\r\nb", 1000, Cp932());
    // offsets: a=0, kanji=1..2, CR=3, LF=4, b=5
    std::vector<std::size_t> forward = {0};
    for (std::size_t o = 0; o < layout->Size();) forward.push_back(o = layout->Next(o));
    EXPECT_EQ(forward, (std::vector<std::size_t>{0, 1, 3, 5, 6}));
    std::vector<std::size_t> back = {6};
    for (std::size_t o = 6; o > 0;) back.push_back(o = layout->Previous(o));
    EXPECT_EQ(back, (std::vector<std::size_t>{6, 5, 3, 1, 0}));
    // Snapping never leaves an offset inside a character or a line break.
    EXPECT_EQ(layout->Snap(2), 1u);
    EXPECT_EQ(layout->Snap(4), 3u);
    EXPECT_EQ(layout->Snap(99), 6u);
    EXPECT_EQ(layout->Previous(4), 1u);
}

TEST(TextLayoutSteps, WordsAndBlanks) {
    auto layout = Layout("one  two three\r\nfour", 1000);
    EXPECT_EQ(layout->NextWord(0), 5u);
    EXPECT_EQ(layout->NextWord(5), 9u);
    EXPECT_EQ(layout->NextWord(9), 14u);   // the line end
    EXPECT_EQ(layout->NextWord(14), 16u);  // over the break
    EXPECT_EQ(layout->PreviousWord(16), 14u);
    EXPECT_EQ(layout->PreviousWord(14), 9u);
    EXPECT_EQ(layout->PreviousWord(7), 5u);
    EXPECT_EQ(layout->PreviousWord(5), 0u);
    EXPECT_EQ(layout->PreviousWord(0), 0u);

    using Range = std::pair<std::size_t, std::size_t>;
    EXPECT_EQ(layout->WordAt(1), Range(0, 3));
    EXPECT_EQ(layout->WordAt(3), Range(3, 5));  // the blanks between words
    EXPECT_EQ(layout->WordAt(6), Range(5, 8));
    EXPECT_EQ(layout->WordAt(14), Range(14, 14));
    EXPECT_EQ(layout->WordAt(17), Range(16, 20));
}

TEST(TextLayoutSelection, TextOfASelectionInEitherDirection) {
    auto layout = Layout("first\r\nsecond\r\nthird", 1000);
    EXPECT_EQ(layout->SelectedText({2, 10}), "rst\r\nsec");
    EXPECT_EQ(layout->SelectedText({10, 2}), "rst\r\nsec");
    EXPECT_EQ(layout->SelectedText({4, 4}), "");
    EXPECT_EQ(layout->SelectedText({0, 1000}), layout->Text());
    TextSelection s{9, 3};
    EXPECT_EQ(s.begin(), 3u);
    EXPECT_EQ(s.end(), 9u);
    EXPECT_FALSE(s.empty());
}

}  // namespace
}  // namespace quorv
