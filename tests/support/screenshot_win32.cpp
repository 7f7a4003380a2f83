#include "tests/support/screenshot_win32.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/raii_win32.h"
#include "tests/support/files_win32.h"
#include "tests/support/messages_win32.h"

namespace quorv::test {

std::string ScreenshotFolder() {
    const char* folder = std::getenv("QUORV_SCREENSHOT_DIR");
    if (folder && *folder) return folder;
#ifdef QUORV_SCREENSHOT_DIR
    return QUORV_SCREENSHOT_DIR;
#else
    return "/tmp";
#endif
}

namespace {

// Saves the screen inside the area (the whole screen when null). Wine
// starts the host's shell by its path but gives no handle to wait on, so
// the picture is written under another name and moved to its own when
// whole: its name is the sign that the shell is done.
bool Shoot(const std::string& name, const RECT* area) {
    ::GdiFlush();
    std::string crop;
    if (area) {
        const int left = std::max(0, static_cast<int>(area->left));
        const int top = std::max(0, static_cast<int>(area->top));
        const int right = std::min(::GetSystemMetrics(SM_CXSCREEN), static_cast<int>(area->right));
        const int bottom = std::min(::GetSystemMetrics(SM_CYSCREEN), static_cast<int>(area->bottom));
        if (right <= left || bottom <= top) return false;
        char geometry[96];
        std::snprintf(geometry, sizeof geometry, " -crop %dx%d+%d+%d +repage", right - left, bottom - top, left, top);
        crop = geometry;
    }
    const std::string folder = ScreenshotFolder();
    const std::string file = folder + "/" + name + ".png";
    const std::string partial = folder + "/." + name + ".partial.png";
    const std::string done = HostToWindowsPath(file);
    ::DeleteFileA(done.c_str());
    std::string command = "Z:\\bin\\sh -c \"mkdir -p '" + folder + "' && import -window root" + crop + " '" +
                          partial + "' && mv '" + partial + "' '" + file + "'\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
        std::printf("screenshot %s not taken (no shell, error %lu)\n", name.c_str(), ::GetLastError());
        return false;
    }
    // For a program of the host Wine gives no process handle, and hThread
    // then holds a stale value that names another handle of this process:
    // both are ours to close only when there is a process handle.
    const win::FileHandle process(started.hProcess);
    const win::FileHandle thread(started.hProcess ? started.hThread : nullptr);
    if (WaitFor([&] { return ::GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000, 20)) return true;
    std::printf("screenshot %s not saved in time\n", name.c_str());
    return false;
}

RECT Grown(RECT r, int margin) {
    ::InflateRect(&r, margin, margin);
    return r;
}

}  // namespace

bool Screenshot(const std::string& name) {
    Pump(50);
    return Shoot(name, nullptr);
}

bool Screenshot(const std::string& name, HWND window, int margin) {
    Pump(300);
    RECT r{};
    if (!::GetWindowRect(window, &r)) return false;
    const RECT area = Grown(r, margin);
    return Shoot(name, &area);
}

bool Screenshot(const std::string& name, const RECT& area, int margin) {
    const RECT grown = Grown(area, margin);
    return Shoot(name, &grown);
}

}  // namespace quorv::test
