#pragma once
// The main window's geometry and key handling as plain decisions, tested
// without a window: where every control goes when the window is resized,
// and which command a key stands for whatever control has the focus.
#include <cstddef>
#include <map>

#include "view/rect.h"

namespace quorv {

// The smallest window the user can make.
inline constexpr int kMinTrackWidth = 800;
inline constexpr int kMinTrackHeight = 600;

// The rectangles (client coordinates, pixels) of the controls that move or
// stretch with the window, by control id, computed from their template
// rectangles and the client size. Controls the rules do not name keep their
// template rectangles and are not in the result.
struct LayoutInput {
    int clientWidth = 0;
    int clientHeight = 0;
    bool quickView = true;
    std::map<int, Rect> initial;  // template rectangles by id, in pixels
};
std::map<int, Rect> MainWindowLayout(const LayoutInput& input);

// The quick preview pane inside the "QuickView" frame: 4 pixels in from
// its left, right and bottom edges and 16 pixels down from its top edge.
Rect QuickPreviewPane(const Rect& frame);

// The commands of the keys looked at before any control sees them.
enum class KeyCommand { None, SelectAllFiles, InvertSelection, CopyFiles, MoveFiles, RemoveFiles, DeleteRules };

// Which command a key press stands for: Ctrl+A, Ctrl+I, Ctrl+C and Ctrl+M
// anywhere in the window; Delete only while the file list or the rule list
// has the focus (elsewhere it edits text as usual). virtualKey is the
// system's key code ('A', 'I', 'C', 'M', 0x2E for Delete).
KeyCommand KeyCommandFor(int virtualKey, bool ctrlDown, int focusControlId);

// Whether a run tells the wait window that file index (0-based) of count is
// done: when the share of the run done crosses one of kWaitSteps equal
// steps. Every file of a run of up to kWaitSteps files is told, the last
// always; a bar a few hundred pixels wide shows every change, and a run of
// 100,000 files does not wake the wait window 100,000 times.
inline constexpr std::size_t kWaitSteps = 1024;
bool WaitStepShown(std::size_t index, std::size_t count);

}  // namespace quorv
