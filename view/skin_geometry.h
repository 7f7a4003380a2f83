#pragma once
// The arithmetic of the drawn parts of the skin: button faces, check boxes,
// the title-bar band, the progress bar and the message dialog's layout, and
// the look states of the drawn buttons and check boxes. Portable (no window
// needed), so every number is tested without a display. The pixel sizes
// are those of 96 DPI; each function that places something takes the
// window's Scale (view/scale.h) and draws the same picture larger.
#include <string>
#include <vector>

#include "view/rect.h"
#include "view/scale.h"
#include "view/theme.h"

namespace quorv::skin {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
};

// One horizontal band of a gradient: rows top to bottom - 1 in one colour.
struct Band {
    int top = 0;
    int bottom = 0;
    Colour colour = 0;
};

// Halves a signed value rounding towards minus infinity, as an arithmetic
// shift right by one bit does (-3 gives -2).
int HalfDown(int value);

// ---- drawn buttons

// Corner width and height of a button face: square (0) below 30 pixels of
// width, else 6 (both at 96 DPI).
int ButtonCornerSize(int width, Scale scale = Scale());

// The gradient step of a face: 11.5 / (height x 0.1), truncated; 0 for a
// height of 0 or less.
int ButtonGradientStep(int height);

// The gradient bands of a face whose item rectangle spans top to bottom:
// 2-pixel bands from top + 2 to bottom - 2 (the last one cut there). Before
// each band the colour changes: darker by the step while the band starts
// above the middle, darker by 12 for the next 2 pixels, then lighter by the
// step but never beyond `lightest` (compared as whole colour values).
// At another scale the bands of the face's height at 96 DPI are worked out
// and each is drawn larger: the same colours, in the same places.
std::vector<Band> ButtonGradientBands(int top, int bottom, Colour start, Colour lightest, Scale scale = Scale());

// Where a drawn button writes its text: the item rectangle; with an icon on
// top its top moves down by the icon's height + 3, with an icon at the left
// its left moves right by the icon's width + 8; then 1 pixel off at the left
// and the right (lengths at 96 DPI; the icon's size in pixels as drawn).
Rect ButtonTextRect(const Rect& item, int iconWidth, int iconHeight, bool iconOnTop, Scale scale = Scale());
// The main icon's top-left corner: 3 pixels in (4 unless a caption button),
// vertically centred; on top: centred across, 5 down.
Point ButtonIconOrigin(const Rect& item, int iconWidth, int iconHeight, bool iconOnTop, bool captionButton,
                       Scale scale = Scale());
// The small drop-down mark: 12 x 12 at 96 DPI, 16 in from the right edge,
// vertically centred.
Rect ButtonArrowRect(const Rect& item, Scale scale = Scale());

// The colours of a button face in a theme.
struct ButtonColours {
    Colour face;           // brush of the face
    Colour outline;        // 1-pixel outline of the face
    Colour gradientStart;  // colour before the first band
    Colour lightest;       // the gradient never gets lighter than this
    Colour innerOutline;   // inset outline (hover: colour 6)
};
ButtonColours ButtonColoursFor(int theme, bool pressed, bool captionButton, bool hover);

// Look states of a drawn button.
enum class ButtonKind { Push = 0, Toggle = 1, Latch = 2 };
enum class ButtonLook { Normal = 0, MouseOver = 1, Latched = 2 };

// The mouse rules of a drawn button, without the window: each event returns
// what the window must do.
class ButtonLookState {
public:
    explicit ButtonLookState(ButtonKind kind = ButtonKind::Push) : kind_(kind) {}

    ButtonKind kind() const { return kind_; }
    void set_kind(ButtonKind kind) { kind_ = kind; }
    ButtonLook look() const { return look_; }
    ButtonLook saved() const { return saved_; }
    // A toggle or latch button that is latched is drawn pressed.
    bool DrawnPressed() const { return kind_ != ButtonKind::Push && look_ == ButtonLook::Latched; }

    struct Move {
        bool capture = false;  // take the mouse capture
        bool release = false;  // give the capture up
        bool redraw = false;   // the look changed
    };
    // The pointer moved, inside or outside the button.
    Move MouseMove(bool inside);
    // Left button down (or double click); false when the press is ignored
    // entirely (a latch button that is already latched): then the system's
    // handling must not run, and no click follows.
    bool LeftDown();
    // Left button up, before the system's handling sends the click.
    void LeftUp();
    // The capture passed to another window; true when the look changed.
    bool CaptureLost();

private:
    ButtonKind kind_;
    ButtonLook look_ = ButtonLook::Normal;
    ButtonLook saved_ = ButtonLook::Normal;
};

// ---- drawn check boxes

// What each colour of a drawn check box paints.
struct CheckBoxColours {
    Colour highlight;   // colour 0: the lit side of the box's edge
    Colour background;  // colour 1: around the box, and two corners of its edge
    Colour dark;        // colour 3: a line of the tick; frame and tick of a disabled box
    Colour tick;        // colour 4: the tick
    Colour frame;       // colour 4 lighter by 70: the box's frame
    Colour shadow;      // halfway from colour 1 to colour 3, per component: the
                        // shaded side of the edge and the tick's soft lines
};
CheckBoxColours CheckBoxColoursFor(int theme);
// Halfway from a to b per component: a + (b - a) halved downwards.
Colour MiddleColour(Colour a, Colour b);

