#pragma once
// The layout of the result view: read-only text of CR LF lines, wrapped at
// word boundaries to a width, with hit testing, caret steps and selections.
// Portable: widths come from a measuring function (the view's font on
// Windows, a fixed table in tests), so everything here is tested natively.
//
// Offsets are byte offsets into the text. A line ends before its "\r\n"
// (or a lone "\n"); a text that ends with a line break has an empty last
// line. Offsets never fall inside a character of the code page nor between
// CR and LF: the steps below move over both as one.
//
// Wrapping is computed for every line once per text, width or font (a
// table lookup per byte: milliseconds for megabytes); the row breaks of a
// line are recomputed on demand, so only visible rows cost more.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/codepage.h"

namespace quorv {

// One visual row: bytes [start, end) of a logical line. A row that ends at
// a soft break ends where the next row starts (its trailing blanks belong
// to it); the last row of a line ends before the line break.
struct TextRow {
    std::size_t line = 0;
    std::size_t start = 0;
    std::size_t end = 0;
    bool lastOfLine = true;
};

// A selection: the anchor stays where it began, the caret moves.
struct TextSelection {
    std::size_t anchor = 0;
    std::size_t caret = 0;
    std::size_t begin() const { return anchor < caret ? anchor : caret; }
    std::size_t end() const { return anchor < caret ? caret : anchor; }
    bool empty() const { return anchor == caret; }
};

class TextLayout {
public:
    // Width in pixels of one character (its bytes, one or more).
    using MeasureFn = std::function<int(std::string_view character)>;

    explicit TextLayout(const CodePage& codePage);

    // ---- text and lines
    void SetText(std::string text);
    const std::string& Text() const { return text_; }
    std::size_t Size() const { return text_.size(); }
    std::size_t LineCount() const { return lineStarts_.size(); }
    std::size_t LineStart(std::size_t line) const;
    // One past the last byte of the line, before its line break.
    std::size_t LineEnd(std::size_t line) const;
    // The line that holds the offset (a line break belongs to its line).
    std::size_t LineOf(std::size_t offset) const;

    // ---- metrics and wrapping
    // Character widths are asked once per distinct character and kept until
    // the next SetMeasure. A tab advances to the next multiple of tabWidth.
    void SetMeasure(MeasureFn measure, int tabWidth);
    // The width rows wrap at; anything below 1 puts one character on a row.
    void SetWrapWidth(int width);
    int WrapWidth() const { return wrapWidth_; }

    std::size_t RowCount();
    TextRow Row(std::size_t row);
    // The row that shows the offset. An offset at a soft break belongs to
    // the row it starts, unless endOfRow asks for the row it ends.
    std::size_t RowOf(std::size_t offset, bool endOfRow = false);
    std::size_t FirstRowOfLine(std::size_t line);

    // x of an offset within its row (0 at the row's start).
    int XOf(const TextRow& row, std::size_t offset);
    // The offset of the character boundary nearest to x within the row.
    std::size_t OffsetAtX(const TextRow& row, int x);
    // Width of the row's shown text (blanks included).
    int RowWidth(const TextRow& row) { return XOf(row, row.end); }

    // ---- steps (never inside a character, a CR LF counts as one)
    std::size_t Next(std::size_t offset) const;
    std::size_t Previous(std::size_t offset) const;
    // The nearest boundary at or before the offset.
    std::size_t Snap(std::size_t offset) const;
    // Start of the next word (after the blanks that follow this one), or the
    // end of the line, or the next line; and back.
    std::size_t NextWord(std::size_t offset) const;
    std::size_t PreviousWord(std::size_t offset) const;
    // The word (a run of non-blanks) or the run of blanks at the offset, for a
    // double click. Empty at a line end.
    std::pair<std::size_t, std::size_t> WordAt(std::size_t offset) const;

    std::string SelectedText(const TextSelection& selection) const;

    // Width of the character of `length` bytes at offset, drawn at x (tabs depend on x).
    int CharWidth(std::size_t offset, std::size_t length, int x);
    // Bytes of the character at offset (1 for a line break byte).
    std::size_t CharLength(std::size_t offset) const;

private:
    // Row starts after the first within line (empty when it fits on one row).
    void WrapLine(std::size_t line, std::vector<std::size_t>* breaks);
    void EnsureRows();
    const std::vector<std::size_t>& BreaksOf(std::size_t line);
    int Measure(std::string_view character);

    const CodePage& codePage_;
    std::string text_;
    std::vector<std::size_t> lineStarts_;
    // Bytes that may begin a character of more than one byte.
    bool multiByteLead_[256];

    MeasureFn measure_;
    int tabWidth_ = 0;
    int singleWidths_[256];
    std::unordered_map<std::string, int> multiWidths_;

    int wrapWidth_ = 0;
    bool rowsValid_ = false;
    std::vector<std::size_t> firstRow_;  // per line, plus the total at the end
    std::size_t cachedLine_ = static_cast<std::size_t>(-1);
    std::vector<std::size_t> cachedBreaks_;
};

}  // namespace quorv
