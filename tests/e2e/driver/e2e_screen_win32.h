#pragma once
// The screen: pixels as the display shows them and screenshots for review
// come from the test support library (ScreenPixel, ScreenImage, Screenshot).
#include <windows.h>

#include <vector>

#include "tests/support/pixels_win32.h"
#include "tests/support/screenshot_win32.h"

namespace quorv::e2e {

using test::ScreenImage;
using test::ScreenPixel;
using test::Screenshot;

// The smallest rectangle holding all of these.
RECT UnionOf(const std::vector<RECT>& rects);

}  // namespace quorv::e2e
