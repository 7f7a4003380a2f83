#pragma once
// The themed dialog base: every window of the program (the main window, the
// message and wait dialogs) derives from it. It owns the theme index, the
// normal and bold fonts, the background brush, the drawn title bar and the
// Close button, and it
//   - draws the three-pixel window frame itself (non-client painting and
//     activation) and answers WM_NCACTIVATE without the system's frame;
//   - drags the window by the top strip of the client area (25 pixels for
//     dialogs, 26 for the main window) and sends IDM_MAXIMIZE (5002) on a
//     double click there;
//   - returns its background brush for the colouring of dialogs, statics and
//     buttons (edit boxes and list boxes keep the system's colours);
//   - reflects WM_DRAWITEM and WM_MEASUREITEM of controls (not of menus) to
//     the control as kReflectBase + the message, so that the drawn controls
//     draw and measure themselves.
//
// A derived dialog does its own set-up in OnInitDialog(), which runs once
// the skin exists; it does not route WM_INITDIALOG itself. Its Route chains
// to ThemedDialog::Route for everything it does not handle.
#include <windows.h>

#include "platform/raii_win32.h"
#include "skin/dialog_win32.h"
#include "skin/mac_button_win32.h"
#include "skin/title_bar_win32.h"
#include "view/theme.h"

namespace quorv::win {

// Paints the frame of a window: three nested 1-pixel rectangles over the
// whole window area, from the outside in colour 3 darker by 60, colour 3,
// and colour 3 darker by 60.
void DrawWindowFrame(HWND window, int theme);
// The same into a DC: window is the whole window's rectangle, client the
// client area in the same coordinates (the space between the rings and the
// client area, if any, gets colour 1).
void PaintWindowFrame(HDC dc, const RECT& window, const RECT& client, int theme);

class ThemedDialog : public Dialog {
public:
    static constexpr int kDialogDragStrip = 25;
    static constexpr int kMainWindowDragStrip = 26;

    explicit ThemedDialog(int theme = kDefaultTheme, int dragStrip = kDialogDragStrip);
    ~ThemedDialog() override;

    int theme() const { return theme_; }
    // Applies a theme: the background brush, every drawn button and check
    // box among the children, the title bar, the frame; repaints everything.
    // The main window extends it for its lists and menus.
    virtual void SetTheme(int theme);

    HFONT NormalFont() const { return normalFont_.get(); }  // Tahoma -12
    HFONT BoldFont() const { return boldFont_.get(); }      // Tahoma -13 bold
    HBRUSH BackgroundBrush() const { return background_.get(); }
    TitleBar& titleBar() { return titleBar_; }
    CMacButton& closeButton() { return closeButton_; }

    // Puts the title bar across the top of the client area and the Close
    // button at its right end (done on every WM_SIZE).
    void LayoutCaption();
    // Puts a caption button over the title bar, fromRight (one of
    // skin::k*FromRight) from the client area's right edge.
    void PlaceCaptionButton(const CMacButton& button, int fromRight) const;

protected:
    // The dialog's own set-up, after the skin exists; the value is that of
    // WM_INITDIALOG (true: the system sets the focus).
    virtual bool OnInitDialog() { return true; }

    bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool InitDialog(UINT, WPARAM, LPARAM, LRESULT& result);
    bool NcPaint(UINT, WPARAM, LPARAM, LRESULT& result);
    bool NcActivate(UINT, WPARAM, LPARAM, LRESULT& result);
    bool Activate(UINT, WPARAM, LPARAM, LRESULT& result);
    bool CtlColor(UINT, WPARAM, LPARAM, LRESULT& result);
    bool Reflect(UINT, WPARAM, LPARAM, LRESULT& result);
    bool Size(UINT, WPARAM, LPARAM, LRESULT& result);
    bool LeftDown(UINT, WPARAM, LPARAM, LRESULT& result);
    bool LeftUp(UINT, WPARAM, LPARAM, LRESULT& result);
    bool MouseMove(UINT, WPARAM, LPARAM, LRESULT& result);
    bool DoubleClick(UINT, WPARAM, LPARAM, LRESULT& result);
    bool TextChanged(UINT, WPARAM, LPARAM, LRESULT& result);
    bool InDragStrip(LPARAM point) const;
    // Draws the frame, the caption and the caption buttons as active or not.
    void ShowActivation(bool active);

    int theme_;
    int dragStrip_;
    bool dragArmed_ = false;
    Font normalFont_;
    Font boldFont_;
    Brush background_;
    TitleBar titleBar_;
    CMacButton closeButton_;
};

}  // namespace quorv::win
