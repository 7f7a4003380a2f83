#include "tests/e2e/driver/e2e_screen_win32.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "tests/e2e/driver/e2e_files_win32.h"
#include "tests/e2e/driver/e2e_program_win32.h"
#include "tests/e2e/driver/e2e_window_win32.h"

namespace quorv::e2e {

COLORREF ScreenPixel(POINT screen) {
    HDC dc = ::GetDC(nullptr);
    if (!dc) return CLR_INVALID;
    const COLORREF colour = ::GetPixel(dc, screen.x, screen.y);
    ::ReleaseDC(nullptr, dc);
    return colour;
}

ScreenImage::ScreenImage(const RECT& area) : area_(area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && bitmap && bits) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
        ::GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);  // 0x00RRGGBB
        pixels_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        for (std::size_t i = 0; i < pixels_.size(); ++i)
            pixels_[i] = RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF);
        ::SelectObject(memory, old);
    }
    if (bitmap) ::DeleteObject(bitmap);
    if (memory) ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

COLORREF ScreenImage::At(int x, int y) const {
    const int width = area_.right - area_.left;
    if (pixels_.empty() || x < area_.left || y < area_.top || x >= area_.right || y >= area_.bottom)
        return CLR_INVALID;
    return pixels_[static_cast<std::size_t>(y - area_.top) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x - area_.left)];
}

int ScreenImage::CountOtherThan(COLORREF colour, const RECT& rect) const {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) {
            const COLORREF pixel = At(x, y);
            if (pixel != CLR_INVALID && pixel != colour) ++count;
        }
    return count;
}

RECT UnionOf(const std::vector<RECT>& rects) {
    RECT all{};
    bool first = true;
    for (const RECT& r : rects) {
        if (first) {
            all = r;
            first = false;
        } else {
            ::UnionRect(&all, &all, &r);
        }
    }
    return all;
}

bool SaveScreenshot(const std::string& name, const RECT* area, int margin) {
    const std::string folder = Build().screenshots;
    const std::string file = folder + "/" + name + ".png";
    const std::string partial = folder + "/." + name + ".partial.png";
    std::string crop;
    if (area) {
        const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
        const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
        const int left = std::max(0, static_cast<int>(area->left) - margin);
        const int top = std::max(0, static_cast<int>(area->top) - margin);
        const int right = std::min(screenWidth, static_cast<int>(area->right) + margin);
        const int bottom = std::min(screenHeight, static_cast<int>(area->bottom) + margin);
        if (right <= left || bottom <= top) return false;
        char geometry[96];
        std::snprintf(geometry, sizeof geometry, " -crop %dx%d+%d+%d +repage", right - left, bottom - top, left, top);
        crop = geometry;
    }
    ::DeleteFileA(HostToWindowsPath(file).c_str());
    // Wine starts the host's shell by its path but gives no handle to wait
    // on: the picture appears under its name only when it is whole.
    std::string command = "Z:\\bin\\sh -c \"mkdir -p '" + folder + "' && import -window root" + crop + " '" +
                          partial + "' && mv '" + partial + "' '" + file + "'\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    if (process.hThread) ::CloseHandle(process.hThread);
    if (process.hProcess) ::CloseHandle(process.hProcess);
    return WaitUntil([&] { return Exists(HostToWindowsPath(file)); }, 20000, 20);
}

}  // namespace quorv::e2e
