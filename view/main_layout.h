#pragma once
// The main window's geometry and key handling as plain decisions, tested
// without a window: where every control goes when the window is resized,
// and which command a key stands for whatever control has the focus.
#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "batch/file_list.h"
#include "view/rect.h"
#include "view/scale.h"

namespace quorv {

// The smallest window the user can make, at 96 DPI (MinimumWindow gives
// it at a scale).
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
    Scale scale;                  // the margins of the rules are 96-DPI pixels
};
std::map<int, Rect> MainWindowLayout(const LayoutInput& input);

// The quick preview pane inside the "QuickView" frame: 4 pixels in from
// its left, right and bottom edges and 16 pixels down from its top edge
// (at 96 DPI).
Rect QuickPreviewPane(const Rect& frame, Scale scale = Scale());

// ---- the window's size and place

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size& a, const Size& b) { return a.width == b.width && a.height == b.height; }
};

// The room the smallest window (800 x 600 with its frame) gives at 100 %
// beside the rightmost control that keeps its place (the command bar's), and
// below the lowest one (the rule builder's and the favourites' frames):
// there the result list, its frame and the status line go.
inline constexpr int kRoomRight96 = 6;
inline constexpr int kRoomBelow96 = 99;

// The client area the template's controls need at a scale (places: every
// control of the template by id, in pixels at that scale): the controls the
// resize rules move or stretch to the right edge do not count across, those
// they move to the bottom edge not down; the others keep their places and
// get the room beside and below them. The template's font grows a little
// more or less than the DPI, so at some scales this is more than the
// 800 x 600 of the design.
Size NeededClient(const std::vector<std::pair<int, Rect>>& places, Scale scale);

// The largest stored size the placement takes as it is (the largest window
// coordinate).
inline constexpr int kMaxStoredExtent = 32767;

// The smallest window (frame included) at a scale: 800 x 600 pixels at
// 96 DPI, or what the contents need when that is more (needed: the window
// size, frame included, in which the dialog template's controls fit; they
// grow with the template's font, a little more or less than the DPI), but
// never larger than the work area it opens on, so that a screen too small
// for it still shows the whole window.
Size MinimumWindow(Scale scale, const Rect& workArea, const Size& needed = Size());

// The smallest client area in units of the 96-DPI design: what a window of
// the minimum size keeps inside its frame (frame: what the frame adds to
// the client area's width and height, in pixels). The settings file accepts
// stored sizes down to it, so that the smallest window stores a size that
// the next start takes back as it is.
Size SmallestStoredClient(Scale scale, const Rect& workArea, const Size& frame, const Size& needed = Size());

// Where the window opens: the stored client size (96-DPI units) at the
// scale, with its frame, no smaller than the minimum window and no larger
// than the work area of the screen it opens on, centred in that work area,
// so that its title bar is always on the screen.
struct PlacementInput {
    Size storedClient;  // units of the 96-DPI design
    Scale scale;
    Size frame;         // pixels the frame adds to the client area
    Rect workArea;
    Size needed;        // the window size the contents need (MinimumWindow)
};
Rect PlaceWindow(const PlacementInput& input);

// The commands of the keys looked at before any control sees them.
enum class KeyCommand { None, SelectAllFiles, InvertSelection, CopyFiles, MoveFiles, RemoveFiles, DeleteRules };

// Which command a key press stands for: Ctrl+A, Ctrl+I, Ctrl+C and Ctrl+M
// anywhere in the window; Delete only while the file list or the rule list
// has the focus (elsewhere it edits text as usual). virtualKey is the
// system's key code ('A', 'I', 'C', 'M', 0x2E for Delete). editSelection:
// the focus is in an edit field (the filter box, the edit of a builder box)
// that has a text selection; Ctrl+C and Ctrl+M then take their course in the
// field (Ctrl+C copies the text, Ctrl+M does nothing to it), as in any edit
// field, and copy or move files only without a selection.
KeyCommand KeyCommandFor(int virtualKey, bool ctrlDown, int focusControlId, bool editSelection = false);

// How the file list box follows the model after a command: nothing, a
// refill of every entry, or only the last change when the box shows the
// revision just before it (two rows traded places; up to kDeleteRowsLimit
// rows went, each deleted on its own: beyond that a refill is faster).
enum class ListFollow { Nothing, Refill, SwapRows, DeleteRows };
inline constexpr std::size_t kDeleteRowsLimit = 512;
ListFollow HowToFollow(std::uint64_t shownRevision, std::uint64_t revision, const RowChange& change,
                       std::size_t shownCount);

// Whether a run tells the wait window that file index (0-based) of count is
// done: when the share of the run done crosses one of kWaitSteps equal
// steps. Every file of a run of up to kWaitSteps files is told, the last
// always; a bar a few hundred pixels wide shows every change, and a run of
// 100,000 files does not wake the wait window 100,000 times.
inline constexpr std::size_t kWaitSteps = 1024;
bool WaitStepShown(std::size_t index, std::size_t count);

}  // namespace quorv
