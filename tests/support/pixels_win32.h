#pragma once
// Pixels the Windows tests read: a window's client area printed into a
// 32-bit bitmap, a part of the screen or a window's DC copied, or a canvas
// the test draws into itself.
//
//   const Printed p(button.hwnd());                 // WM_PRINTCLIENT onto kUntouched
//   EXPECT_EQ(p.At(3, 4), RGB(...));
//   const ScreenImage image(area);                  // At() in screen coordinates
//   Canvas canvas(130, 24);                         // draw into canvas.dc(), read canvas.At()
#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/raii_win32.h"

namespace quorv::test {

class Canvas;

// Pixels held after their source is gone. At() and the counts take the
// coordinates of the source: client coordinates of a window, screen
// coordinates of a part of the screen.
class Pixels {
public:
    Pixels() = default;
    int width() const { return width_; }
    int height() const { return height_; }
    // The colour at a point; CLR_INVALID outside.
    COLORREF At(int x, int y) const;
    // The pixels inside a rectangle that have the colour / another colour
    // (pixels beyond the source count for neither).
    int Count(COLORREF colour, const RECT& area) const;
    int CountOtherThan(COLORREF colour, const RECT& area) const;
    // 0x00RRGGBB each, top row first.
    const std::vector<std::uint32_t>& bits() const { return bits_; }

protected:
    void Take(const Canvas& canvas, POINT origin);

private:
    int width_ = 0;
    int height_ = 0;
    POINT origin_{0, 0};
    std::vector<std::uint32_t> bits_;
};

// The background a print starts from unless told (magenta, which the
// program's themes never use): pixels the window leaves alone keep it.
inline constexpr COLORREF kUntouched = RGB(255, 0, 255);

struct PrintOptions {
    COLORREF background = kUntouched;  // the bitmap before the window prints
    bool eraseFirst = false;           // WM_ERASEBKGND first, as a paint does
};
// As a paint draws it: the background erased, then the contents (on black).
inline constexpr PrintOptions kAsPainted{RGB(0, 0, 0), true};

// A window's client area as the window prints it (WM_PRINTCLIENT).
class Printed : public Pixels {
public:
    static constexpr COLORREF kUntouched = test::kUntouched;
    explicit Printed(HWND window, const PrintOptions& options = PrintOptions{});
};

// What the screen shows.
class ScreenImage : public Pixels {
public:
    // A part of the screen, in screen coordinates.
    explicit ScreenImage(const RECT& area);
    // A window's client area copied from its DC, in client coordinates.
    explicit ScreenImage(HWND window);
};

// One pixel of the screen (CLR_INVALID when it cannot be read).
COLORREF ScreenPixel(POINT screen);

// A 32-bit top-down bitmap in a memory DC, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF background = RGB(0, 0, 0));
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool ok() const { return bits_ != nullptr; }
    HDC dc() const { return dc_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    // The colour at a point as drawn so far; CLR_INVALID outside.
    COLORREF At(int x, int y) const;
    // 0x00RRGGBB each, top row first, drawing flushed first; null when
    // the bitmap could not be made.
    const std::uint32_t* bits() const;

private:
    int width_;
    int height_;
    void* bits_ = nullptr;
    win::DcHandle dc_;
    win::Bitmap bitmap_;
    std::optional<win::SelectGuard> select_;
};

}  // namespace quorv::test
