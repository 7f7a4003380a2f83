#pragma once
// Screenshots for review: ImageMagick's import, a program of the host, saves
// the virtual display (or a part of it) as <ScreenshotFolder()>/<name>.png.
// Each function waits, dispatching this thread's messages so that its
// windows keep painting, until the picture is whole; false when it did not
// come in time.
#include <windows.h>

#include <string>

namespace quorv::test {

// The folder the pictures go to (a host path): the environment's
// QUORV_SCREENSHOT_DIR, else the build's screenshots folder.
std::string ScreenshotFolder();

// The whole screen, once this thread's windows have had 50 ms to paint.
bool Screenshot(const std::string& name);
// A window of this thread with a margin around it, once it has had 300 ms
// to paint (a window just shown or changed paints under Wine only then).
bool Screenshot(const std::string& name, HWND window, int margin = 8);
// A part of the screen with a margin around it, at once (the windows of
// another process are settled by whoever drives them).
bool Screenshot(const std::string& name, const RECT& area, int margin = 8);

}  // namespace quorv::test