// Left-top corner of the 12 x 12 box (at 96 DPI) in a control of the given
// size: at the left edge, or at the right edge for the right-button style;
// vertically (height - box) halved downwards.
Point CheckBoxOrigin(int width, int height, bool rightButton, Scale scale = Scale());
// The side of the box, and where the text starts (17 pixels right of the
// control's left edge at 96 DPI).
inline int CheckBoxSide(Scale scale = Scale()) { return scale.Px(12); }
inline int CheckBoxTextLeft(Scale scale = Scale()) { return scale.Px(17); }

// The input rules of a drawn check box, without the window.
class CheckBoxState {
public:
    bool checked() const { return checked_; }
    bool pressed() const { return pressed_; }
    bool tracking() const { return tracking_; }
    void set_checked(bool checked) { checked_ = checked; }

    // Left button down or double click: pressed, take focus and capture.
    void LeftDown();
    // Pointer moved while the mouse is captured; true when pressed changed.
    bool MouseMove(bool inside);
    struct Release {
        bool handled = false;  // false: the release did not end a press of ours
        bool checked = false;  // the value to send with the set-check message
        bool notify = false;   // post the click command to the parent
    };
    // Left button up. A press that started on the control ends here: inside
    // and still pressed toggles and posts the click command; outside it does
    // neither.
    Release LeftUp(bool inside, bool isCheckBox);
    // Space bar; the release toggles when the press started here and tells
    // the parent as the mouse does.
    void SpaceDown();
    Release SpaceUp(bool isCheckBox);
    // The capture was taken away during a mouse press.
    bool CaptureLost();

private:
    bool checked_ = false;
    bool pressed_ = false;
    bool tracking_ = false;  // a mouse press that started on the control
    bool spaceDown_ = false;
};

// ---- title bar and caption buttons

// The drawn title bar spans the top of a themed window's client area
// (these lengths are those of 96 DPI).
inline constexpr int kTitleBarHeight = 26;
// The caption buttons lie over it, square, at this distance from the top.
inline constexpr int kCaptionButtonSize = 18;
inline constexpr int kCaptionButtonTop = 3;
// Distances of the left edges of Close, Maximize and Minimize from the
// client area's right edge.
inline constexpr int kCloseFromRight = 21;
inline constexpr int kMaximizeFromRight = 42;
inline constexpr int kMinimizeFromRight = 63;

// The title bar's rectangle in a client area of the given width.
Rect TitleBarBand(int clientWidth, Scale scale = Scale());
// A caption button's rectangle; clientRight is the client area's right
// edge and fromRight one of the k*FromRight distances.
Rect CaptionButton(int clientRight, int fromRight, Scale scale = Scale());

// The background bands of a title bar spanning top to bottom in a theme;
// at another scale those of its height at 96 DPI, each drawn larger.
std::vector<Band> TitleBarBands(int top, int bottom, int theme, Scale scale = Scale());
// Where the title bar draws the program's icon (16 x 16 at 7, 4) and its
// caption (the band moved 30 right and 1 down for the shadow, 29 right and
// 1 up for the text), in a band of the given rectangle.
Rect TitleBarIcon(const Rect& band, Scale scale = Scale());
Rect TitleBarShadowText(const Rect& band, Scale scale = Scale());
Rect TitleBarText(const Rect& band, Scale scale = Scale());

struct CaptionColours {
    Colour text;
    Colour shadow;
};
CaptionColours CaptionColoursFor(int theme, bool active);

// ---- the window frame: three 1-pixel rectangles, outside in
struct FrameColours {
    Colour outer;
    Colour middle;
    Colour inner;
};
FrameColours WindowFrameColours(int theme);

// ---- progress bar

struct ProgressPicture {
    Colour background;   // colour 1: the client fill
    Colour bar;          // colour 3 darker by 25: outline and fill
    Rect outline;         // rounded 6 x 6, 1-pixel pen in the bar colour
    bool filled = false;
    Rect fill;            // rounded 4 x 4, pen and brush in the bar colour
    bool highlight = false;
    Rect highlightBand;   // 4 pixels high
    Colour highlightColour = 0;
    int lineY = 0;       // a 1-pixel line from highlightBand.left to .right
    Colour lineColour = 0;
};
ProgressPicture ProgressBarPicture(const Rect& client, int minimum, int maximum, int position, int theme,
                                   Scale scale = Scale());
// The corners of the outline and of the filled part.
inline int ProgressOutlineCorner(Scale scale = Scale()) { return scale.Px(6); }
inline int ProgressFillCorner(Scale scale = Scale()) { return scale.Px(4); }

// ---- message dialog

inline constexpr int kMessageMaxTextWidth = 440;
inline constexpr int kMessageButtonWidth = 68;
inline constexpr int kMessageButtonHeight = 23;

struct MessageLayout {
    int windowWidth = 0;
    int windowHeight = 0;
    Rect text;
    Rect first;   // "&OK" or "&Yes"
    Rect second;  // "&No" (hidden for a message)
    bool secondVisible = false;
    std::string caption;
};
// kind 0: a message with "&OK"; kind 1: a question with "&Yes" and "&No".
// oneLineWidth: the text's width unwrapped; wrappedHeight: its height when
// wrapped within min(oneLineWidth, 440); both in pixels at the scale, the
// lengths of the layout are those of 96 DPI.
MessageLayout LayoutMessage(int oneLineWidth, int wrappedHeight, int kind, Scale scale = Scale());
inline constexpr int MessageTextWidth(int oneLineWidth, Scale scale = Scale()) {
    return oneLineWidth < scale.Px(kMessageMaxTextWidth) ? oneLineWidth : scale.Px(kMessageMaxTextWidth);
}

}  // namespace quorv::skin
