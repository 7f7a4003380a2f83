// The helpers every Windows test stands on, where they are easy to get
// wrong under Wine: the screenshot's shell handles, trees with read-only
// files, long paths and names in any script, files held for a moment, and
// pixels printed or copied with the right background and coordinates.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/raii_win32.h"
#include "tests/support/files_win32.h"
#include "tests/support/messages_win32.h"
#include "tests/support/pixels_win32.h"
#include "tests/support/screenshot_win32.h"
#include "tests/support/temp_dir.h"

namespace quorv::test {
namespace {

// The width and height in the header of a PNG file; {0, 0} when the bytes
// are no PNG.
SIZE PngSize(const std::string& bytes) {
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return SIZE{0, 0};
    const auto at = [&bytes](std::size_t i) {
        long value = 0;
        for (std::size_t k = 0; k < 4; ++k) value = value << 8 | static_cast<unsigned char>(bytes[i + k]);
        return value;
    };
    return SIZE{at(16), at(20)};
}

SIZE SavedSize(const std::string& name) {
    return PngSize(ReadBytes(Widen(HostToWindowsPath(ScreenshotFolder() + "/" + name + ".png"))).value_or(""));
}

TEST(Screenshot, WholeScreenAndAreasCutToTheScreen) {
    // Wine starts the host's shell without a process handle and may leave
    // a stale value naming another handle of ours in hThread: the handles
    // of this process stay open.
    std::vector<win::FileHandle> events;
    for (int i = 0; i < 16; ++i) events.emplace_back(::CreateEventA(nullptr, TRUE, FALSE, nullptr));

    ASSERT_TRUE(Screenshot("support_screen"));
    const SIZE screen = SavedSize("support_screen");
    EXPECT_EQ(screen.cx, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(screen.cy, ::GetSystemMetrics(SM_CYSCREEN));
    // The margin around the area, except beyond the screen's edge.
    ASSERT_TRUE(Screenshot("support_corner", RECT{0, 0, 40, 30}));
    const SIZE corner = SavedSize("support_corner");
    EXPECT_EQ(corner.cx, 48);
    EXPECT_EQ(corner.cy, 38);
    ASSERT_TRUE(Screenshot("support_area", RECT{100, 50, 140, 80}, 2));
    const SIZE area = SavedSize("support_area");
    EXPECT_EQ(area.cx, 44);
    EXPECT_EQ(area.cy, 34);

    for (const win::FileHandle& event : events) {
        DWORD flags = 0;
        EXPECT_TRUE(::GetHandleInformation(event.get(), &flags)) << event.get();
    }
}

TEST(Files, TreesWithLongPathsReadOnlyFilesAndAnyScriptGoWhole) {
    TempDir dir("quorv-support");
    std::wstring deep = dir.Child(L"\u8868-\u03b1\u03b2");
    for (int level = 0; level < 5; ++level) deep += L"\\" + std::wstring(60, static_cast<wchar_t>(L'a' + level));
    ASSERT_GT(deep.size(), 300u);
    ASSERT_TRUE(MakeFolders(deep));
    ASSERT_TRUE(WriteBytes(deep + L"\\f\u00fc.txt", std::string("deep\0bytes", 10)));
    EXPECT_EQ(ReadBytes(deep + L"\\f\u00fc.txt"), std::string("deep\0bytes", 10));
    EXPECT_FALSE(ReadBytes(deep + L"\\none.txt").has_value());
    const std::string readOnly = dir.Child("read-only.txt");
    ASSERT_TRUE(WriteBytes(readOnly, "x"));
    ASSERT_TRUE(::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(NamesIn(dir.widePath()), (std::vector<std::wstring>{L"read-only.txt", L"\u8868-\u03b1\u03b2"}));
    EXPECT_FALSE(MakeFolders(readOnly + "\\below"));

    // The narrow path reaches the names it cannot spell.
    EXPECT_TRUE(RemoveTree(dir.path()));
    EXPECT_FALSE(Exists(dir.widePath()));
}

TEST(Files, RemoveTreeWaitsForAFileHeldForAMoment) {
    TempDir dir("quorv-support");
    const std::wstring file = dir.Child(L"held.txt");
    ASSERT_TRUE(WriteBytes(file, "held"));
    win::FileHandle held(::CreateFileW(Long(file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_FALSE(RemoveTree(dir.widePath(), 0));
    EXPECT_TRUE(Exists(file));
    std::thread release([&held] {
        ::Sleep(200);
        held.reset();
    });
    EXPECT_TRUE(RemoveTree(dir.widePath()));
    release.join();
    EXPECT_FALSE(Exists(dir.widePath()));
}

TEST(Files, TempDirUnderAParentFolder) {
    std::string path;
    {
        const TempDir dir("quorv-support", SystemDriveRoot());
        path = dir.path();
        EXPECT_EQ(path.rfind(SystemDriveRoot() + "quorv-support-", 0), 0u) << path;
        EXPECT_EQ(dir.widePath(), Widen(path));
        ASSERT_TRUE(WriteBytes(dir.Child(L"\u0416.txt"), "x"));
        EXPECT_TRUE(IsFolder(path));
    }
    EXPECT_FALSE(Exists(path));
}

// A window that erases itself red and prints blue into its left half only.
LRESULT CALLBACK HalfPainter(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    RECT client{};
    ::GetClientRect(window, &client);
    switch (message) {
    case WM_ERASEBKGND: {
        const win::Brush red(::CreateSolidBrush(RGB(255, 0, 0)));
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, red.get());
        return 1;
    }
    case WM_PRINTCLIENT: {
        const win::Brush blue(::CreateSolidBrush(RGB(0, 0, 255)));
        const RECT left{0, 0, client.right / 2, client.bottom};
        ::FillRect(reinterpret_cast<HDC>(wParam), &left, blue.get());
        return 0;
    }
    case WM_PAINT: {
        const win::PaintDc paint(window);
        ::SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint.get()), 0);
        ::SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(paint.get()), PRF_CLIENT);
        return 0;
    }
    default:
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

win::WindowHandle HalfPainterAt(int x, int y) {
    static const bool registered = [] {
        WNDCLASSA c{};
        c.lpfnWndProc = HalfPainter;
        c.hInstance = ::GetModuleHandleA(nullptr);
        c.lpszClassName = "QuorvHalfPainter";
        return ::RegisterClassA(&c) != 0;
    }();
    if (!registered) return win::WindowHandle();
    return win::WindowHandle(::CreateWindowExA(WS_EX_TOPMOST, "QuorvHalfPainter", "", WS_POPUP | WS_VISIBLE, x, y, 40,
                                               30, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr));
}

TEST(Pixels, PrintedOnTheBackgroundAskedFor) {
    const win::WindowHandle window = HalfPainterAt(100, 100);
    ASSERT_TRUE(window);
    const Printed plain(window.get());
    EXPECT_EQ(plain.width(), 40);
    EXPECT_EQ(plain.height(), 30);
    EXPECT_EQ(plain.At(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(plain.At(35, 5), kUntouched);
    EXPECT_EQ(plain.At(40, 5), CLR_INVALID);
    const Printed painted(window.get(), kAsPainted);
    EXPECT_EQ(painted.At(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(painted.At(35, 5), RGB(255, 0, 0));
    EXPECT_EQ(painted.Count(RGB(255, 0, 0), RECT{0, 0, 40, 30}), 20 * 30);
}

TEST(Pixels, ScreenImagesInScreenAndClientCoordinates) {
    const win::WindowHandle window = HalfPainterAt(200, 150);
    ASSERT_TRUE(window);
    ::UpdateWindow(window.get());
    const auto shown = [&] { return ScreenPixel(POINT{235, 155}) == RGB(255, 0, 0); };
    ASSERT_TRUE(WaitFor(shown, 5000));
    const ScreenImage area(RECT{190, 140, 250, 190});
    EXPECT_EQ(area.At(205, 155), RGB(0, 0, 255));
    EXPECT_EQ(area.At(235, 155), RGB(255, 0, 0));
    EXPECT_EQ(area.At(189, 155), CLR_INVALID);
    EXPECT_EQ(area.CountOtherThan(RGB(0, 0, 255), RECT{200, 150, 220, 180}), 0);
    EXPECT_EQ(area.Count(RGB(255, 0, 0), RECT{180, 150, 260, 180}), 20 * 30);
    const ScreenImage client(window.get());
    EXPECT_EQ(client.At(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(client.At(35, 5), RGB(255, 0, 0));
}

}  // namespace
}  // namespace quorv::test
