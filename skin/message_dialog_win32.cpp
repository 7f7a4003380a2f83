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
SIZE MeasureText(HDC dc, const std::string& text, int width) {
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
    const skin::MessageLayout layout = Measure();
    ::SetWindowTextA(self, layout.caption.c_str());
    const RECT text = ToRECT(layout.text);
    static_ = ::CreateWindowExW(0, L"STATIC", WideFromNarrow(text_).c_str(),
                                WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, text.left, text.top,
                                text.right - text.left, text.bottom - text.top, self, nullptr, Instance(), nullptr);
    if (static_) ::SendMessageA(static_, WM_SETFONT, reinterpret_cast<WPARAM>(NormalFont()), FALSE);
    first_.Create(self, kFirstButton, kind_ == kQuestion ? "&Yes" : "&OK", ToRECT(layout.first), NormalFont());
    second_.Create(self, kSecondButton, "&No", ToRECT(layout.second), NormalFont());
    first_.SetScale(scale());
    second_.SetScale(scale());
    if (!layout.secondVisible && second_.hwnd()) ::ShowWindow(second_.hwnd(), SW_HIDE);
    Layout(layout);
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    CentreOn(RECT{0, 0, screenWidth, screenHeight});
    first_.SetTheme(theme());
    second_.SetTheme(theme());
    if (first_.hwnd()) ::SetFocus(first_.hwnd());
    return false;  // the focus is set
}

skin::MessageLayout MessageDialog::Measure() const {
    // The window grows with the text: measure it in the dialog's font first,
    // on one line and then wrapped at the widest the message may be.
    WindowDc dc(hwnd());
    SelectGuard font(dc.get(), NormalFont());
    const SIZE oneLine = MeasureText(dc.get(), text_, 0);
    const int width = skin::MessageTextWidth(static_cast<int>(oneLine.cx), scale());
    const SIZE wrapped = width > 0 ? MeasureText(dc.get(), text_, width) : SIZE{0, oneLine.cy};
    return skin::LayoutMessage(static_cast<int>(oneLine.cx), static_cast<int>(wrapped.cy), kind_, scale());
}

void MessageDialog::Layout(const skin::MessageLayout& layout) {
    RECT window{};
    ::GetWindowRect(hwnd(), &window);
    ::MoveWindow(hwnd(), window.left, window.top, layout.windowWidth, layout.windowHeight, TRUE);
    const auto place = [](HWND control, const Rect& r) {
        if (control) ::MoveWindow(control, r.left, r.top, r.width(), r.height(), TRUE);
    };
    place(static_, layout.text);
    place(first_.hwnd(), layout.first);
    place(second_.hwnd(), layout.second);
}

void MessageDialog::SetScale(Scale scale) {
    ThemedDialog::SetScale(scale);
    if (hwnd()) Layout(Measure());
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
