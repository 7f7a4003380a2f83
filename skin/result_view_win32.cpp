#include "skin/result_view_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "skin/paint_win32.h"
#include "system/system.h"
#include "system/system_access.h"
#include "system/text_win32.h"

namespace quorv::win {
namespace {

constexpr UINT_PTR kDragTimer = 1;
constexpr UINT kDragInterval = 50;  // ms between rows while a drag scrolls
constexpr UINT kCommandCopy = 1;
constexpr UINT kCommandSelectAll = 2;

bool KeyDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

// The clipboard, open for one operation.
class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
    ~ClipboardScope() {
        if (open_) ::CloseClipboard();
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    bool open() const { return open_; }

private:
    bool open_;
};

}  // namespace

bool RegisterResultView() {
    return RegisterControlClass(kResultViewClass, CS_DBLCLKS | CS_GLOBALCLASS, MAKEINTRESOURCEW(32513));  // IDC_IBEAM
}

ResultView::ResultView() : layout_(SystemCodePage()) {
    measureDc_.reset(::CreateCompatibleDC(nullptr));
    ApplyFont(nullptr);
}

void ResultView::OnAttached() {
    // The dialog manager's WM_SETFONT came before the attach: the parent's font.
    HWND parent = ::GetParent(hwnd());
    if (HFONT font = parent ? reinterpret_cast<HFONT>(::SendMessageW(parent, WM_GETFONT, 0, 0)) : nullptr)
        ApplyFont(font);
    ApplyWidth();
    UpdateScrollBar();
    Invalidate();
}

// ---------------------------------------------------------------- text, font, geometry

void ResultView::SetText(std::string text) {
    layout_.SetText(std::move(text));
    wideLength_.reset();
    selection_ = TextSelection{};
    caretAtRowEnd_ = false;
    wantedX_ = -1;
    topRow_ = 0;
    UpdateScrollBar();
    Invalidate();
    UpdateCaret();
}

void ResultView::ApplyFont(HFONT font) {
    font_ = font;
    measureFont_.reset();
    HFONT used = font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    measureFont_.emplace(measureDc_.get(), used);
    TEXTMETRICA tm{};
    ::GetTextMetricsA(measureDc_.get(), &tm);
    lineHeight_ = tm.tmHeight > 0 ? static_cast<int>(tm.tmHeight) : 16;
    const int average = tm.tmAveCharWidth > 0 ? static_cast<int>(tm.tmAveCharWidth) : 7;
    HDC dc = measureDc_.get();
    // Tab stops every eight average characters, as an edit box has them.
    layout_.SetMeasure(
        [dc](std::string_view c) { return static_cast<int>(TextExtentNarrow(dc, c).cx); },
        8 * average);
}

void ResultView::ApplyWidth() {
    RECT r{};
    ::GetClientRect(hwnd(), &r);
    clientHeight_ = r.bottom - r.top;
    if (r.right - r.left <= 0) return;  // hidden or minimised: keep the rows
    clientWidth_ = r.right - r.left;
    layout_.SetWrapWidth(std::max(1, clientWidth_ - 2 * kMargin));
}

void ResultView::Relayout() {
    const std::size_t topOffset = layout_.Row(topRow_).start;
    ApplyWidth();
    topRow_ = layout_.RowOf(topOffset);
    UpdateScrollBar();
}

std::size_t ResultView::VisibleRows() const {
    const int rows = lineHeight_ > 0 ? clientHeight_ / lineHeight_ : 1;
    return static_cast<std::size_t>(std::max(1, rows));
}

std::size_t ResultView::MaxTopRow() {
    const std::size_t rows = layout_.RowCount();
    const std::size_t visible = VisibleRows();
    return rows > visible ? rows - visible : 0;
}

void ResultView::UpdateScrollBar() {
    topRow_ = std::min(topRow_, MaxTopRow());
    if (!hwnd() || !(::GetWindowLongPtrW(hwnd(), GWL_STYLE) & WS_VSCROLL)) return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    // Always shown (disabled when everything fits), so that the wrap width
    // does not change with the amount of text.
    si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = static_cast<int>(std::min<std::size_t>(layout_.RowCount(), 0x7FFFFFFF) - 1);
    si.nPage = static_cast<UINT>(VisibleRows());
    si.nPos = static_cast<int>(topRow_);
    ::SetScrollInfo(hwnd(), SB_VERT, &si, TRUE);
}

void ResultView::ScrollTo(std::size_t topRow) {
    const std::size_t top = std::min(topRow, MaxTopRow());
    if (top == topRow_) return;
    topRow_ = top;
    UpdateScrollBar();
    Invalidate();
    UpdateCaret();
    Notify(EN_VSCROLL);
}

void ResultView::ScrollBy(long long rows) {
    long long top = static_cast<long long>(topRow_) + rows;
    if (top < 0) top = 0;
    ScrollTo(static_cast<std::size_t>(top));
}

// ---------------------------------------------------------------- caret and selection

std::size_t ResultView::CaretRow() { return layout_.RowOf(selection_.caret, caretAtRowEnd_); }

bool ResultView::SelectionShown() const {
    return focused_ || (::GetWindowLongPtrW(hwnd(), GWL_STYLE) & ES_NOHIDESEL) != 0;
}

void ResultView::ShowCaret() {
    ::CreateCaret(hwnd(), nullptr, 1, lineHeight_);
    UpdateCaret();
    ::ShowCaret(hwnd());
}

void ResultView::UpdateCaret() {
    if (!focused_) return;
    const std::size_t row = CaretRow();
    int x = -1000, y = -1000;  // off the window when the caret row is not shown
    if (row >= topRow_ && row < topRow_ + VisibleRows() + 1) {
        const TextRow r = layout_.Row(row);
        x = kMargin + layout_.XOf(r, selection_.caret);
        y = static_cast<int>(row - topRow_) * lineHeight_;
    }
    ::SetCaretPos(x, y);
}

void ResultView::EnsureCaretVisible() {
    const std::size_t row = CaretRow();
    const std::size_t visible = VisibleRows();
    if (row < topRow_) {
        ScrollTo(row);
    } else if (row >= topRow_ + visible) {
        ScrollTo(row - visible + 1);
    }
}

void ResultView::MoveCaret(std::size_t offset, bool extend, bool atRowEnd, bool keepColumn) {
    offset = layout_.Snap(offset);
    selection_.caret = offset;
    if (!extend) selection_.anchor = offset;
    caretAtRowEnd_ = atRowEnd;
    if (!keepColumn) wantedX_ = -1;
    EnsureCaretVisible();
    Invalidate();
    UpdateCaret();
}

void ResultView::SetSelection(std::size_t anchor, std::size_t caret) {
    selection_.anchor = layout_.Snap(anchor);
    MoveCaret(caret, true);
}

void ResultView::SelectAll() {
    selection_.anchor = 0;
    MoveCaret(layout_.Size(), true);
}

bool ResultView::CopySelection() {
    if (selection_.empty()) return false;
    const std::wstring text = WideFromNarrow(layout_.SelectedText(selection_));
    GlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
    if (!memory) return false;
    void* p = ::GlobalLock(memory.get());
    if (!p) return false;
    std::memcpy(p, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    ::GlobalUnlock(memory.get());
    ClipboardScope clipboard(hwnd());
    if (!clipboard.open()) return false;
    ::EmptyClipboard();
    if (!::SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
    memory.release();  // the clipboard owns it now
    return true;
}

std::size_t ResultView::HitTest(POINT point, bool& atRowEnd) {
    long long row = static_cast<long long>(topRow_);
    if (point.y >= 0) {
        row += point.y / lineHeight_;
    } else {
        row -= (-point.y + lineHeight_ - 1) / lineHeight_;
    }
    const long long last = static_cast<long long>(layout_.RowCount()) - 1;
    row = std::max(0LL, std::min(row, last));
    const TextRow r = layout_.Row(static_cast<std::size_t>(row));
    const std::size_t offset = layout_.OffsetAtX(r, point.x - kMargin);
    atRowEnd = offset == r.end && !r.lastOfLine && r.end != r.start;
    return offset;
}

void ResultView::Notify(WORD code) {
    HWND parent = ::GetParent(hwnd());
    if (parent) {
        ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hwnd()), code), reinterpret_cast<LPARAM>(hwnd()));
    }
}

