#include "skin/result_view_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "formats/error_log.h"
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
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    const std::wstring name = WideFromNarrow(kResultViewClass);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(instance, name.c_str(), &existing)) return true;
    // A window of wide text: any name a result line holds reaches it, and
    // leaves it for another program, whole.
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // A global class: found by a dialog template of any module of the process.
    wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
    wc.lpfnWndProc = &ResultView::Procedure;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32513));  // IDC_IBEAM
    wc.lpszClassName = name.c_str();
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

ResultView* ResultView::FromWindow(HWND window) {
    if (!window) return nullptr;
    char name[32] = {};
    ::GetClassNameA(window, name, static_cast<int>(sizeof name));
    if (::lstrcmpiA(name, kResultViewClass) != 0) return nullptr;
    return reinterpret_cast<ResultView*>(::GetWindowLongPtrA(window, 0));
}

ResultView::ResultView(HWND window) : hwnd_(window), layout_(SystemCodePage()) {
    measureDc_.reset(::CreateCompatibleDC(nullptr));
    ApplyFont(nullptr);
}

LRESULT CALLBACK ResultView::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ResultView* self = reinterpret_cast<ResultView*>(::GetWindowLongPtrA(window, 0));
    if (message == WM_NCCREATE) {
        try {
            self = new (std::nothrow) ResultView(window);
        } catch (...) {
            self = nullptr;
        }
        if (!self) return FALSE;
        ::SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(self));
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, 0, 0);
        delete self;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    try {
        return self->Handle(message, wParam, lParam);
    } catch (...) {
        // Out of memory for a huge text, most likely: the message fails.
        WriteErrorLog("Unexpected failure in the result view while handling message 0x%x.", message);
        return 0;
    }
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
    Redraw();
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
    ::GetClientRect(hwnd_, &r);
    clientHeight_ = r.bottom - r.top;
    if (r.right - r.left <= 0) return;  // hidden or minimised: keep the rows
    clientWidth_ = r.right - r.left;
    layout_.SetWrapWidth(std::max(1, clientWidth_ - 2 * kMargin));
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
    if (!(::GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VSCROLL)) return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    // Always shown (disabled when everything fits), so that the wrap width
    // does not change with the amount of text.
    si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = static_cast<int>(std::min<std::size_t>(layout_.RowCount(), 0x7FFFFFFF) - 1);
    si.nPage = static_cast<UINT>(VisibleRows());
    si.nPos = static_cast<int>(topRow_);
    ::SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
}

void ResultView::Redraw() { ::InvalidateRect(hwnd_, nullptr, FALSE); }

void ResultView::ScrollTo(std::size_t topRow) {
    const std::size_t top = std::min(topRow, MaxTopRow());
    if (top == topRow_) return;
    topRow_ = top;
    UpdateScrollBar();
    Redraw();
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
    return focused_ || (::GetWindowLongPtrA(hwnd_, GWL_STYLE) & ES_NOHIDESEL) != 0;
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
    Redraw();
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
    ClipboardScope clipboard(hwnd_);
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
    HWND parent = ::GetParent(hwnd_);
    if (parent) {
        ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hwnd_), code), reinterpret_cast<LPARAM>(hwnd_));
    }
}

// ---------------------------------------------------------------- painting

