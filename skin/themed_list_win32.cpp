#include "skin/themed_list_win32.h"

#include <algorithm>

#include "skin/dialog_win32.h"
#include "skin/paint_win32.h"
#include "system/system.h"
#include "system/system_access.h"
#include "system/text_win32.h"

namespace quorv::win {

bool ThemedList::Attach(HWND list) {
    Detach();
    if (!list || !::IsWindow(list)) return false;
    char className[16] = {};
    ::GetClassNameA(list, className, static_cast<int>(sizeof className));
    if (::lstrcmpiA(className, "ListBox") != 0) return false;
    if (ThemedList* former = FromWindow(list)) former->Detach();
    listBox_ = reinterpret_cast<WNDPROC>(::GetClassLongPtrW(list, GCLP_WNDPROC));
    return Control::Attach(list);
}

// What this object asks of its list in bulk (a fill, every text read back,
// a selection in runs) goes straight to the list box's own procedure:
// through the subclass every message costs two window-property lookups,
// under Wine each a round trip to its server (a fill of 100,000 paths took
// 16 s that way, under 1 s this way). None of these messages is one the
// subclass handles.
LRESULT ThemedList::ToListBox(UINT message, WPARAM wParam, LPARAM lParam) const {
    return listBox_ ? ::CallWindowProcW(listBox_, hwnd(), message, wParam, lParam)
                    : ::SendMessageW(hwnd(), message, wParam, lParam);
}

void ThemedList::OnAttached() {
    remembered_ = -1;
    ApplyItemHeight();
}

RowTable<MessageRow<ThemedList>> ThemedList::Messages() {
    static constexpr MessageRow<ThemedList> kRows[] = {
        {kReflectBase + WM_DRAWITEM, &ThemedList::OnReflectedDrawItem},
        {kReflectBase + WM_MEASUREITEM, &ThemedList::OnReflectedMeasureItem},
        {WM_SETFONT, &ThemedList::OnSetFont},
        {WM_LBUTTONDOWN, &ThemedList::OnPress},
        {WM_KEYDOWN, &ThemedList::OnPress},
        {LB_RESETCONTENT, &ThemedList::OnResetContent},
    };
    return Table(kRows);
}

bool ThemedList::OnReflectedDrawItem(UINT, WPARAM, LPARAM lParam, LRESULT& result) {
    if (lParam) DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

bool ThemedList::OnReflectedMeasureItem(UINT, WPARAM, LPARAM lParam, LRESULT& result) {
    if (lParam) MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

bool ThemedList::OnSetFont(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = Default(message, wParam, lParam);
    ApplyItemHeight();
    return true;
}

bool ThemedList::OnPress(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = Default(message, wParam, lParam);
    Remember();
    return true;
}

bool ThemedList::OnResetContent(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = Default(message, wParam, lParam);
    remembered_ = -1;
    return true;
}

void ThemedList::Remember() { remembered_ = static_cast<int>(::SendMessageA(hwnd(), LB_GETCURSEL, 0, 0)); }

// ---------------------------------------------------------------- look

void ThemedList::SetTheme(int theme) {
    fill_ = GetThemeColour(theme, 3);
    frame_ = AdjustColour(GetThemeColour(theme, 4), 40);
    if (hwnd()) ::InvalidateRect(hwnd(), nullptr, TRUE);
}

HBRUSH ThemedList::BackgroundBrush() {
    if (!backgroundBrush_) backgroundBrush_.reset(::CreateSolidBrush(background_));
    return backgroundBrush_.get();
}

HFONT ThemedList::ListFont() const {
    HFONT font = hwnd() ? reinterpret_cast<HFONT>(::SendMessageA(hwnd(), WM_GETFONT, 0, 0)) : nullptr;
    return font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

int ThemedList::TextHeight() const {
    WindowDc dc(hwnd());
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
    if (!hwnd()) return fixedHeight_ > 0 ? fixedHeight_ : TextHeight();
    return static_cast<int>(::SendMessageA(hwnd(), LB_GETITEMHEIGHT, 0, 0));
}

void ThemedList::ApplyItemHeight() {
    if (!hwnd()) return;
    const int height = fixedHeight_ > 0 ? fixedHeight_ : TextHeight();
    ::SendMessageA(hwnd(), LB_SETITEMHEIGHT, 0, MAKELPARAM(std::min(height, 255), 0));
    ::InvalidateRect(hwnd(), nullptr, TRUE);
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
    if (hwnd()) ::SendMessageA(hwnd(), LB_RESETCONTENT, 0, 0);
    remembered_ = -1;
}

int ThemedList::Count() const {
    if (!hwnd()) return 0;
    const LRESULT n = ::SendMessageA(hwnd(), LB_GETCOUNT, 0, 0);
    return n < 0 ? 0 : static_cast<int>(n);
}

// The texts go in and out through the wide messages: the items hold any
// name whatever the system's narrow code page.
std::wstring ThemedList::WideText(int index) const {
    if (!hwnd()) return std::wstring();
    const LRESULT length = ToListBox(LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = ToListBox(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied < 0 ? 0 : std::min(static_cast<std::size_t>(copied), static_cast<std::size_t>(length)));
    return text;
}

std::string ThemedList::Text(int index) const { return NarrowFromWide(WideText(index)); }

void ThemedList::SetItems(const std::vector<std::string>& texts) {
    SetItems(texts.size(), [&texts](std::size_t i) -> const std::string& { return texts[i]; });
}

void ThemedList::SetItems(std::size_t count, const TextAt& text) {
    if (!hwnd()) return;
    ToListBox(WM_SETREDRAW, FALSE, 0);
    ToListBox(LB_RESETCONTENT, 0, 0);
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < count; ++i) bytes += (text(i).size() + 1) * sizeof(wchar_t);
    ToListBox(LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(bytes));
    const bool sorted = (::GetWindowLongPtrA(hwnd(), GWL_STYLE) & LBS_SORT) != 0;
    // LB_INSERTSTRING at the end keeps the model's order even in a sorted list.
    const UINT add = sorted ? LB_INSERTSTRING : LB_ADDSTRING;
    const WPARAM where = sorted ? static_cast<WPARAM>(-1) : 0;
    for (std::size_t i = 0; i < count; ++i)
        ToListBox(add, where, reinterpret_cast<LPARAM>(WideFromNarrow(text(i)).c_str()));
    ToListBox(WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
    remembered_ = -1;
    ::SendMessageA(hwnd(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(MeasureExtent(count, text)), 0);
}

void ThemedList::InsertItem(int index, const std::string& text) {
    if (hwnd())
        ::SendMessageW(hwnd(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(WideFromNarrow(text).c_str()));
}

void ThemedList::DeleteItem(int index) {
    if (hwnd()) ::SendMessageA(hwnd(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

int ThemedList::MeasureExtent(const std::vector<std::string>& texts) const {
    return MeasureExtent(texts.size(), [&texts](std::size_t i) -> const std::string& { return texts[i]; });
}

int ThemedList::MeasureExtent(std::size_t count, const TextAt& text) const {
    if (count == 0) return 0;
    WindowDc dc(hwnd());
    if (!dc) return 0;
    SelectGuard font(dc.get(), ListFont());
    LONG widest = 0;
    for (std::size_t i = 0; i < count; ++i) widest = std::max(widest, TextExtentNarrow(dc.get(), text(i)).cx);
    return static_cast<int>(widest) + 10;
}

void ThemedList::UpdateHorizontalExtent() {
    if (!hwnd()) return;
    const int count = Count();
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) texts.push_back(Text(i));
    ::SendMessageA(hwnd(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(MeasureExtent(texts)), 0);
}

int ThemedList::HorizontalExtent() const {
    return hwnd() ? static_cast<int>(::SendMessageA(hwnd(), LB_GETHORIZONTALEXTENT, 0, 0)) : 0;
}

// ---------------------------------------------------------------- selection

bool ThemedList::MultipleSelection() const {
    return hwnd() && (::GetWindowLongPtrA(hwnd(), GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
}

void ThemedList::SetSelection(const std::vector<bool>& selected) {
    if (!hwnd()) return;
    const std::size_t count = std::min(selected.size(), static_cast<std::size_t>(Count()));
    if (!MultipleSelection()) {
        int first = -1;
        for (std::size_t i = 0; i < count && first < 0; ++i)
            if (selected[i]) first = static_cast<int>(i);
        SetCurrentSelection(first);
        return;
    }
    ToListBox(WM_SETREDRAW, FALSE, 0);
    ToListBox(LB_SETSEL, FALSE, -1);
    // One message per run of selected items.
    std::size_t i = 0;
    while (i < count) {
        if (!selected[i]) {
            ++i;
            continue;
        }
        std::size_t last = i;
        while (last + 1 < count && selected[last + 1]) ++last;
        ToListBox(LB_SELITEMRANGEEX, static_cast<WPARAM>(i), static_cast<LPARAM>(last));
        i = last + 1;
    }
    ToListBox(WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void ThemedList::SelectAll(bool select) {
    if (!hwnd()) return;
    if (MultipleSelection()) {
        ::SendMessageA(hwnd(), LB_SETSEL, select ? TRUE : FALSE, -1);
    } else if (!select) {
        SetCurrentSelection(-1);
    }
}

void ThemedList::SetCurrentSelection(int index) {
    if (!hwnd()) return;
    if (MultipleSelection()) {
        ::SendMessageA(hwnd(), LB_SETSEL, FALSE, -1);
        if (index >= 0) {
            ::SendMessageA(hwnd(), LB_SETSEL, TRUE, index);
            SetCaretIndex(index);
        }
    } else {
        ::SendMessageA(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

int ThemedList::CurrentSelection() const {
    return hwnd() ? static_cast<int>(::SendMessageA(hwnd(), LB_GETCURSEL, 0, 0)) : -1;
}

void ThemedList::SetCaretIndex(int index) {
    if (hwnd()) ::SendMessageA(hwnd(), LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
}

int ThemedList::CaretIndex() const {
    if (!hwnd() || Count() == 0) return -1;
    return static_cast<int>(::SendMessageA(hwnd(), LB_GETCARETINDEX, 0, 0));
}

void ThemedList::SetTopIndex(int index) {
    if (hwnd()) ::SendMessageA(hwnd(), LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

int ThemedList::TopIndex() const { return hwnd() ? static_cast<int>(::SendMessageA(hwnd(), LB_GETTOPINDEX, 0, 0)) : 0; }

std::vector<int> ThemedList::SelectedIndices() const {
    std::vector<int> indices;
    if (!hwnd()) return indices;
    if (!MultipleSelection()) {
        const int current = CurrentSelection();
        if (current >= 0) indices.push_back(current);
        return indices;
    }
    const LRESULT n = ::SendMessageA(hwnd(), LB_GETSELCOUNT, 0, 0);
    if (n <= 0) return indices;
    indices.resize(static_cast<std::size_t>(n));
    const LRESULT got = ::SendMessageA(hwnd(), LB_GETSELITEMS, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(indices.data()));
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