// ---------------------------------------------------------------- painting

void ResultView::PaintContent(HDC dc, const RECT& client) const {
    SelectGuard fontGuard(dc, font_ ? font_ : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    // Colours as a read-only edit box takes them: from the parent.
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkColor(dc, ::GetSysColor(COLOR_3DFACE));
    HBRUSH brush = nullptr;
    if (HWND parent = ::GetParent(hwnd())) {
        brush = reinterpret_cast<HBRUSH>(
            ::SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd())));
    }
    if (!brush) brush = ::GetSysColorBrush(COLOR_3DFACE);
    const COLORREF textColour = ::IsWindowEnabled(hwnd()) ? ::GetTextColor(dc) : ::GetSysColor(COLOR_GRAYTEXT);
    ::FillRect(dc, &client, brush);
    ::SetBkMode(dc, TRANSPARENT);
    // Only the rows on screen are laid out and drawn.
    const std::size_t rows = layout_.RowCount();
    POINT origin{client.left + kMargin, client.top};
    for (std::size_t r = topRow_; r < rows && origin.y < client.bottom; ++r, origin.y += lineHeight_)
        PaintRow(dc, layout_.Row(r), origin, client.right, textColour);
}

void ResultView::PaintRow(HDC dc, const TextRow& row, POINT origin, int right, COLORREF textColour) const {
    const bool showSelection = SelectionShown() && !selection_.empty();
    const std::size_t selBegin = selection_.begin();
    const std::size_t selEnd = selection_.end();
    const std::string& text = layout_.Text();
    int x = 0;
    std::size_t p = row.start;
    while (p < row.end) {
        const bool selected = showSelection && p >= selBegin && p < selEnd;
        const bool tab = text[p] == '\t';
        std::size_t q = p;
        int w = 0;
        if (tab) {
            w = layout_.CharWidth(p, 1, x);
            q = p + 1;
        } else {
            // A run of characters with the same selection state.
            while (q < row.end && text[q] != '\t' && (showSelection && q >= selBegin && q < selEnd) == selected) {
                const std::size_t len = layout_.CharLength(q);
                w += layout_.CharWidth(q, len, x + w);
                q += len;
            }
        }
        const int left = origin.x + x;
        if (left >= right) break;
        if (selected) {
            const RECT box{left, origin.y, left + w, origin.y + lineHeight_};
            ::FillRect(dc, &box, ::GetSysColorBrush(COLOR_HIGHLIGHT));
        }
        if (!tab) {
            ::SetTextColor(dc, selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : textColour);
            const std::wstring run = WideFromNarrow(std::string_view(text.data() + p, q - p));
            ::TextOutW(dc, left, origin.y, run.c_str(), static_cast<int>(run.size()));
        }
        x += w;
        p = q;
    }
}

