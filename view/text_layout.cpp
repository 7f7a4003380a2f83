#include "view/text_layout.h"

#include <algorithm>
#include <cstring>

namespace quorv {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsBreakByte(char c) { return c == '\r' || c == '\n'; }

}  // namespace

TextLayout::TextLayout(const CodePage& codePage) : codePage_(codePage) {
    // A byte may begin a longer character when the code page says so for
    // any of a few likely continuations (double-byte trail bytes, UTF-8
    // continuation bytes).
    for (int b = 0; b < 256; ++b) {
        bool lead = false;
        for (unsigned char next : {0x80, 0x41, 0xA1}) {
            const char probe[4] = {static_cast<char>(b), static_cast<char>(next), static_cast<char>(0x80),
                                   static_cast<char>(0x80)};
            if (codePage_.CharLength(std::string_view(probe, 4), 0) > 1) lead = true;
        }
        multiByteLead_[b] = lead;
        singleWidths_[b] = -1;
    }
    lineStarts_.push_back(0);
}

// ---------------------------------------------------------------- lines

void TextLayout::SetText(std::string text) {
    text_ = std::move(text);
    lineStarts_.clear();
    lineStarts_.push_back(0);
    const char* base = text_.data();
    const char* p = base;
    const char* end = base + text_.size();
    while (p < end) {
        const void* hit = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        if (!hit) break;
        p = static_cast<const char*>(hit) + 1;
        lineStarts_.push_back(static_cast<std::size_t>(p - base));
    }
    rowsValid_ = false;
    cachedLine_ = static_cast<std::size_t>(-1);
}

std::size_t TextLayout::LineStart(std::size_t line) const {
    return line < lineStarts_.size() ? lineStarts_[line] : text_.size();
}

std::size_t TextLayout::LineEnd(std::size_t line) const {
    if (line + 1 >= lineStarts_.size()) return text_.size();
    std::size_t end = lineStarts_[line + 1] - 1;  // the '\n'
    if (end > lineStarts_[line] && text_[end - 1] == '\r') --end;
    return end;
}

std::size_t TextLayout::LineOf(std::size_t offset) const {
    auto it = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    return static_cast<std::size_t>(it - lineStarts_.begin()) - 1;
}

// ---------------------------------------------------------------- characters

std::size_t TextLayout::CharLength(std::size_t offset) const {
    if (offset >= text_.size()) return 0;
    const char c = text_[offset];
    if (c == '\r' && offset + 1 < text_.size() && text_[offset + 1] == '\n') return 2;
    if (!multiByteLead_[static_cast<unsigned char>(c)]) return 1;
    std::size_t n = codePage_.CharLength(text_, offset);
    // A lead byte never swallows a line break.
    for (std::size_t k = 1; k < n; ++k) {
        if (IsBreakByte(text_[offset + k])) return k;
    }
    return n;
}

std::size_t TextLayout::Snap(std::size_t offset) const {
    if (offset >= text_.size()) return text_.size();
    const std::size_t line = LineOf(offset);
    const std::size_t end = LineEnd(line);
    if (offset >= end) return end;  // at or inside the line break
    std::size_t p = LineStart(line);
    for (;;) {
        const std::size_t q = p + CharLength(p);
        if (q > offset) return p;
        p = q;
    }
}

std::size_t TextLayout::Next(std::size_t offset) const {
    if (offset >= text_.size()) return text_.size();
    const std::size_t line = LineOf(offset);
    if (offset >= LineEnd(line)) return LineStart(line + 1);  // over the whole break
    return offset + CharLength(offset);
}

std::size_t TextLayout::Previous(std::size_t offset) const {
    if (offset == 0) return 0;
    offset = Snap(offset);
    const std::size_t line = LineOf(offset);
    if (offset == LineStart(line)) return line == 0 ? 0 : LineEnd(line - 1);
    std::size_t p = LineStart(line);
    for (;;) {
        const std::size_t q = p + CharLength(p);
        if (q >= offset) return p;
        p = q;
    }
}

