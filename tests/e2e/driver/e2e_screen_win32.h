#pragma once
// The screen: pixels as the display shows them, and screenshots saved as
// PNG files for review (ImageMagick's import on the virtual display).
#include <windows.h>

#include <string>
#include <vector>

namespace quorv::e2e {

// The colour of a pixel of the screen (CLR_INVALID when it cannot be read).
COLORREF ScreenPixel(POINT screen);

// A part of the screen copied once, to read many pixels of it.
class ScreenImage {
public:
    explicit ScreenImage(const RECT& area);
    // The colour at a point of the screen inside the area (CLR_INVALID outside).
    COLORREF At(int x, int y) const;
    // The pixels inside a rectangle of the screen that differ from a colour.
    int CountOtherThan(COLORREF colour, const RECT& rect) const;

private:
    RECT area_{};
    std::vector<COLORREF> pixels_;
};

// The smallest rectangle holding all of these.
RECT UnionOf(const std::vector<RECT>& rects);

// Saves <screenshot folder>/<name>.png: the part of the screen inside the
// area plus a margin (the whole screen when area is null). Waits until the
// file is whole; false when it could not be taken.
bool SaveScreenshot(const std::string& name, const RECT* area = nullptr, int margin = 8);

}  // namespace quorv::e2e
