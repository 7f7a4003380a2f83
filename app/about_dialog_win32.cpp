#include "app/about_dialog_win32.h"

#include "app/resource.h"
#include "skin/paint_win32.h"

namespace quorv::win {

const char* const kAboutLines[] = {
    "Quorvane 2",
    "Version 2.0.0",
    "A batch file renamer: gather files, build renaming rules, preview, rename and undo.",
    "Released under the MIT licence.",
    "MP3 tags are read with id3lib, used under the GNU Lesser General Public Licence.",
};
const int kAboutLineCount = static_cast<int>(sizeof kAboutLines / sizeof kAboutLines[0]);

namespace {

// Lengths at 96 DPI: the box's width, where the lines start and end, the
// first line's top, the space between two lines and below the last.
constexpr int kWidth = 420;
constexpr int kTextLeft = 64;
constexpr int kTextRightMargin = 12;
constexpr int kTop = 44;
constexpr int kLineGap = 7;
constexpr int kButtonRoom = 60;

}  // namespace

const CommandRow<AboutDialog> AboutDialog::kCommands[] = {
    {IDOK, kAnyCode, &AboutDialog::OnOkCommand},
    {IDCANCEL, kAnyCode, &AboutDialog::OnCancelCommand},
};

INT_PTR AboutDialog::Run(HWND owner) { return DoModal(IDD_EMPTY_POPUP, owner); }

bool AboutDialog::OnInitDialog() {
    static_assert(sizeof kAboutLines / sizeof kAboutLines[0] <= sizeof(lines_) / sizeof(lines_[0]),
                  "a window for every line");
    ::SetWindowTextA(hwnd(), "About Quorvane 2");
    picture_ = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ICON, 0, 0, 0, 0, hwnd(), nullptr,
                                 Instance(), nullptr);
    LoadIcon();
    for (int i = 0; i < kAboutLineCount; ++i) {
        lines_[i] = ::CreateWindowExA(0, "STATIC", kAboutLines[i], WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_LEFT, 0,
                                      0, 0, 0, hwnd(), nullptr, Instance(), nullptr);
        ::SendMessageA(lines_[i], WM_SETFONT, reinterpret_cast<WPARAM>(i == 0 ? BoldFont() : NormalFont()), TRUE);
    }
    ok_.Create(hwnd(), IDOK, "&OK", RECT{0, 0, 0, 0}, NormalFont());
    ok_.SetScale(scale());
    ok_.SetTheme(theme());
    Layout();
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    CentreOn(work);
    ::SetFocus(ok_.hwnd());
    return false;  // the focus is set
}

void AboutDialog::LoadIcon() {
    icon_.reset(static_cast<HICON>(::LoadImageA(Instance(), MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                                                scale().Px(32), scale().Px(32), LR_DEFAULTCOLOR)));
    if (picture_) ::SendMessageA(picture_, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
}

void AboutDialog::Layout() {
    const Scale s = scale();
    const int width = s.Px(kWidth);
    const int textLeft = s.Px(kTextLeft);
    RECT frame{0, 0, width, 100};
    RECT client{};
    ::GetWindowRect(hwnd(), &frame);
    ::GetClientRect(hwnd(), &client);
    const int frameWidth = (frame.right - frame.left) - client.right;
    const int frameHeight = (frame.bottom - frame.top) - client.bottom;
    const int textWidth = width - frameWidth - textLeft - s.Px(kTextRightMargin);
    int y = s.Px(kTop);
    {
        WindowDc dc(hwnd());
        for (int i = 0; i < kAboutLineCount; ++i) {
            SelectGuard font(dc.get(), i == 0 ? BoldFont() : NormalFont());
            RECT measure{0, 0, textWidth, 0};
            DrawTextNarrow(dc.get(), kAboutLines[i], measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            const int height = measure.bottom - measure.top;
            ::MoveWindow(lines_[i], textLeft, y, textWidth, height, TRUE);
            y += height + s.Px(kLineGap);
        }
    }
    if (picture_) ::MoveWindow(picture_, s.Px(18), s.Px(kTop), s.Px(32), s.Px(32), TRUE);
    const int clientHeight = y + s.Px(kButtonRoom) - s.Px(kLineGap);
    ::SetWindowPos(hwnd(), nullptr, 0, 0, width, clientHeight + frameHeight,
                   SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    ::GetClientRect(hwnd(), &client);
    const int buttonWidth = s.Px(68);
    const int left = (client.right - buttonWidth) / 2;
    ::MoveWindow(ok_.hwnd(), left, client.bottom - s.Px(36), buttonWidth, s.Px(23), TRUE);
    LayoutCaption();
}

void AboutDialog::SetScale(Scale scale) {
    ThemedDialog::SetScale(scale);
    if (!hwnd()) return;
    LoadIcon();
    Layout();
}

bool AboutDialog::Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return RouteRows(this, RowTable<MessageRow<AboutDialog>>{}, Table(kCommands), message, wParam, lParam, result) ||
           ThemedDialog::Route(message, wParam, lParam, result);
}

void AboutDialog::OnOkCommand() { EndDialog(IDOK); }

void AboutDialog::OnCancelCommand() { EndDialog(IDCANCEL); }

}  // namespace quorv::win
