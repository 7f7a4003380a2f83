#include "skin/message_dialog_win32.h"

#include <utility>

#include "skin/paint_win32.h"
#include "skin/skin_ids.h"
#include "system/text_win32.h"

namespace quorv::win {
namespace {

constexpr int kFirstButton = 1;
constexpr int kSecondButton = 2;


// The text's extent in the font: the width of its longest line unwrapped,
// and its height when wrapped within width (0: measure unwrapped).
SIZE Measure(HDC dc, const std::string& text, int width) {
    RECT r{0, 0, width, 0};
    UINT format = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS;
    if (width > 0) format |= DT_WORDBREAK | DT_EDITCONTROL;
    // DrawText wants the text to measure; an empty text is one line high.
    DrawTextNarrow(dc, text.empty() ? std::string(" ") : text, r, format);
    return SIZE{text.empty() ? 0 : r.right - r.left, r.bottom - r.top};
}

}  // namespace

MessageDialog::MessageDialog(std::string text, Kind kind, int theme)
    : ThemedDialog(theme), text_(std::move(text)), kind_(kind) {}

INT_PTR MessageDialog::Run(HWND owner) {
    const INT_PTR result = DoModal(IDD_EMPTY_POPUP, owner);
    return result == kFirstButton ? kFirstButton : kSecondButton;
}

bool MessageDialog::OnInitDialog() {
    HWND self = hwnd();
    // The window grows with the text: measure it in the dialog's font first,
    // on one line and then wrapped at the widest the message may be.
    skin::MessageLayout layout;
    {
        WindowDc dc(self);
        SelectGuard font(dc.get(), NormalFont());
        const SIZE oneLine = Measure(dc.get(), text_, 0);
        const int width = skin::MessageTextWidth(static_cast<int>(oneLine.cx));
        const SIZE wrapped = width > 0 ? Measure(dc.get(), text_, width) : SIZE{0, oneLine.cy};
        layout = skin::LayoutMessage(static_cast<int>(oneLine.cx), static_cast<int>(wrapped.cy), kind_);
    }
    ::SetWindowTextA(self, layout.caption.c_str());
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    ::MoveWindow(self, (screenWidth - layout.windowWidth) / 2, (screenHeight - layout.windowHeight) / 2,
                 layout.windowWidth, layout.windowHeight, FALSE);
    const RECT text = ToRECT(layout.text);
    static_ = ::CreateWindowExW(0, L"STATIC", WideFromNarrow(text_).c_str(),
                                WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, text.left, text.top,
                                text.right - text.left, text.bottom - text.top, self, nullptr, Instance(), nullptr);
    if (static_) ::SendMessageA(static_, WM_SETFONT, reinterpret_cast<WPARAM>(NormalFont()), FALSE);
    first_.Create(self, kFirstButton, kind_ == kQuestion ? "&Yes" : "&OK", ToRECT(layout.first), NormalFont());
    second_.Create(self, kSecondButton, "&No", ToRECT(layout.second), NormalFont());
    if (!layout.secondVisible && second_.hwnd()) ::ShowWindow(second_.hwnd(), SW_HIDE);
    first_.SetTheme(theme());
    second_.SetTheme(theme());
    if (first_.hwnd()) ::SetFocus(first_.hwnd());
    return false;  // the focus is set
}

bool MessageDialog::Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static const CommandRow<MessageDialog> kCommands[] = {
        {kFirstButton, kAnyCode, &MessageDialog::OnFirst},
        {kSecondButton, kAnyCode, &MessageDialog::OnSecond},
    };
    return RouteRows<MessageDialog>(this, {}, Table(kCommands), message, wParam, lParam, result) ||
           ThemedDialog::Route(message, wParam, lParam, result);
}

void MessageDialog::OnFirst() { EndDialog(kFirstButton); }
void MessageDialog::OnSecond() { EndDialog(kSecondButton); }

namespace {

INT_PTR RunMessage(const std::string& text, MessageDialog::Kind kind, int theme, HWND owner) {
    if (!owner) owner = ::GetActiveWindow();
    MessageDialog dialog(text, kind, theme);
    return dialog.Run(owner);
}

}  // namespace

void ShowMessage(const std::string& text, int theme, HWND owner) {
    RunMessage(text, MessageDialog::kMessage, theme, owner);
}

bool AskYesNo(const std::string& text, int theme, HWND owner) {
    return RunMessage(text, MessageDialog::kQuestion, theme, owner) == kFirstButton;
}

}  // namespace quorv::win
