#pragma once
// CMacCheckBox: the program's drawn check box, on the control base. It sits
// on a system check box (from a dialog template, or one it creates) and
// paints it itself: a 12 x 12 box with a drawn tick and the text, in the
// colour theme. The control keeps its check-box style, so BM_GETCHECK and
// BM_SETCHECK (also from another process) read and set the same state that
// GetCheck and SetCheck do.
//
//   CMacCheckBox subdir;                  // a member of the window
//   subdir.Attach(Item(IDC_SUBDIR));      // in OnInitDialog
//   subdir.SetCheck(true);
//   if (CMacCheckBox* c = CMacCheckBox::FromWindow(child)) c->SetTheme(theme);
//
// A click with the mouse or the space bar toggles the box and posts
// WM_COMMAND (id, BN_CLICKED) to the parent.
#include <windows.h>

#include "skin/control_win32.h"
#include "view/skin_geometry.h"
#include "view/theme.h"

namespace quorv::win {

class CMacCheckBox : public Control<CMacCheckBox> {
public:
    CMacCheckBox() = default;
    ~CMacCheckBox() { Detach(); }

    // Attaches to an existing check box, keeping its check state; false
    // when it is no window, this object already has one, or another
    // CMacCheckBox has that one.
    bool Attach(HWND checkBox);
    // Creates a child check box (BS_CHECKBOX, WS_TABSTOP, plus extraStyle)
    // with a UTF-8 text and attaches to it; null on failure.
    HWND Create(HWND parent, int id, const char* text, const RECT& rect, HFONT font, DWORD extraStyle = 0);

    int theme() const { return theme_; }
    void SetTheme(int theme);

    bool GetCheck() const { return state_.checked(); }
    // Sends BM_SETCHECK, stores the value, redraws the box when it changed.
    void SetCheck(bool checked);
    bool pressed() const { return state_.pressed(); }

    void PaintContent(HDC dc, const RECT& rect) const;

private:
    friend class Control<CMacCheckBox>;
    static RowTable<MessageRow<CMacCheckBox>> Messages();
    // A fresh, unchecked state and a repaint.
    void OnAttached();

    bool OnLeftButtonDown(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnLeftButtonUp(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnCaptureChanged(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnKeyDown(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnKeyUp(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetCheck(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSetCheck(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSystemDrawn(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    bool IsCheckBoxStyle() const;
    bool Inside(LPARAM point) const;
    RECT Box() const;
    void RedrawBox();
    void Finish(const skin::CheckBoxState::Release& release);

    // The drawing steps of PaintContent, in their order; the box's steps
    // take its top-left corner.
    void PaintBackground(HDC dc, const RECT& rect) const;
    void PaintBox(HDC dc, int left, int top, bool enabled) const;
    void PaintTick(HDC dc, int left, int top, bool enabled) const;
    void PaintText(HDC dc, const RECT& rect, int boxLeft, bool rightButton, bool enabled) const;

    int theme_ = kDefaultTheme;
    skin::CheckBoxColours colours_ = skin::CheckBoxColoursFor(kDefaultTheme);
    skin::CheckBoxState state_;
};

}  // namespace quorv::win
