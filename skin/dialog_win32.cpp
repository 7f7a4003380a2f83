#include "skin/dialog_win32.h"

#include "system/system_access.h"

namespace quorv::win {
namespace {

// The dialog whose window is being created on this thread: messages that
// arrive before WM_INITDIALOG find their object through it.
thread_local Dialog* t_creating = nullptr;

class CreatingScope {
public:
    explicit CreatingScope(Dialog* dialog) : previous_(t_creating) { t_creating = dialog; }
    ~CreatingScope() { t_creating = previous_; }
    CreatingScope(const CreatingScope&) = delete;
    CreatingScope& operator=(const CreatingScope&) = delete;

private:
    Dialog* previous_;
};

}  // namespace

Dialog::~Dialog() = default;

HINSTANCE Dialog::Instance() { return ::GetModuleHandleA(nullptr); }

INT_PTR Dialog::DoModal(int templateId, HWND owner) {
    CreatingScope scope(this);
    return ::DialogBoxParamA(Instance(), MAKEINTRESOURCEA(templateId), owner, &Dialog::Procedure,
                             reinterpret_cast<LPARAM>(this));
}

INT_PTR Dialog::DoModalIndirect(const DLGTEMPLATE* dialogTemplate, HWND owner) {
    CreatingScope scope(this);
    return ::DialogBoxIndirectParamA(Instance(), dialogTemplate, owner, &Dialog::Procedure,
                                     reinterpret_cast<LPARAM>(this));
}

HWND Dialog::CreateModeless(int templateId, HWND owner) {
    CreatingScope scope(this);
    return ::CreateDialogParamA(Instance(), MAKEINTRESOURCEA(templateId), owner, &Dialog::Procedure,
                                reinterpret_cast<LPARAM>(this));
}

HWND Dialog::CreateModelessIndirect(const DLGTEMPLATE* dialogTemplate, HWND owner) {
    CreatingScope scope(this);
    return ::CreateDialogIndirectParamA(Instance(), dialogTemplate, owner, &Dialog::Procedure,
                                        reinterpret_cast<LPARAM>(this));
}

bool Dialog::Route(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = reinterpret_cast<Dialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (!self) {
        // The first message of a new dialog: attach it to its object.
        self = message == WM_INITDIALOG ? reinterpret_cast<Dialog*>(lParam) : t_creating;
        if (self && !self->hwnd_ && message != WM_NCDESTROY) {
            ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
            self->hwnd_ = window;
        } else {
            self = nullptr;
        }
    }
    if (!self) return FALSE;
    INT_PTR answer = FALSE;
    try {
        answer = self->Dispatch(message, wParam, lParam);
    } catch (...) {
        // Nothing may cross the window procedure: note it and go on.
        WriteErrorLog("Unexpected failure while handling window message 0x%x.", message);
        answer = TRUE;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        try {
            self->OnDetached();
        } catch (...) {
            WriteErrorLog("Unexpected failure while closing a window.");
        }
    }
    return answer;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!Route(message, wParam, lParam, result)) return FALSE;
    switch (message) {
    // These messages take their answer as the procedure's own return value.
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return static_cast<INT_PTR>(result);
    default:
        ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

}  // namespace quorv::win
