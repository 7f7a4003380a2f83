#include "tests/win32/controls_test_support_win32.h"

#include <cstdint>
#include <cstring>

namespace quorv::win::test {

TestDialog::TestDialog() = default;

TestDialog::~TestDialog() {
    if (hwnd()) ::DestroyWindow(hwnd());
}

bool TestDialog::Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG:
        files.Attach(Item(IDC_TEST_FILES));
        favourites.Attach(Item(IDC_TEST_FAVOURITES));
        rules.Attach(Item(IDC_TEST_RULES));
        resultView.Attach(Item(IDC_TEST_RESULT));
        result = TRUE;
        return true;
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_MENU) {
            for (ThemedMenu* menu : menus) {
                if (menu->MeasureItem(item)) {
                    ++menuMeasures;
                    result = TRUE;
                    return true;
                }
            }
            return false;
        }
        // What the themed dialog does: the control answers.
        HWND control = Item(static_cast<int>(wParam));
        if (!control) return false;
        result = ::SendMessageA(control, kReflectBase + message, wParam, lParam);
        return true;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_MENU) {
            for (ThemedMenu* menu : menus) {
                if (menu->DrawItem(item)) {
                    ++menuDraws;
                    result = TRUE;
                    return true;
                }
            }
            return false;
        }
        result = ::SendMessageA(item.hwndItem, kReflectBase + message, wParam, lParam);
        return true;
    }
    case WM_CTLCOLORLISTBOX: {
        HWND list = reinterpret_cast<HWND>(lParam);
        for (ThemedList* l : {&files, &favourites, &rules}) {
            if (l->hwnd() == list) {
                result = reinterpret_cast<LRESULT>(l->BackgroundBrush());
                return true;
            }
        }
        return false;
    }
    case WM_CTLCOLORSTATIC: {
        if (!staticBrush_) staticBrush_.reset(::CreateSolidBrush(staticBackground));
        ::SetTextColor(reinterpret_cast<HDC>(wParam), staticText);
        ::SetBkColor(reinterpret_cast<HDC>(wParam), staticBackground);
        result = reinterpret_cast<LRESULT>(staticBrush_.get());
        return true;
    }
    case WM_MENUCHAR:
        for (ThemedMenu* menu : menus) {
            if (const LRESULT r = menu->MenuChar(static_cast<char>(LOWORD(wParam)), reinterpret_cast<HMENU>(lParam))) {
                result = r;
                return true;
            }
        }
        return false;
    case WM_VKEYTOITEM:
        // The list's own handling of the key (0 would move it to item 0).
        result = -1;
        return true;
    case WM_COMMAND:
        commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
        result = 0;
        return true;
    default:
        return Dialog::Route(message, wParam, lParam, result);
    }
}

void Pump(int milliseconds) {
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (milliseconds > 0) ::Sleep(5);
    } while (static_cast<int>(end - ::GetTickCount()) > 0);
}

bool PumpUntil(const std::function<bool()>& condition, int milliseconds) {
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(milliseconds);
    for (;;) {
        Pump(0);
        if (condition()) return true;
        if (static_cast<int>(end - ::GetTickCount()) <= 0) return condition();
        ::Sleep(5);
    }
}

ClientPixels::ClientPixels(HWND window) {
    RECT r{};
    ::GetClientRect(window, &r);
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
    if (width_ <= 0 || height_ <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    WindowDc screen(nullptr);
    Bitmap bitmap(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    DcHandle dc(::CreateCompatibleDC(screen.get()));
    if (!bitmap || !dc || !bits) return;
    {
        SelectGuard select(dc.get(), bitmap.get());
        // As a paint does it: the background, then the contents.
        ::SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
        ::SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
        ::GdiFlush();
    }
    bits_.assign(static_cast<const std::uint32_t*>(bits),
                 static_cast<const std::uint32_t*>(bits) + static_cast<std::size_t>(width_) * height_);
}

COLORREF ClientPixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    const std::uint32_t p = bits_[static_cast<std::size_t>(y) * width_ + x];  // 0x00RRGGBB
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int ClientPixels::Count(COLORREF colour, const RECT& area) const {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (At(x, y) == colour) ++n;
    return n;
}

HeldKeys::HeldKeys(bool shift, bool control) {
    ::GetKeyboardState(saved_);
    BYTE state[256];
    std::memcpy(state, saved_, sizeof state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_LSHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_LCONTROL] = control ? 0x80 : 0;
    ::SetKeyboardState(state);
}

HeldKeys::~HeldKeys() { ::SetKeyboardState(saved_); }

void PressKey(HWND window, WPARAM key, bool shift, bool control) {
    HeldKeys held(shift, control);
    ::SendMessageA(window, WM_KEYDOWN, key, 1);
    ::SendMessageA(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

namespace {

// Starts a program of the host system. Wine runs it beside this process:
// the handle it gives back does not wait for the program.
bool StartHostProgram(std::string commandLine) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    FileHandle process(pi.hProcess);
    FileHandle thread(pi.hThread);
    return true;
}

// The host path as this process sees it (Wine's drive Z: is the root).
std::string HostPathHere(const std::string& hostPath) {
    std::string path = "Z:" + hostPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

}  // namespace

bool SaveScreenshot(const std::string& name) {
#ifdef QUORV_SCREENSHOT_DIR
    const std::string dir = QUORV_SCREENSHOT_DIR;
    const std::string final = dir + "/" + name + ".png";
    const std::string partial = dir + "/." + name + ".partial.png";
    ::DeleteFileA(HostPathHere(final).c_str());
    Pump(50);
    // The picture appears under its name only when it is whole.
    if (!StartHostProgram("/bin/sh -c \"mkdir -p '" + dir + "' && import -window root '" + partial + "' && mv '" +
                          partial + "' '" + final + "'\""))
        return false;
    // Keep the windows answering while the picture is taken.
    return PumpUntil([&] { return ::GetFileAttributesA(HostPathHere(final).c_str()) != INVALID_FILE_ATTRIBUTES; },
                     20000);
#else
    (void)name;
    return false;
#endif
}

std::string ClipboardText() {
    std::string text;
    if (!::OpenClipboard(nullptr)) return text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(::GlobalLock(data))) {
            text = p;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

}  // namespace quorv::win::test
