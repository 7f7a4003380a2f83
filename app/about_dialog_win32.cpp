#include "app/about_dialog_win32.h"

#include "app/resource.h"

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

constexpr int kWidth = 420;
constexpr int kTextLeft = 64;
constexpr int kLineHeight = 22;
constexpr int kTop = 44;

}  // namespace

const CommandRow<AboutDialog> AboutDialog::kCommands[] = {
    {IDOK, kAnyCode, &AboutDialog::OnOkCommand},
    {IDCANCEL, kAnyCode, &AboutDialog::OnCancelCommand},
};

INT_PTR AboutDialog::Run(HWND owner) { return DoModal(IDD_EMPTY_POPUP, owner); }

bool AboutDialog::OnInitDialog() {
    ::SetWindowTextA(hwnd(), "About Quorvane 2");
    const int height = kTop + kAboutLineCount * kLineHeight + 60;
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    ::SetWindowPos(hwnd(), nullptr, work.left + ((work.right - work.left) - kWidth) / 2,
                   work.top + ((work.bottom - work.top) - height) / 2, kWidth, height, SWP_NOZORDER);
    LayoutCaption();
    icon_.reset(static_cast<HICON>(
        ::LoadImageA(Instance(), MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR)));
    HWND picture = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ICON, 18, kTop, 32, 32, hwnd(),
                                     nullptr, Instance(), nullptr);
    ::SendMessageA(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
    RECT client;
    ::GetClientRect(hwnd(), &client);
    for (int i = 0; i < kAboutLineCount; ++i) {
        HWND line = ::CreateWindowExA(0, "STATIC", kAboutLines[i], WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_LEFT,
                                      kTextLeft, kTop + i * kLineHeight, client.right - kTextLeft - 12,
                                      kLineHeight, hwnd(), nullptr, Instance(), nullptr);
        ::SendMessageA(line, WM_SETFONT, reinterpret_cast<WPARAM>(i == 0 ? BoldFont() : NormalFont()), TRUE);
    }
    const RECT button{(client.right - 68) / 2, client.bottom - 36, (client.right - 68) / 2 + 68, client.bottom - 13};
    ok_.Create(hwnd(), IDOK, "&OK", button, NormalFont());
    ok_.SetTheme(theme());
    ::SetFocus(ok_.hwnd());
    return false;  // the focus is set
}

bool AboutDialog::Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return RouteRows(this, RowTable<MessageRow<AboutDialog>>{}, Table(kCommands), message, wParam, lParam, result) ||
           ThemedDialog::Route(message, wParam, lParam, result);
}

void AboutDialog::OnOkCommand() { EndDialog(IDOK); }

void AboutDialog::OnCancelCommand() { EndDialog(IDCANCEL); }

}  // namespace quorv::win
