#pragma once
// CMacCheckBox: the program's drawn check box. It attaches to an existing
// check-box control, subclasses it and paints it itself (a 12 x 12 box with
// a drawn tick and the text) in the colour theme. The control keeps its
// check-box style, so BM_GETCHECK / BM_SETCHECK (also from another process)
// read and set the same state that GetCheck / SetCheck do.
//
//   CMacCheckBox subdir;                  // a member of the window
//   subdir.Attach(Item(IDC_SUBDIR));      // in OnInitDialog
//   subdir.SetCheck(true);
//   if (CMacCheckBox* c = CMacCheckBox::FromWindow(child)) c->SetTheme(theme);
//
// A click with the mouse or the space bar toggles the box and posts
// WM_COMMAND (id, BN_CLICKED) to the parent.
#include <windows.h>

#include "view/skin_geometry.h"
#include "view/theme.h"

namespace quorv::win {

class CMacCheckBox {
public:
    CMacCheckBox() = default;
    ~CMacCheckBox();
    CMacCheckBox(const CMacCheckBox&) = delete;
    CMacCheckBox& operator=(const CMacCheckBox&) = delete;

    // Subclasses an existing button control (a check box); false when it is
    // not a window or is already attached. The current check state is kept.
    bool Attach(HWND checkBox);
    // Creates a child check box (BS_CHECKBOX, WS_TABSTOP, plus extraStyle)
    // and attaches to it; null on failure.
    HWND Create(HWND parent, int id, const char* text, const RECT& rect, HFONT font, DWORD extraStyle = 0);
    void Detach();

    static CMacCheckBox* FromWindow(HWND window);

    HWND hwnd() const { return hwnd_; }
    int theme() const { return theme_; }
    void SetTheme(int theme);

    bool GetCheck() const { return state_.checked(); }
    // Sends BM_SETCHECK, stores the value, redraws the box when it changed.
    void SetCheck(bool checked);
    bool pressed() const { return state_.pressed(); }

    void PaintContent(HDC dc, const RECT& rect) const;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool IsCheckBoxStyle() const;
    void RedrawBox();
    void Finish(const skin::CheckBoxState::Release& release);

    HWND hwnd_ = nullptr;
    int theme_ = kDefaultTheme;
    skin::CheckBoxColours colours_ = skin::CheckBoxColoursFor(kDefaultTheme);
    skin::CheckBoxState state_;
};

}  // namespace quorv::win
