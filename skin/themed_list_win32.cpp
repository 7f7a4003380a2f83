#include "skin/themed_list_win32.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "formats/error_log.h"
#include "skin/dialog_win32.h"
#include "skin/paint_win32.h"
#include "system/system.h"
#include "system/system_access.h"
#include "system/text_win32.h"

namespace quorv::win {
namespace {

// The lists with this procedure: their object (null once detached) and the
// procedure they had before. An entry lives until the window is destroyed,
// so a list whose procedure was subclassed again after ours still reaches
// its own procedure.
struct Attachment {
    ThemedList* list = nullptr;
    WNDPROC previous = nullptr;
};
std::mutex g_lock;
std::unordered_map<HWND, Attachment>& Attachments() {
    static std::unordered_map<HWND, Attachment> attachments;
    return attachments;
}
Attachment Find(HWND window) {
    std::lock_guard<std::mutex> hold(g_lock);
    auto it = Attachments().find(window);
    return it == Attachments().end() ? Attachment{} : it->second;
}

}  // namespace

ThemedList::~ThemedList() { Detach(); }

bool ThemedList::Attach(HWND list) {
    Detach();
    if (!list || !::IsWindow(list)) return false;
    char className[16] = {};
    ::GetClassNameA(list, className, static_cast<int>(sizeof className));
    if (::lstrcmpiA(className, "ListBox") != 0) return false;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        auto it = Attachments().find(list);
        if (it != Attachments().end()) {
            // Ours already: take it over from its former object.
            if (it->second.list && it->second.list != this) it->second.list->list_ = nullptr;
            it->second.list = this;
        } else {
            const WNDPROC previous = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ThemedList::WindowProc)));
            if (!previous) return false;
            Attachments()[list] = Attachment{this, previous};
        }
    }
    list_ = list;
    remembered_ = -1;
    ApplyItemHeight();
    return true;
}

void ThemedList::Detach() {
    if (!list_) return;
    std::lock_guard<std::mutex> hold(g_lock);
    auto it = Attachments().find(list_);
    if (it != Attachments().end()) {
        const LONG_PTR current = ::GetWindowLongPtrA(list_, GWLP_WNDPROC);
        if (current == reinterpret_cast<LONG_PTR>(&ThemedList::WindowProc)) {
            // Ours is on top: the list gets its own procedure back.
            ::SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.previous));
            Attachments().erase(it);
        } else {
            it->second.list = nullptr;  // passes messages through until the window goes
        }
    }
    list_ = nullptr;
}

LRESULT ThemedList::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) {
    const Attachment a = Find(list_);
    return a.previous ? ::CallWindowProcA(a.previous, list_, message, wParam, lParam)
                      : ::DefWindowProcA(list_, message, wParam, lParam);
}

LRESULT CALLBACK ThemedList::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Attachment a = Find(window);
    if (message == WM_NCDESTROY) {
        {
            std::lock_guard<std::mutex> hold(g_lock);
            Attachments().erase(window);
        }
        if (a.list) a.list->list_ = nullptr;
        return a.previous ? ::CallWindowProcA(a.previous, window, message, wParam, lParam)
                          : ::DefWindowProcA(window, message, wParam, lParam);
    }
    if (a.list) {
        bool handled = false;
        LRESULT result = 0;
        try {
            result = a.list->Handle(message, wParam, lParam, handled);
        } catch (...) {
            WriteErrorLog("Unexpected failure in a list box while handling message 0x%x.", message);
            handled = false;
        }
        if (handled) return result;
    }
    return a.previous ? ::CallWindowProcA(a.previous, window, message, wParam, lParam)
                      : ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT ThemedList::Handle(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (message) {
    case kReflectBase + WM_DRAWITEM:
        handled = true;
        if (lParam) DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case kReflectBase + WM_MEASUREITEM:
        handled = true;
        if (lParam) MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_SETFONT: {
        handled = true;
        const LRESULT r = CallPrevious(message, wParam, lParam);
        ApplyItemHeight();
        return r;
    }
    case WM_LBUTTONDOWN:
    case WM_KEYDOWN: {
        // The system's handling first, then the selection it left.
        handled = true;
        const LRESULT r = CallPrevious(message, wParam, lParam);
        Remember();
        return r;
    }
    case LB_RESETCONTENT: {
        handled = true;
        const LRESULT r = CallPrevious(message, wParam, lParam);
        remembered_ = -1;
        return r;
    }
    default:
        return 0;
    }
}

void ThemedList::Remember() { remembered_ = static_cast<int>(::SendMessageA(list_, LB_GETCURSEL, 0, 0)); }

// ---------------------------------------------------------------- look

void ThemedList::SetTheme(int theme) {
    fill_ = GetThemeColour(theme, 3);
    frame_ = AdjustColour(GetThemeColour(theme, 4), 40);
    if (list_) ::InvalidateRect(list_, nullptr, TRUE);
}