void ResultView::PaintContent(HDC target, const RECT& client) {
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return;
    DcHandle dc(::CreateCompatibleDC(target));
    Bitmap bitmap(::CreateCompatibleBitmap(target, width, height));
    if (!dc || !bitmap) return;
    SelectGuard bitmapGuard(dc.get(), bitmap.get());
    SelectGuard fontGuard(dc.get(), font_ ? font_ : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));

    // Colours as a read-only edit box takes them: from the parent.
    ::SetTextColor(dc.get(), ::GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkColor(dc.get(), ::GetSysColor(COLOR_3DFACE));
    HBRUSH brush = nullptr;
    if (HWND parent = ::GetParent(hwnd_)) {
        brush = reinterpret_cast<HBRUSH>(
            ::SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(hwnd_)));
    }
    if (!brush) brush = ::GetSysColorBrush(COLOR_3DFACE);
    const COLORREF textColour = ::IsWindowEnabled(hwnd_) ? ::GetTextColor(dc.get()) : ::GetSysColor(COLOR_GRAYTEXT);
    const RECT all{0, 0, width, height};
    ::FillRect(dc.get(), &all, brush);
    ::SetBkMode(dc.get(), TRANSPARENT);

    const bool showSelection = SelectionShown() && !selection_.empty();
    const std::size_t selBegin = selection_.begin();
    const std::size_t selEnd = selection_.end();
    const COLORREF highlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    HBRUSH highlight = ::GetSysColorBrush(COLOR_HIGHLIGHT);
    const std::string& text = layout_.Text();
    const std::size_t rows = layout_.RowCount();

    int y = 0;
    for (std::size_t r = topRow_; r < rows && y < height; ++r, y += lineHeight_) {
        const TextRow row = layout_.Row(r);
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
            const int left = kMargin + x;
            if (left >= width) break;
            if (selected) {
                const RECT box{left, y, left + w, y + lineHeight_};
                ::FillRect(dc.get(), &box, highlight);
            }
            if (!tab) {
                ::SetTextColor(dc.get(), selected ? highlightText : textColour);
                const std::wstring run = WideFromNarrow(std::string_view(text.data() + p, q - p));
                ::TextOutW(dc.get(), left, y, run.c_str(), static_cast<int>(run.size()));
            }
            x += w;
            p = q;
        }
    }
    ::BitBlt(target, client.left, client.top, width, height, dc.get(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------- input

void ResultView::OnKeyDown(WPARAM key) {
    const bool shift = KeyDown(VK_SHIFT);
    const bool control = KeyDown(VK_CONTROL);
    const std::size_t caret = selection_.caret;
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
    case VK_NEXT: {
        const std::size_t row = CaretRow();
        const TextRow current = layout_.Row(row);
        if (wantedX_ < 0) wantedX_ = layout_.XOf(current, caret);
        const long long step = (key == VK_UP || key == VK_DOWN) ? 1 : static_cast<long long>(VisibleRows());
        const bool up = key == VK_UP || key == VK_PRIOR;
        long long target = static_cast<long long>(row) + (up ? -step : step);
        const long long last = static_cast<long long>(layout_.RowCount()) - 1;
        target = std::max(0LL, std::min(target, last));
        if (key == VK_PRIOR || key == VK_NEXT) ScrollBy(up ? -step : step);
        const TextRow r = layout_.Row(static_cast<std::size_t>(target));
        const std::size_t offset = layout_.OffsetAtX(r, wantedX_);
        MoveCaret(offset, shift, offset == r.end && !r.lastOfLine && r.end != r.start, true);
        break;
    }
    case VK_HOME:
        if (control) {
            MoveCaret(0, shift);
        } else {
            MoveCaret(layout_.Row(CaretRow()).start, shift);
        }
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
}

void ResultView::OnVScroll(WORD code) {
    const std::size_t page = VisibleRows();
    switch (code) {
    case SB_LINEUP: ScrollBy(-1); break;
    case SB_LINEDOWN: ScrollBy(1); break;
    case SB_PAGEUP: ScrollBy(-static_cast<long long>(page)); break;
    case SB_PAGEDOWN: ScrollBy(static_cast<long long>(page)); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(MaxTopRow()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 32-bit position: the message's own is 16 bits.
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        if (::GetScrollInfo(hwnd_, SB_VERT, &si)) ScrollTo(static_cast<std::size_t>(std::max(0, si.nTrackPos)));
        break;
    }
    default:
        break;
    }
}

void ResultView::OnMouseWheel(int delta) {
    UINT lines = 3;
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    wheelRest_ += delta;
    const int notches = wheelRest_ / WHEEL_DELTA;
    if (notches == 0) return;
    wheelRest_ -= notches * WHEEL_DELTA;
    const long long perNotch =
        lines == WHEEL_PAGESCROLL ? static_cast<long long>(VisibleRows()) : static_cast<long long>(lines);
    ScrollBy(-notches * perNotch);
}

void ResultView::OnContextMenu(POINT screen) {
    if (!focused_) ::SetFocus(hwnd_);
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: at the caret.
        POINT caret{};
        ::GetCaretPos(&caret);
        if (caret.x < 0 || caret.y < 0) caret = POINT{0, 0};
        caret.y += lineHeight_;
        ::ClientToScreen(hwnd_, &caret);
        screen = caret;
    }
    MenuHandle menu(::CreatePopupMenu());
    if (!menu) return;
    ::AppendMenuA(menu.get(), MF_STRING | (selection_.empty() ? MF_GRAYED : 0), kCommandCopy, "&Copy");
    ::AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu.get(), MF_STRING | (layout_.Size() == 0 ? MF_GRAYED : 0), kCommandSelectAll, "Select &All");
    const UINT command = static_cast<UINT>(::TrackPopupMenu(
        menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, hwnd_, nullptr));
    if (command == kCommandCopy) CopySelection();
    if (command == kCommandSelectAll) SelectAll();
}

void ResultView::DragTo(POINT client) {
    bool atRowEnd = false;
    const std::size_t offset = HitTest(client, atRowEnd);
    MoveCaret(offset, true, atRowEnd);
}

