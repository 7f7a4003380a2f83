#pragma once
// The quick preview's decisions that need no window: where the pane lies in
// its frame, how a picture is fitted into the pane, and which view shows a
// file (the picture view, one of the three players, or nothing).
#include <string>

#include "view/rect.h"
#include "view/scale.h"

namespace quorv {

// The pane inside the "QuickView" frame: 4 pixels in from its left, right
// and bottom edges, 16 down from its top (at 96 DPI; never inside out).
Rect PreviewPaneRect(const Rect& frame, Scale scale = Scale());

// Where a picture of the given size (pixels) is drawn in the area: reduced
// to fit while keeping its proportions, never enlarged beyond its own size,
// centred (integer halving of the spare space). An empty rectangle at the
// area's top left when either size is not positive.
Rect FitPicture(int pictureWidth, int pictureHeight, const Rect& area);

// Which view shows a file.
enum class PreviewKind { None, Picture, MediaPlayer, RealPlayer, Flash };

// The extension lists, each extension followed by ";".
extern const char kPictureExtensions[];
extern const char kMediaExtensions[];
extern const char kRealMediaExtensions[];
extern const char kFlashKey[];  // ".swf;", compared whole

// The key of a path: from its last "." to the end (the whole path when it
// has no "."), with ";" appended, ASCII letters in lower case.
std::string PreviewKey(const std::string& path);

// The view for a path: the picture list, then the media list, then the
// real-media list (the key searched as a substring of each list), then the
// Flash key (compared whole); None otherwise.
PreviewKind ChoosePreview(const std::string& path);

}  // namespace quorv
