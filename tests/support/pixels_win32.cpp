#include "tests/support/pixels_win32.h"

namespace quorv::test {

namespace {

COLORREF FromBits(std::uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

}  // namespace

// ---------------------------------------------------------------- Canvas

Canvas::Canvas(int width, int height, COLORREF background) : width_(width), height_(height) {
    if (width <= 0 || height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const win::WindowDc screen(nullptr);
    dc_.reset(::CreateCompatibleDC(screen.get()));
    void* bits = nullptr;
    bitmap_.reset(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc_ || !bitmap_ || !bits) return;
    bits_ = bits;
    select_.emplace(dc_.get(), bitmap_.get());
    const win::Brush brush(::CreateSolidBrush(background));
    const RECT all{0, 0, width, height};
    ::FillRect(dc_.get(), &all, brush.get());
}

const std::uint32_t* Canvas::bits() const {
    ::GdiFlush();
    return static_cast<const std::uint32_t*>(bits_);
}

COLORREF Canvas::At(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    return FromBits(bits()[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)]);
}

// ---------------------------------------------------------------- Pixels

void Pixels::Take(const Canvas& canvas, POINT origin) {
    origin_ = origin;
    const std::uint32_t* bits = canvas.bits();
    if (!bits) return;
    width_ = canvas.width();
    height_ = canvas.height();
    bits_.assign(bits, bits + static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
}

COLORREF Pixels::At(int x, int y) const {
    x -= origin_.x;
    y -= origin_.y;
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    return FromBits(bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)]);
}

int Pixels::Count(COLORREF colour, const RECT& area) const {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (At(x, y) == colour) ++n;
    return n;
}

int Pixels::CountOtherThan(COLORREF colour, const RECT& area) const {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF pixel = At(x, y);
            if (pixel != CLR_INVALID && pixel != colour) ++n;
        }
    return n;
}

// ----------------------------------------------------- Printed, ScreenImage

Printed::Printed(HWND window, const PrintOptions& options) {
    RECT client{};
    ::GetClientRect(window, &client);
    const Canvas canvas(client.right, client.bottom, options.background);
    if (!canvas.ok()) return;
    if (options.eraseFirst) ::SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
    ::SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    Take(canvas, POINT{0, 0});
}

ScreenImage::ScreenImage(const RECT& area) {
    const Canvas canvas(area.right - area.left, area.bottom - area.top);
    const win::WindowDc screen(nullptr);
    if (!canvas.ok() || !screen) return;
    ::BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), screen.get(), area.left, area.top, SRCCOPY);
    Take(canvas, POINT{area.left, area.top});
}

ScreenImage::ScreenImage(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    const Canvas canvas(client.right, client.bottom);
    const win::WindowDc dc(window);
    if (!canvas.ok() || !dc) return;
    ::BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), dc.get(), 0, 0, SRCCOPY);
    Take(canvas, POINT{0, 0});
}

COLORREF ScreenPixel(POINT screen) {
    const win::WindowDc dc(nullptr);
    return dc ? ::GetPixel(dc.get(), screen.x, screen.y) : CLR_INVALID;
}

}  // namespace quorv::test