LRESULT ResultView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        ApplyWidth();
        UpdateScrollBar();
        return 0;
    case WM_SIZE: {
        if (wParam == SIZE_MINIMIZED) return 0;
        // Keep the first visible character at the top.
        const std::size_t topOffset = layout_.Row(topRow_).start;
        ApplyWidth();
        topRow_ = layout_.RowOf(topOffset);
        UpdateScrollBar();
        Redraw();
        UpdateCaret();
        return 0;
    }
    case WM_SETTEXT:
        SetText(lParam ? NarrowFromWide(reinterpret_cast<const wchar_t*>(lParam)) : std::string());
        return TRUE;
    case WM_GETTEXTLENGTH:
        // Counted, not converted: a run's text is many megabytes.
        if (!wideLength_) wideLength_ = WideLengthOf(layout_.Text());
        return static_cast<LRESULT>(*wideLength_);
    case WM_GETTEXT: {
        if (wParam == 0 || lParam == 0) return 0;
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
        return static_cast<LRESULT>(n);
    }
    case WM_SETFONT: {
        const std::size_t topOffset = layout_.Row(topRow_).start;
        ApplyFont(reinterpret_cast<HFONT>(wParam));
        ApplyWidth();
        topRow_ = layout_.RowOf(topOffset);
        UpdateScrollBar();
        if (focused_) {
            ::CreateCaret(hwnd_, nullptr, 1, lineHeight_);
            ::ShowCaret(hwnd_);
            UpdateCaret();
        }
        if (LOWORD(lParam)) Redraw();
        return 0;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_ERASEBKGND:
        return 1;  // the paint covers everything
    case WM_PAINT: {
        PaintDc paint(hwnd_);
        RECT client{};
        ::GetClientRect(hwnd_, &client);
        PaintContent(paint.get(), client);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client{};
        ::GetClientRect(hwnd_, &client);
        PaintContent(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_ENABLE:
        Redraw();
        return 0;
    case WM_SETFOCUS:
        focused_ = true;
        ::CreateCaret(hwnd_, nullptr, 1, lineHeight_);
        UpdateCaret();
        ::ShowCaret(hwnd_);
        Redraw();
        Notify(EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        focused_ = false;
        ::DestroyCaret();
        Redraw();
        Notify(EN_KILLFOCUS);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_CHAR:
        return 0;  // read-only
    case WM_LBUTTONDOWN: {
        if (!focused_) ::SetFocus(hwnd_);
        bool atRowEnd = false;
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const std::size_t offset = HitTest(point, atRowEnd);
        MoveCaret(offset, (wParam & MK_SHIFT) != 0, atRowEnd);
        dragging_ = true;
        ::SetCapture(hwnd_);
        return 0;
    }
    case WM_LBUTTONDBLCLK: {
        bool atRowEnd = false;
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const std::size_t offset = HitTest(point, atRowEnd);
        const auto word = layout_.WordAt(offset);
        selection_.anchor = word.first;
        MoveCaret(word.second, true);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (dragging_) {
            const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            DragTo(point);
            // Outside the window the drag goes on scrolling by itself.
            if (point.y < 0 || point.y >= clientHeight_) {
                ::SetTimer(hwnd_, kDragTimer, kDragInterval, nullptr);
            } else {
                ::KillTimer(hwnd_, kDragTimer);
            }
        }
        return 0;
    case WM_TIMER:
        if (wParam == kDragTimer && dragging_) {
            POINT point{};
            ::GetCursorPos(&point);
            ::ScreenToClient(hwnd_, &point);
            if (point.y < 0) {
                ScrollBy(-1);
            } else if (point.y >= clientHeight_) {
                ScrollBy(1);
            }
            DragTo(point);
        }
        return 0;
    case WM_LBUTTONUP:
        if (dragging_) {
            dragging_ = false;
            ::KillTimer(hwnd_, kDragTimer);
            ::ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        dragging_ = false;
        ::KillTimer(hwnd_, kDragTimer);
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam));
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_COPY:
        CopySelection();
        return 0;
    case EM_GETSEL: {
        const std::size_t b = selection_.begin(), e = selection_.end();
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(b);
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(e);
        if (b > 0xFFFF || e > 0xFFFF) return -1;
        return MAKELRESULT(b, e);
    }
    case EM_SETSEL: {
        const long long size = static_cast<long long>(layout_.Size());
        long long start = static_cast<int>(wParam);
        long long end = static_cast<int>(lParam);
        if (start == -1) {
            // Deselects, the caret stays.
            SetSelection(selection_.caret, selection_.caret);
            return 0;
        }
        if (start < 0 || start > size) start = size;
        if (end < 0 || end > size) end = size;
        SetSelection(static_cast<std::size_t>(start), static_cast<std::size_t>(end));
        return 0;
    }
    case EM_GETLINECOUNT:
        return static_cast<LRESULT>(layout_.RowCount());
    case EM_GETFIRSTVISIBLELINE:
        return static_cast<LRESULT>(topRow_);
    case EM_LINESCROLL:
        ScrollBy(static_cast<int>(lParam));
        return TRUE;
    case EM_SCROLLCARET:
        EnsureCaretVisible();
        return TRUE;
    case EM_SETREADONLY:
        return TRUE;
    default:
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

}  // namespace quorv::win
