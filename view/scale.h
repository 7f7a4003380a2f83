#pragma once
// The display scale of a window: its DPI against the 96 DPI for which every
// pixel size of the program's windows is given (the 800 x 600 window, the
// 26-pixel title bar, the 12-pixel check box...). The window code asks the
// system for the window's DPI and hands it down; the layout arithmetic takes
// it as a parameter, so that it answers for any display scale without a
// window.
//
// Rounding: a length of the 96-DPI design becomes length x DPI / 96 pixels,
// rounded to the nearest pixel with halves away from zero (the rule of the
// system's MulDiv). Each edge of a rectangle is scaled on its own, so that
// rectangles that touch at 96 DPI touch at every scale. At 96 DPI every
// length stays as it is.
#include "view/rect.h"

namespace quorv {

class Scale {
public:
    static constexpr int kDesignDpi = 96;

    constexpr Scale() = default;
    // A DPI below 1 stands for the design's 96.
    constexpr explicit Scale(int dpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}

    constexpr int dpi() const { return dpi_; }
    constexpr bool IsDesign() const { return dpi_ == kDesignDpi; }

    // A length of the 96-DPI design in pixels at this scale.
    constexpr int Px(int length) const { return Convert(length, dpi_, kDesignDpi); }
    Rect Px(const Rect& r) const { return Rect{Px(r.left), Px(r.top), Px(r.right), Px(r.bottom)}; }

    // Pixels at this scale back in units of the design: the largest design
    // length whose pixels are not more than these. So Px(Design(p)) never
    // exceeds p, gives p back whenever p is some length's Px, and a size
    // stored in design units and applied again never grows, and settles
    // after one round.
    constexpr int Design(int pixels) const {
        int n = Convert(pixels, kDesignDpi, dpi_);
        while (Px(n) > pixels) --n;
        while (Px(n + 1) <= pixels) ++n;
        return n;
    }

    // Pixels measured at another scale, at this one (a control placed by
    // a dialog template at the DPI the window was made at, after the
    // window moved to a screen of another DPI).
    constexpr int From(int pixels, Scale other) const { return Convert(pixels, dpi_, other.dpi_); }
    Rect From(const Rect& r, Scale other) const {
        return Rect{From(r.left, other), From(r.top, other), From(r.right, other), From(r.bottom, other)};
    }

    friend constexpr bool operator==(Scale a, Scale b) { return a.dpi_ == b.dpi_; }
    friend constexpr bool operator!=(Scale a, Scale b) { return a.dpi_ != b.dpi_; }

private:
    // value x numerator / denominator, to the nearest, halves away from zero.
    static constexpr int Convert(int value, int numerator, int denominator) {
        const long long product = static_cast<long long>(value) * numerator;
        const long long half = denominator / 2;
        return static_cast<int>(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
    }

    int dpi_ = kDesignDpi;
};

}  // namespace quorv
