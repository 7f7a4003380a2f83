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

#include <cstddef>

namespace quorv::win {

// A message handler: returns true when it handled the message and then sets
// result (the value the message expects: a brush for WM_CTLCOLOR*, TRUE/FALSE
// for most others).
template <class D>
struct MessageRow {
    UINT message;
    bool (D::*handler)(WPARAM wParam, LPARAM lParam, LRESULT& result);
};

// Messages that a themed dialog passes on to the control they concern
// (owner drawing, measuring) arrive there as kReflectBase + the message,
// with the same parameters; the control's answer is the dialog's answer.
inline constexpr UINT kReflectBase = 0x2000;

// Matches any notification code of a control.
inline constexpr int kAnyCode = -1;

// A WM_COMMAND handler for one control (or menu item) and notification code
// (BN_CLICKED, LBN_SELCHANGE, EN_CHANGE...; menu items and accelerators send 0).
template <class D>
struct CommandRow {
    int id;
    int code;
    void (D::*handler)();
};

// A WM_NOTIFY handler for one control and notification code.
template <class D>
struct NotifyRow {
    int id;
    int code;
    LRESULT (D::*handler)(const NMHDR& header);
};

template <class Row>
struct RowTable {
    const Row* rows = nullptr;
    std::size_t count = 0;
};
template <class Row, std::size_t N>
constexpr RowTable<Row> Table(const Row (&rows)[N]) {
    return RowTable<Row>{rows, N};
}

// Walks the message rows, then (for WM_COMMAND / WM_NOTIFY) the command and
// notify rows; true when a row handled the message.
template <class D>
bool RouteRows(D* self, RowTable<MessageRow<D>> messages, RowTable<CommandRow<D>> commands,
               UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
               RowTable<NotifyRow<D>> notifications = {}) {
    for (std::size_t i = 0; i < messages.count; ++i) {
        const MessageRow<D>& row = messages.rows[i];
        if (row.message == message && (self->*row.handler)(wParam, lParam, result)) return true;
    }
    if (message == WM_COMMAND) {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        for (std::size_t i = 0; i < commands.count; ++i) {
            const CommandRow<D>& row = commands.rows[i];
            if (row.id == id && (row.code == kAnyCode || row.code == code)) {
                (self->*row.handler)();
                result = 0;
                return true;
            }
        }
    } else if (message == WM_NOTIFY && lParam != 0) {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        for (std::size_t i = 0; i < notifications.count; ++i) {
            const NotifyRow<D>& row = notifications.rows[i];
            if (row.id == static_cast<int>(header.idFrom) && row.code == static_cast<int>(header.code)) {
                result = (self->*row.handler)(header);
                return true;
            }
        }
    }
    return false;
}

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
    // The message routing of the dialog class. Messages sent while the
    // template's controls are created (WM_SETFONT, WM_MEASUREITEM...) are
    // routed too, before WM_INITDIALOG.: its rows first, then its
    // base class's. true when the message was handled; result is then its value.
    virtual bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Called after WM_DESTROY was routed: the window handle is gone then.
    virtual void OnDetached() {}

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace quorv::win