// ---------------------------------------------------------------- messages

RowTable<MessageRow<ResultView>> ResultView::Messages() {
    static constexpr MessageRow<ResultView> kRows[] = {
        {WM_SIZE, &ResultView::OnSize},
        {WM_SETTEXT, &ResultView::OnSetText},
        {WM_GETTEXTLENGTH, &ResultView::OnGetTextLength},
        {WM_GETTEXT, &ResultView::OnGetText},
        {WM_SETFONT, &ResultView::OnSetFont},
        {WM_GETFONT, &ResultView::OnGetFont},
        {WM_ENABLE, &ResultView::OnEnable},
        {WM_SETFOCUS, &ResultView::OnSetFocus},
        {WM_KILLFOCUS, &ResultView::OnKillFocus},
        {WM_GETDLGCODE, &ResultView::OnGetDlgCode},
        {WM_KEYDOWN, &ResultView::OnKeyDown},
        {WM_CHAR, &ResultView::OnChar},
        {WM_LBUTTONDOWN, &ResultView::OnLButtonDown},
        {WM_LBUTTONDBLCLK, &ResultView::OnLButtonDblClk},
        {WM_MOUSEMOVE, &ResultView::OnMouseMove},
        {WM_TIMER, &ResultView::OnTimer},
        {WM_LBUTTONUP, &ResultView::OnLButtonUp},
        {WM_CAPTURECHANGED, &ResultView::OnCaptureChanged},
        {WM_MOUSEWHEEL, &ResultView::OnMouseWheel},
        {WM_VSCROLL, &ResultView::OnVScroll},
        {WM_CONTEXTMENU, &ResultView::OnContextMenu},
        {WM_COPY, &ResultView::OnCopy},
        {EM_GETSEL, &ResultView::OnGetSel},
        {EM_SETSEL, &ResultView::OnSetSel},
        {EM_GETLINECOUNT, &ResultView::OnGetLineCount},
        {EM_GETFIRSTVISIBLELINE, &ResultView::OnGetFirstVisibleLine},
        {EM_LINESCROLL, &ResultView::OnLineScroll},
        {EM_SCROLLCARET, &ResultView::OnScrollCaret},
        {EM_SETREADONLY, &ResultView::OnSetReadOnly},
    };
    return Table(kRows);
}

