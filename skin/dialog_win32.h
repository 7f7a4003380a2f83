#pragma once
// The dialog base: one guarded dialog procedure for every dialog of the
// program, routing messages and control notifications through static tables
// that each dialog class declares for itself:
//
//   const CommandRow<MainWindow> kCommands[] = {
//       {IDC_ADD_FILES, BN_CLICKED, &MainWindow::OnAddFiles},
//   };
//   const MessageRow<MainWindow> kMessages[] = {
//       {WM_SIZE, &MainWindow::OnSize},
//   };
//   bool MainWindow::Route(UINT m, WPARAM w, LPARAM l, LRESULT& r) {
//       return RouteRows(this, Table(kMessages), Table(kCommands), m, w, l, r) ||
//              ThemedDialog::Route(m, w, l, r);
//   }
//
// No exception leaves the dialog procedure: one that reaches it is written
// to the error log and the message counts as handled.
#include <windows.h>

#include "skin/message_rows_win32.h"

namespace quorv::win {

class Dialog {
public:
    Dialog() = default;
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog from a template resource of the program (or from an
    // in-memory template) as a modal dialog; returns the EndDialog result,
    // -1 when it could not be created.
    INT_PTR DoModal(int templateId, HWND owner);
    INT_PTR DoModalIndirect(const DLGTEMPLATE* dialogTemplate, HWND owner);
    // Creates the dialog modeless; null when it could not be created. The
    // caller runs the message loop and destroys the window.
    HWND CreateModeless(int templateId, HWND owner);
    HWND CreateModelessIndirect(const DLGTEMPLATE* dialogTemplate, HWND owner);

    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
    void EndDialog(INT_PTR result) { ::EndDialog(hwnd_, result); }

    // The module whose resources the dialogs use (the program itself).
    static HINSTANCE Instance();

protected:
    // The message routing of the dialog class: its rows first, then its base
    // class's. true when the message was handled; result is then its value.
    // Messages sent while the template's controls are created (WM_SETFONT,
    // WM_MEASUREITEM...) arrive here too, before WM_INITDIALOG.
    virtual bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Called after WM_DESTROY was routed: the window handle is gone then.
    virtual void OnDetached() {}

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace quorv::win
