#include "skin/paint_win32.h"

#include <climits>

#include "system/text_win32.h"

namespace quorv::win {

std::string WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return std::string();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(window, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return NarrowFromWide(text);
}

void SetWindowTextNarrow(HWND window, std::string_view text) {
    ::SetWindowTextW(window, WideFromNarrow(text).c_str());
}

int DrawTextNarrow(HDC dc, std::string_view text, RECT& rect, UINT format) {
    std::wstring wide = WideFromNarrow(text);
    if (wide.size() > static_cast<std::size_t>(INT_MAX)) return 0;
    return ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, format);
}

SIZE TextExtentNarrow(HDC dc, std::string_view text) {
    SIZE size{0, 0};
    const std::wstring wide = WideFromNarrow(text);
    if (!wide.empty() && wide.size() <= static_cast<std::size_t>(INT_MAX))
        ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

void DrawFocusFrame(HDC dc, const RECT& frame) {
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::DrawFocusRect(dc, &frame);
}

void FillWithParentBackground(HWND control, HDC dc, const RECT& rect, UINT ctlColorMessage, COLORREF fallback) {
    HWND parent = control ? ::GetParent(control) : nullptr;
    HBRUSH background = parent ? reinterpret_cast<HBRUSH>(::SendMessageW(parent, ctlColorMessage,
                                                                         reinterpret_cast<WPARAM>(dc),
                                                                         reinterpret_cast<LPARAM>(control)))
                               : nullptr;
    if (background) {
        ::FillRect(dc, &rect, background);
    } else {
        FillSolid(dc, rect, fallback);
    }
}

}  // namespace quorv::win