bool ResultView::OnSize(UINT, WPARAM wParam, LPARAM, LRESULT& result) {
    result = 0;
    if (wParam == SIZE_MINIMIZED) return true;
    Relayout();
    Invalidate();
    UpdateCaret();
    return true;
}

// ---------------------------------------------------------------- text and font

bool ResultView::OnSetText(UINT, WPARAM, LPARAM lParam, LRESULT& result) {
    SetText(lParam ? NarrowFromWide(reinterpret_cast<const wchar_t*>(lParam)) : std::string());
    result = TRUE;
    return true;
}

bool ResultView::OnGetTextLength(UINT, WPARAM, LPARAM, LRESULT& result) {
    // Counted, not converted: a run's text is many megabytes.
    if (!wideLength_) wideLength_ = WideLengthOf(layout_.Text());
    result = static_cast<LRESULT>(*wideLength_);
    return true;
}

bool ResultView::OnGetText(UINT, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (wParam == 0 || lParam == 0) return true;
    wchar_t* buffer = reinterpret_cast<wchar_t*>(lParam);
    const std::size_t room = static_cast<std::size_t>(wParam) - 1;
    const std::string& narrow = layout_.Text();
    if (!wideLength_) wideLength_ = WideLengthOf(narrow);
    std::size_t n = 0;
    if (room >= *wideLength_) {
        // The whole text goes straight into the caller's buffer.
        n = WideFromNarrowInto(narrow, buffer, room);
    } else {
        // The beginning only: no character takes more than four bytes,
        // so this many bytes give at least `room` whole characters.
        const std::size_t bytes = std::min(narrow.size(), room * 4 + 4);
        const std::wstring text = WideFromNarrow(std::string_view(narrow).substr(0, bytes));
        n = std::min(room, text.size());
        std::memcpy(buffer, text.data(), n * sizeof(wchar_t));
    }
    buffer[n] = L'\0';
    result = static_cast<LRESULT>(n);
    return true;
}

bool ResultView::OnSetFont(UINT, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    ApplyFont(reinterpret_cast<HFONT>(wParam));
    Relayout();
    if (focused_) ShowCaret();
    if (LOWORD(lParam)) Invalidate();
    result = 0;
    return true;
}

bool ResultView::OnGetFont(UINT, WPARAM, LPARAM, LRESULT& result) {
    result = reinterpret_cast<LRESULT>(font_);
    return true;
}

// ---------------------------------------------------------------- focus and keys

bool ResultView::OnEnable(UINT, WPARAM, LPARAM, LRESULT& result) {
    Invalidate();
    result = 0;
    return true;
}

bool ResultView::OnSetFocus(UINT, WPARAM, LPARAM, LRESULT& result) {
    focused_ = true;
    ShowCaret();
    Invalidate();
    Notify(EN_SETFOCUS);
    result = 0;
    return true;
}

bool ResultView::OnKillFocus(UINT, WPARAM, LPARAM, LRESULT& result) {
    focused_ = false;
    ::DestroyCaret();
    Invalidate();
    Notify(EN_KILLFOCUS);
    result = 0;
    return true;
}

bool ResultView::OnGetDlgCode(UINT, WPARAM, LPARAM, LRESULT& result) {
    result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    return true;
}

