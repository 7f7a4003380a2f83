#pragma once
// CMacButton: the program's drawn push button. It attaches to an existing
// button control (from a dialog template, or one it creates), subclasses it,
// makes it owner-drawn and paints it in the colour theme: a rounded,
// gradient-filled face, optional icons, a hover outline and a themed tooltip.
//
// The button draws itself when its parent reflects WM_DRAWITEM to it as
// kReflectBase + WM_DRAWITEM (ThemedDialog does), and answers WM_PRINTCLIENT.
//
//   CMacButton preview;                       // a member of the window
//   preview.Attach(Item(IDC_PREVIEW));        // in OnInitDialog
//   preview.SetIcon(IDI_PREVIEW);
//   preview.AddTooltip("Preview");
//   ...
//   if (CMacButton* b = CMacButton::FromWindow(child)) b->SetTheme(theme);
//
// The object must outlive its window or be destroyed first (it detaches).
#include <windows.h>

#include <string>

#include "platform/raii_win32.h"
#include "view/skin_geometry.h"
#include "view/theme.h"

namespace quorv::win {

class CMacButton {
public:
    CMacButton() = default;
    ~CMacButton();
    CMacButton(const CMacButton&) = delete;
    CMacButton& operator=(const CMacButton&) = delete;

    // Subclasses an existing button control; false when it is not a window
    // or is already attached to another CMacButton.
    bool Attach(HWND button);
    // Creates a child button (WS_CHILD | WS_VISIBLE, plus extraStyle) and
    // attaches to it; null on failure. font may be null.
    HWND Create(HWND parent, int id, const char* text, const RECT& rect, HFONT font,
                DWORD extraStyle = WS_TABSTOP);
    // Removes the subclass and releases the icons and the tooltip.
    void Detach();

    // The CMacButton attached to a window, or null.
    static CMacButton* FromWindow(HWND window);

    HWND hwnd() const { return hwnd_; }
    int theme() const { return theme_; }

    void SetTheme(int theme);
    // Icons from the program's resources; each replaces the previous one.
    bool SetIcon(int resource);    // 16 x 16
    bool SetIcon32(int resource);  // 32 x 32
    bool SetArrowIcon(int resource);  // 12 x 12 at the right end
    void AddTooltip(const std::string& text);

    void SetKind(skin::ButtonKind kind) { state_.set_kind(kind); }
    skin::ButtonKind kind() const { return state_.kind(); }
    skin::ButtonLook look() const { return state_.look(); }
    void SetCaptionButton(bool on);
    void SetIconOnTop(bool on);
    void SetExtendDownwards(bool on);

    // Draws the whole button into dc, whose rectangle rect is the button's
    // client area.
    void PaintContent(HDC dc, const RECT& rect) const;

    HWND tooltip() const { return tooltip_.get(); }

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool LoadMainIcon(int resource, int size);
    void RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam);
    void PaintBuffered(HDC target, const RECT& rect) const;
    void Invalidate();

    HWND hwnd_ = nullptr;
    int theme_ = kDefaultTheme;
    skin::ButtonLookState state_;
    bool captionButton_ = false;
    bool iconOnTop_ = false;
    bool extendDownwards_ = false;
    IconHandle icon_;
    int iconWidth_ = 0;
    int iconHeight_ = 0;
    IconHandle arrow_;
    WindowHandle tooltip_;
    std::string tooltipText_;
};

}  // namespace quorv::win
