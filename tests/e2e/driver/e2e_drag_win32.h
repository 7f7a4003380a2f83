#pragma once
// Files dragged from a file manager onto a window of the program, as a
// user drags them: a small window of the driver plays the file manager; the
// left button pressed in it starts OLE drag and drop (DoDragDrop) with
// file-drop data on the file manager's thread, and the mouse is moved in
// steps to the target point and released there by input of the system.
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

namespace quorv::e2e {

// The outcome of one drag.
struct DragOutcome {
    bool started = false;  // the drag began (the file manager's window took the button)
    HRESULT result = E_FAIL;        // DoDragDrop's answer (DRAGDROP_S_DROP when dropped)
    DWORD effect = DROPEFFECT_NONE; // what the target did (DROPEFFECT_COPY when it took the files)
};

// Drags the paths onto the screen point (the drop lands on the window under
// it) and returns once the drag has ended.
DragOutcome DragFilesTo(const std::vector<std::wstring>& paths, POINT target);

}  // namespace quorv::e2e