bool ResultView::OnKeyDown(UINT, WPARAM key, LPARAM, LRESULT& result) {
    const bool shift = KeyDown(VK_SHIFT);
    const bool control = KeyDown(VK_CONTROL);
    const std::size_t caret = selection_.caret;
    result = 0;
    switch (key) {
    case VK_LEFT:
        if (!shift && !selection_.empty()) {
            MoveCaret(selection_.begin(), false);
        } else {
            MoveCaret(control ? layout_.PreviousWord(caret) : layout_.Previous(caret), shift);
        }
        break;
    case VK_RIGHT:
        if (!shift && !selection_.empty()) {
            MoveCaret(selection_.end(), false);
        } else {
            MoveCaret(control ? layout_.NextWord(caret) : layout_.Next(caret), shift);
        }
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
        MoveCaretByRows(key, shift);
        break;
    case VK_HOME:
        MoveCaret(control ? 0 : layout_.Row(CaretRow()).start, shift);
        break;
    case VK_END:
        if (control) {
            MoveCaret(layout_.Size(), shift);
        } else {
            const TextRow r = layout_.Row(CaretRow());
            MoveCaret(r.end, shift, !r.lastOfLine && r.end != r.start);
        }
        break;
    case 'A':
        if (control) SelectAll();
        break;
    case 'C':
    case VK_INSERT:
        if (control) CopySelection();
        break;
    default:
        break;
    }
    return true;
}

void ResultView::MoveCaretByRows(WPARAM key, bool extend) {
    const std::size_t row = CaretRow();
    const TextRow current = layout_.Row(row);
    if (wantedX_ < 0) wantedX_ = layout_.XOf(current, selection_.caret);
    const long long step = (key == VK_UP || key == VK_DOWN) ? 1 : static_cast<long long>(VisibleRows());
    const bool up = key == VK_UP || key == VK_PRIOR;
    long long target = static_cast<long long>(row) + (up ? -step : step);
    const long long last = static_cast<long long>(layout_.RowCount()) - 1;
    target = std::max(0LL, std::min(target, last));
    if (key == VK_PRIOR || key == VK_NEXT) ScrollBy(up ? -step : step);
    const TextRow r = layout_.Row(static_cast<std::size_t>(target));
    const std::size_t offset = layout_.OffsetAtX(r, wantedX_);
    MoveCaret(offset, extend, offset == r.end && !r.lastOfLine && r.end != r.start, true);
}

bool ResultView::OnChar(UINT, WPARAM, LPARAM, LRESULT& result) {
    result = 0;  // read-only
    return true;
}

// ---------------------------------------------------------------- mouse

bool ResultView::OnLButtonDown(UINT, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!focused_) ::SetFocus(hwnd());
    bool atRowEnd = false;
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const std::size_t offset = HitTest(point, atRowEnd);
    MoveCaret(offset, (wParam & MK_SHIFT) != 0, atRowEnd);
    dragging_ = true;
    ::SetCapture(hwnd());
    result = 0;
    return true;
}

bool ResultView::OnLButtonDblClk(UINT, WPARAM, LPARAM lParam, LRESULT& result) {
    bool atRowEnd = false;
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const auto word = layout_.WordAt(HitTest(point, atRowEnd));
    selection_.anchor = word.first;
    MoveCaret(word.second, true);
    result = 0;
    return true;
}

bool ResultView::OnMouseMove(UINT, WPARAM, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (!dragging_) return true;
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    DragTo(point);
    // Outside the window the drag goes on scrolling by itself.
    if (point.y < 0 || point.y >= clientHeight_) {
        ::SetTimer(hwnd(), kDragTimer, kDragInterval, nullptr);
    } else {
        ::KillTimer(hwnd(), kDragTimer);
    }
    return true;
}

bool ResultView::OnTimer(UINT, WPARAM wParam, LPARAM, LRESULT& result) {
    result = 0;
    if (wParam != kDragTimer || !dragging_) return true;
    POINT point{};
    ::GetCursorPos(&point);
    ::ScreenToClient(hwnd(), &point);
    if (point.y < 0) {
        ScrollBy(-1);
    } else if (point.y >= clientHeight_) {
        ScrollBy(1);
    }
    DragTo(point);
    return true;
}

bool ResultView::OnLButtonUp(UINT, WPARAM, LPARAM, LRESULT& result) {
    if (dragging_) {
        dragging_ = false;
        ::KillTimer(hwnd(), kDragTimer);
        ::ReleaseCapture();
    }
    result = 0;
    return true;
}

bool ResultView::OnCaptureChanged(UINT, WPARAM, LPARAM, LRESULT& result) {
    dragging_ = false;
    ::KillTimer(hwnd(), kDragTimer);
    result = 0;
    return true;
}

void ResultView::DragTo(POINT client) {
    bool atRowEnd = false;
    const std::size_t offset = HitTest(client, atRowEnd);
    MoveCaret(offset, true, atRowEnd);
}

// ---------------------------------------------------------------- scrolling