HBRUSH ThemedList::BackgroundBrush() {
    if (!backgroundBrush_) backgroundBrush_.reset(::CreateSolidBrush(background_));
    return backgroundBrush_.get();
}

HFONT ThemedList::ListFont() const {
    HFONT font = list_ ? reinterpret_cast<HFONT>(::SendMessageA(list_, WM_GETFONT, 0, 0)) : nullptr;
    return font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

int ThemedList::TextHeight() const {
    WindowDc dc(list_);
    if (!dc) return 16;
    SelectGuard font(dc.get(), ListFont());
    SIZE size{};
    ::GetTextExtentPoint32A(dc.get(), "W", 1, &size);
    return size.cy + 3;
}

void ThemedList::SetItemHeight(int height) {
    fixedHeight_ = height < 0 ? 0 : height;
    ApplyItemHeight();
}

int ThemedList::ItemHeight() const {
    if (!list_) return fixedHeight_ > 0 ? fixedHeight_ : TextHeight();
    return static_cast<int>(::SendMessageA(list_, LB_GETITEMHEIGHT, 0, 0));
}

void ThemedList::ApplyItemHeight() {
    if (!list_) return;
    const int height = fixedHeight_ > 0 ? fixedHeight_ : TextHeight();
    ::SendMessageA(list_, LB_SETITEMHEIGHT, 0, MAKELPARAM(std::min(height, 255), 0));
    ::InvalidateRect(list_, nullptr, TRUE);
}

void ThemedList::MeasureItem(MEASUREITEMSTRUCT& item) const {
    // Every text of one font has the same height: the height of "W" stands
    // for an empty text as for any other.
    item.itemHeight = static_cast<UINT>(fixedHeight_ > 0 ? fixedHeight_ : TextHeight());
}

void ThemedList::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;  // an empty list draws nothing
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    if (item.itemState & ODS_SELECTED) {
        Brush fill(::CreateSolidBrush(fill_));
        Brush frame(::CreateSolidBrush(frame_));
        ::FillRect(dc, &rect, fill.get());
        ::FrameRect(dc, &rect, frame.get());
    } else {
        Brush back(::CreateSolidBrush(background_));
        ::FillRect(dc, &rect, back.get());
    }
    const std::wstring text = WideText(static_cast<int>(item.itemID));
    if (!text.empty()) {
        RECT textRect = rect;
        textRect.left += 4;
        const int oldMode = ::SetBkMode(dc, TRANSPARENT);
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
        ::SetBkMode(dc, oldMode);
    }
    // The focused entry (the one move up and move down act on) shows a
    // focus rectangle inside the selection frame.
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = rect;
        ::InflateRect(&focus, -1, -1);
        ::DrawFocusRect(dc, &focus);
    }
}

// ---------------------------------------------------------------- contents

void ThemedList::ResetContent() {
    if (list_) ::SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    remembered_ = -1;
}

int ThemedList::Count() const {
    if (!list_) return 0;
    const LRESULT n = ::SendMessageA(list_, LB_GETCOUNT, 0, 0);
    return n < 0 ? 0 : static_cast<int>(n);
}

// The texts go in and out through the wide messages: the items hold any
// name whatever the system's narrow code page.
std::wstring ThemedList::WideText(int index) const {
    if (!list_) return std::wstring();
    const LRESULT length = ::SendMessageW(list_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = ::SendMessageW(list_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied < 0 ? 0 : std::min(static_cast<std::size_t>(copied), static_cast<std::size_t>(length)));
    return text;
}

std::string ThemedList::Text(int index) const { return NarrowFromWide(WideText(index)); }

void ThemedList::SetItems(const std::vector<std::string>& texts) {
    SetItems(texts.size(), [&texts](std::size_t i) -> const std::string& { return texts[i]; });
}

void ThemedList::SetItems(std::size_t count, const TextAt& text) {
    if (!list_) return;
    ::SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < count; ++i) bytes += (text(i).size() + 1) * sizeof(wchar_t);
    ::SendMessageA(list_, LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(bytes));
    const bool sorted = (::GetWindowLongPtrA(list_, GWL_STYLE) & LBS_SORT) != 0;
    // LB_INSERTSTRING at the end keeps the model's order even in a sorted list.
    const UINT add = sorted ? LB_INSERTSTRING : LB_ADDSTRING;
    const WPARAM where = sorted ? static_cast<WPARAM>(-1) : 0;
    for (std::size_t i = 0; i < count; ++i)
        ::SendMessageW(list_, add, where, reinterpret_cast<LPARAM>(WideFromNarrow(text(i)).c_str()));
    ::SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, TRUE);
    remembered_ = -1;
    ::SendMessageA(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(MeasureExtent(count, text)), 0);
}