std::size_t TextLayout::NextWord(std::size_t offset) const {
    offset = Snap(offset);
    if (offset >= text_.size()) return text_.size();
    const std::size_t line = LineOf(offset);
    const std::size_t end = LineEnd(line);
    if (offset >= end) return LineStart(line + 1);
    std::size_t p = offset;
    while (p < end && !IsBlank(text_[p])) p += CharLength(p);
    while (p < end && IsBlank(text_[p])) ++p;
    return p;
}

std::size_t TextLayout::PreviousWord(std::size_t offset) const {
    offset = Snap(offset);
    if (offset == 0) return 0;
    const std::size_t line = LineOf(offset);
    const std::size_t start = LineStart(line);
    if (offset == start) return LineEnd(line - 1);
    // Walk forward, remembering the start of each word before the offset.
    std::size_t wordStart = start;
    bool inBlank = true;
    for (std::size_t p = start; p < offset; p += CharLength(p)) {
        const bool blank = IsBlank(text_[p]);
        if (!blank && inBlank) wordStart = p;
        inBlank = blank;
    }
    return wordStart;
}

std::pair<std::size_t, std::size_t> TextLayout::WordAt(std::size_t offset) const {
    offset = Snap(offset);
    const std::size_t line = LineOf(offset);
    const std::size_t start = LineStart(line);
    const std::size_t end = LineEnd(line);
    if (offset >= end) return {end, end};
    // Character boundaries of the line up to the offset's character.
    std::size_t runStart = start;
    bool runBlank = start < end && IsBlank(text_[start]);
    std::size_t p = start;
    for (; p < end; p += CharLength(p)) {
        const bool blank = IsBlank(text_[p]);
        if (blank != runBlank) {
            runStart = p;
            runBlank = blank;
        }
        if (p == offset) break;
    }
    std::size_t q = p;
    while (q < end && IsBlank(text_[q]) == runBlank) q += CharLength(q);
    return {runStart, q};
}

std::string TextLayout::SelectedText(const TextSelection& selection) const {
    const std::size_t b = std::min(selection.begin(), text_.size());
    const std::size_t e = std::min(selection.end(), text_.size());
    return text_.substr(b, e - b);
}

// ---------------------------------------------------------------- widths

void TextLayout::SetMeasure(MeasureFn measure, int tabWidth) {
    measure_ = std::move(measure);
    tabWidth_ = tabWidth;
    for (int& w : singleWidths_) w = -1;
    multiWidths_.clear();
    rowsValid_ = false;
    cachedLine_ = static_cast<std::size_t>(-1);
}

int TextLayout::Measure(std::string_view character) {
    if (!measure_) return static_cast<int>(character.size());
    const int w = measure_(character);
    return w < 0 ? 0 : w;
}

int TextLayout::CharWidth(std::size_t offset, std::size_t length, int x) {
    const unsigned char c = static_cast<unsigned char>(text_[offset]);
    if (c == '\t' && tabWidth_ > 0) return tabWidth_ - (x % tabWidth_);
    if (length == 1) {
        int& w = singleWidths_[c];
        if (w < 0) w = Measure(std::string_view(&text_[offset], 1));
        return w;
    }
    std::string key(text_, offset, length);
    auto it = multiWidths_.find(key);
    if (it != multiWidths_.end()) return it->second;
    const int w = Measure(key);
    multiWidths_.emplace(std::move(key), w);
    return w;
}

// ---------------------------------------------------------------- wrapping

void TextLayout::SetWrapWidth(int width) {
    if (width == wrapWidth_) return;
    wrapWidth_ = width;
    rowsValid_ = false;
    cachedLine_ = static_cast<std::size_t>(-1);
}