bool ResultView::OnMouseWheel(UINT, WPARAM wParam, LPARAM, LRESULT& result) {
    result = 0;
    UINT lines = 3;
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    wheelRest_ += GET_WHEEL_DELTA_WPARAM(wParam);
    const int notches = wheelRest_ / WHEEL_DELTA;
    if (notches == 0) return true;
    wheelRest_ -= notches * WHEEL_DELTA;
    const long long perNotch =
        lines == WHEEL_PAGESCROLL ? static_cast<long long>(VisibleRows()) : static_cast<long long>(lines);
    ScrollBy(-notches * perNotch);
    return true;
}

bool ResultView::OnVScroll(UINT, WPARAM wParam, LPARAM, LRESULT& result) {
    const long long page = static_cast<long long>(VisibleRows());
    result = 0;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: ScrollBy(-1); break;
    case SB_LINEDOWN: ScrollBy(1); break;
    case SB_PAGEUP: ScrollBy(-page); break;
    case SB_PAGEDOWN: ScrollBy(page); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(MaxTopRow()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 32-bit position: the message's own is 16 bits.
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        if (::GetScrollInfo(hwnd(), SB_VERT, &si)) ScrollTo(static_cast<std::size_t>(std::max(0, si.nTrackPos)));
        break;
    }
    default:
        break;
    }
    return true;
}

bool ResultView::OnLineScroll(UINT, WPARAM, LPARAM lParam, LRESULT& result) {
    ScrollBy(static_cast<int>(lParam));
    result = TRUE;
    return true;
}

bool ResultView::OnScrollCaret(UINT, WPARAM, LPARAM, LRESULT& result) {
    EnsureCaretVisible();
    result = TRUE;
    return true;
}

bool ResultView::OnGetFirstVisibleLine(UINT, WPARAM, LPARAM, LRESULT& result) {
    result = static_cast<LRESULT>(topRow_);
    return true;
}

bool ResultView::OnGetLineCount(UINT, WPARAM, LPARAM, LRESULT& result) {
    result = static_cast<LRESULT>(layout_.RowCount());
    return true;
}

// ---------------------------------------------------------------- selection and Copy

bool ResultView::OnContextMenu(UINT, WPARAM, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (!focused_) ::SetFocus(hwnd());
    POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: at the caret.
        POINT caret{};
        ::GetCaretPos(&caret);
        if (caret.x < 0 || caret.y < 0) caret = POINT{0, 0};
        caret.y += lineHeight_;
        ::ClientToScreen(hwnd(), &caret);
        screen = caret;
    }
    MenuHandle menu(::CreatePopupMenu());
    if (!menu) return true;
    ::AppendMenuA(menu.get(), MF_STRING | (selection_.empty() ? MF_GRAYED : 0), kCommandCopy, "&Copy");
    ::AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu.get(), MF_STRING | (layout_.Size() == 0 ? MF_GRAYED : 0), kCommandSelectAll, "Select &All");
    const UINT command = static_cast<UINT>(::TrackPopupMenu(
        menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, hwnd(), nullptr));
    if (command == kCommandCopy) CopySelection();
    if (command == kCommandSelectAll) SelectAll();
    return true;
}

bool ResultView::OnCopy(UINT, WPARAM, LPARAM, LRESULT& result) {
    CopySelection();
    result = 0;
    return true;
}

bool ResultView::OnGetSel(UINT, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const std::size_t b = selection_.begin(), e = selection_.end();
    if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(b);
    if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(e);
    result = (b > 0xFFFF || e > 0xFFFF) ? -1 : static_cast<LRESULT>(MAKELRESULT(b, e));
    return true;
}

bool ResultView::OnSetSel(UINT, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    const long long size = static_cast<long long>(layout_.Size());
    long long start = static_cast<int>(wParam);
    long long end = static_cast<int>(lParam);
    if (start == -1) {
        // Deselects, the caret stays.
        SetSelection(selection_.caret, selection_.caret);
        return true;
    }
    if (start < 0 || start > size) start = size;
    if (end < 0 || end > size) end = size;
    SetSelection(static_cast<std::size_t>(start), static_cast<std::size_t>(end));
    return true;
}

bool ResultView::OnSetReadOnly(UINT, WPARAM, LPARAM, LRESULT& result) {
    result = TRUE;  // read-only whatever is asked
    return true;
}

}  // namespace quorv::win