void ThemedList::InsertItem(int index, const std::string& text) {
    if (list_)
        ::SendMessageW(list_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(WideFromNarrow(text).c_str()));
}

void ThemedList::DeleteItem(int index) {
    if (list_) ::SendMessageA(list_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

int ThemedList::MeasureExtent(const std::vector<std::string>& texts) const {
    return MeasureExtent(texts.size(), [&texts](std::size_t i) -> const std::string& { return texts[i]; });
}

int ThemedList::MeasureExtent(std::size_t count, const TextAt& text) const {
    if (count == 0) return 0;
    WindowDc dc(list_);
    if (!dc) return 0;
    SelectGuard font(dc.get(), ListFont());
    LONG widest = 0;
    for (std::size_t i = 0; i < count; ++i) widest = std::max(widest, TextExtentNarrow(dc.get(), text(i)).cx);
    return static_cast<int>(widest) + 10;
}

void ThemedList::UpdateHorizontalExtent() {
    if (!list_) return;
    const int count = Count();
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) texts.push_back(Text(i));
    ::SendMessageA(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(MeasureExtent(texts)), 0);
}

int ThemedList::HorizontalExtent() const {
    return list_ ? static_cast<int>(::SendMessageA(list_, LB_GETHORIZONTALEXTENT, 0, 0)) : 0;
}

// ---------------------------------------------------------------- selection

bool ThemedList::MultipleSelection() const {
    return list_ && (::GetWindowLongPtrA(list_, GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
}

void ThemedList::SetSelection(const std::vector<bool>& selected) {
    if (!list_) return;
    const std::size_t count = std::min(selected.size(), static_cast<std::size_t>(Count()));
    if (!MultipleSelection()) {
        int first = -1;
        for (std::size_t i = 0; i < count && first < 0; ++i)
            if (selected[i]) first = static_cast<int>(i);
        SetCurrentSelection(first);
        return;
    }
    ::SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(list_, LB_SETSEL, FALSE, -1);
    // One message per run of selected items.
    std::size_t i = 0;
    while (i < count) {
        if (!selected[i]) {
            ++i;
            continue;
        }
        std::size_t last = i;
        while (last + 1 < count && selected[last + 1]) ++last;
        ::SendMessageA(list_, LB_SELITEMRANGEEX, static_cast<WPARAM>(i), static_cast<LPARAM>(last));
        i = last + 1;
    }
    ::SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, TRUE);
}

void ThemedList::SelectAll(bool select) {
    if (!list_) return;
    if (MultipleSelection()) {
        ::SendMessageA(list_, LB_SETSEL, select ? TRUE : FALSE, -1);
    } else if (!select) {
        SetCurrentSelection(-1);
    }
}

void ThemedList::SetCurrentSelection(int index) {
    if (!list_) return;
    if (MultipleSelection()) {
        ::SendMessageA(list_, LB_SETSEL, FALSE, -1);
        if (index >= 0) {
            ::SendMessageA(list_, LB_SETSEL, TRUE, index);
            SetCaretIndex(index);
        }
    } else {
        ::SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

int ThemedList::CurrentSelection() const {
    return list_ ? static_cast<int>(::SendMessageA(list_, LB_GETCURSEL, 0, 0)) : -1;
}

void ThemedList::SetCaretIndex(int index) {
    if (list_) ::SendMessageA(list_, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
}

int ThemedList::CaretIndex() const {
    if (!list_ || Count() == 0) return -1;
    return static_cast<int>(::SendMessageA(list_, LB_GETCARETINDEX, 0, 0));
}

void ThemedList::SetTopIndex(int index) {
    if (list_) ::SendMessageA(list_, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

int ThemedList::TopIndex() const { return list_ ? static_cast<int>(::SendMessageA(list_, LB_GETTOPINDEX, 0, 0)) : 0; }

std::vector<int> ThemedList::SelectedIndices() const {
    std::vector<int> indices;
    if (!list_) return indices;
    if (!MultipleSelection()) {
        const int current = CurrentSelection();
        if (current >= 0) indices.push_back(current);
        return indices;
    }
    const LRESULT n = ::SendMessageA(list_, LB_GETSELCOUNT, 0, 0);
    if (n <= 0) return indices;
    indices.resize(static_cast<std::size_t>(n));
    const LRESULT got = ::SendMessageA(list_, LB_GETSELITEMS, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(indices.data()));
    indices.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
    return indices;
}

std::vector<bool> ThemedList::SelectionMask() const {
    std::vector<bool> mask(static_cast<std::size_t>(Count()), false);
    for (int i : SelectedIndices())
        if (i >= 0 && static_cast<std::size_t>(i) < mask.size()) mask[static_cast<std::size_t>(i)] = true;
    return mask;
}

}  // namespace quorv::win
