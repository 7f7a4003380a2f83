#pragma once
// The one rectangle type of the window arithmetic: pixels, in the system's
// manner (left and top inside, right and bottom outside). The window code
// converts it to and from the system's RECT in one place
// (skin/paint_win32.h).

namespace quorv {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const Rect& a, const Rect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
    friend bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }
};

}  // namespace quorv
