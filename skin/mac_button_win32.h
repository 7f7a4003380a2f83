#pragma once
// CMacButton: the program's drawn push button, on the control base. It sits
// on a system button (from a dialog template, or one it creates), makes it
// owner-drawn and paints it in the colour theme: a rounded, gradient-filled
// face, optional icons, a hover outline and a themed tooltip. The system's
// button keeps its keyboard and click handling.
//
//   CMacButton preview;                       // a member of the window
//   preview.Attach(Item(IDC_PREVIEW));        // in OnInitDialog
//   preview.SetIcon(IDI_PREVIEW);
//   preview.AddTooltip("Preview");
//   ...
//   if (CMacButton* b = CMacButton::FromWindow(child)) b->SetTheme(theme);
//
// The base paints it on WM_PAINT and WM_PRINTCLIENT; the system's button
// also asks its parent to draw it at once (state and focus changes), which
// ThemedDialog reflects back as kReflectBase + WM_DRAWITEM. The object must
// outlive its window or be destroyed first (it detaches).
#include <windows.h>

#include <string>

#include "platform/raii_win32.h"
#include "skin/control_win32.h"
#include "view/skin_geometry.h"
#include "view/theme.h"

namespace quorv::win {

class CMacButton : public Control<CMacButton> {
public:
    CMacButton() = default;
    ~CMacButton();

    // Creates a child button (WS_CHILD | WS_VISIBLE, plus extraStyle) with
    // a UTF-8 text and attaches to it; null on failure. font may be null.
    HWND Create(HWND parent, int id, const char* text, const RECT& rect, HFONT font,
                DWORD extraStyle = WS_TABSTOP);

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
    friend class Control<CMacButton>;
    static RowTable<MessageRow<CMacButton>> Messages();
    // Makes the button owner-drawn with a fresh look.
    void OnAttached();
    // Releases the icons and the tooltip.
    void OnDetached();

    bool OnDrawItem(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnLeftButtonDown(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnLeftButtonUp(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnOtherButton(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnCaptureChanged(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnFocusChanged(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    bool LoadMainIcon(int resource, int size);
    void RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam);

    // The drawing steps of PaintContent, in their order.
    void PaintBackground(HDC dc, const RECT& rect) const;
    void PaintFace(HDC dc, const RECT& rect, const skin::ButtonColours& colours, int corner) const;
    void PaintIcons(HDC dc, const RECT& rect, bool enabled) const;
    void PaintInnerOutline(HDC dc, const RECT& rect, const skin::ButtonColours& colours, bool hover,
                           int corner) const;
    void PaintText(HDC dc, const RECT& rect, bool enabled, LRESULT hiddenCues) const;
    void PaintFocus(HDC dc, const RECT& rect, LRESULT hiddenCues) const;

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
    std::wstring tooltipText_;
};

}  // namespace quorv::win
