#pragma once
// The typed rows through which every dialog and every control of the program
// routes its messages: a class declares a static table of
//   {message, member handler}                       MessageRow
//   {control id, notification code, member handler} CommandRow (WM_COMMAND)
//   {control id, notification code, member handler} NotifyRow (WM_NOTIFY)
// and RouteRows walks them. The dialog base (skin/dialog_win32.h) and the
// control base (skin/control_win32.h) both call it from their one guarded
// window procedure.
#include <windows.h>

#include <cstddef>

namespace quorv::win {

// A message handler: returns true when it handled the message and then sets
// result (the value the message expects: a brush for WM_CTLCOLOR*, TRUE/FALSE
// for most others); false leaves the message to the next row, the base class
// and finally the default procedure. It receives the message itself, so one
// handler can serve several rows.
template <class D>
struct MessageRow {
    UINT message;
    bool (D::*handler)(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
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
        if (row.message == message && (self->*row.handler)(message, wParam, lParam, result)) return true;
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

}  // namespace quorv::win