void TextLayout::WrapLine(std::size_t line, std::vector<std::size_t>* breaks) {
    const std::size_t start = LineStart(line);
    const std::size_t end = LineEnd(line);
    const char* t = text_.data();
    std::size_t rowStart = start;
    std::size_t breakAt = 0;  // where a new row may begin: after a run of blanks
    bool haveBreak = false;
    int x = 0;
    std::size_t i = start;
    while (i < end) {
        const unsigned char c = static_cast<unsigned char>(t[i]);
        if (c == ' ' || c == '\t') {
            // Blanks never wrap: they hang past the row's end.
            x += CharWidth(i, 1, x);
            ++i;
            if (i < end && !IsBlank(t[i])) {
                breakAt = i;
                haveBreak = true;
            }
            continue;
        }
        std::size_t len = 1;
        int w;
        if (!multiByteLead_[c]) {
            w = singleWidths_[c];
            if (w < 0) w = CharWidth(i, 1, x);
        } else {
            len = CharLength(i);
            w = CharWidth(i, len, x);
        }
        if (x + w > wrapWidth_ && i > rowStart) {
            const std::size_t brk = (haveBreak && breakAt > rowStart) ? breakAt : i;
            if (breaks) breaks->push_back(brk);
            rowStart = brk;
            haveBreak = false;
            x = 0;
            i = brk;
            continue;
        }
        x += w;
        i += len;
    }
}

void TextLayout::EnsureRows() {
    if (rowsValid_) return;
    const std::size_t lines = lineStarts_.size();
    firstRow_.assign(lines + 1, 0);
    std::vector<std::size_t> breaks;
    std::size_t total = 0;
    for (std::size_t line = 0; line < lines; ++line) {
        firstRow_[line] = total;
        breaks.clear();
        WrapLine(line, &breaks);
        total += 1 + breaks.size();
    }
    firstRow_[lines] = total;
    rowsValid_ = true;
}

const std::vector<std::size_t>& TextLayout::BreaksOf(std::size_t line) {
    if (line != cachedLine_) {
        cachedBreaks_.clear();
        WrapLine(line, &cachedBreaks_);
        cachedLine_ = line;
    }
    return cachedBreaks_;
}

std::size_t TextLayout::RowCount() {
    EnsureRows();
    return firstRow_.back();
}

std::size_t TextLayout::FirstRowOfLine(std::size_t line) {
    EnsureRows();
    return firstRow_[std::min(line, lineStarts_.size())];
}

TextRow TextLayout::Row(std::size_t row) {
    EnsureRows();
    TextRow r;
    if (row >= firstRow_.back()) row = firstRow_.back() - 1;
    auto it = std::upper_bound(firstRow_.begin(), firstRow_.end() - 1, row);
    r.line = static_cast<std::size_t>(it - firstRow_.begin()) - 1;
    const std::size_t k = row - firstRow_[r.line];
    const std::vector<std::size_t>& breaks = BreaksOf(r.line);
    r.start = k == 0 ? LineStart(r.line) : breaks[k - 1];
    r.lastOfLine = k == breaks.size();
    r.end = r.lastOfLine ? LineEnd(r.line) : breaks[k];
    return r;
}

std::size_t TextLayout::RowOf(std::size_t offset, bool endOfRow) {
    EnsureRows();
    offset = std::min(offset, text_.size());
    const std::size_t line = LineOf(offset);
    const std::vector<std::size_t>& breaks = BreaksOf(line);
    std::size_t k = static_cast<std::size_t>(std::upper_bound(breaks.begin(), breaks.end(), offset) - breaks.begin());
    if (endOfRow && k > 0 && breaks[k - 1] == offset) --k;
    return firstRow_[line] + k;
}

int TextLayout::XOf(const TextRow& row, std::size_t offset) {
    int x = 0;
    std::size_t p = row.start;
    const std::size_t stop = std::min(offset, row.end);
    while (p < stop) {
        const std::size_t len = CharLength(p);
        x += CharWidth(p, len, x);
        p += len;
    }
    return x;
}

std::size_t TextLayout::OffsetAtX(const TextRow& row, int x) {
    int cx = 0;
    std::size_t p = row.start;
    while (p < row.end) {
        const std::size_t len = CharLength(p);
        const int w = CharWidth(p, len, cx);
        if (x < cx + (w + 1) / 2) return p;
        cx += w;
        p += len;
    }
    return row.end;
}

}  // namespace quorv
