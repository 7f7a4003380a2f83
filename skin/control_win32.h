#pragma once
// The control base: every control of the program's own, whether a window
// class we register or a system control we subclass, sits on it.
//
//   class ProgressBar : public Control<ProgressBar> {
//       friend class Control<ProgressBar>;
//       static RowTable<MessageRow<ProgressBar>> Messages() {
//           static constexpr MessageRow<ProgressBar> kRows[] = {
//               {PBM_SETPOS, &ProgressBar::OnSetPos},
//           };
//           return Table(kRows);
//       }
//       bool OnSetPos(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
//       void PaintContent(HDC dc, const RECT& client) const;   // optional
//   };
//
// - One way to attach: SetWindowSubclass with the object as reference data
//   (a window of our own class has a procedure that does only the
//   system's default handling, see RegisterControlClass, and is subclassed
//   the same way). FromWindow finds the object again through
//   GetWindowSubclass; the subclass procedure is one per control class, so
//   it never hands out an object of another class.
// - Detached on WM_NCDESTROY (then D::OnDetached runs) or by Detach(), which
//   the destructor calls.
// - One guarded procedure: no exception leaves it; a failure is written to
//   the error log and the message goes to the next procedure in the chain
//   (the system control's, or the default one).
// - Messages are routed through D's MessageRow table; each handler receives
//   the message. What no row handles goes down the chain.
// - When D has PaintContent(HDC, const RECT&) const, WM_PAINT, WM_PRINTCLIENT
//   and WM_ERASEBKGND are answered here: the whole client area is drawn into
//   an off-screen bitmap and copied in one block transfer, nothing is erased.
//   D's PreparePaint hook may first clip the target or leave it untouched.
#include <windows.h>
#include <commctrl.h>

#include <type_traits>
#include <utility>

#include "platform/raii_win32.h"
#include "skin/message_rows_win32.h"
#include "skin/paint_win32.h"

namespace quorv::win {

// Registers a window class of our own (once per process, from any thread)
// whose procedure does only the system's default handling, for wide text
// whichever call creates the window; Control::CreateChild, or Attach to a
// control of a dialog template, gives each of its windows an object. style
// gets CS_DBLCLKS and the like; cursor is a system cursor
// (MAKEINTRESOURCEW(32513) for the I-beam), the arrow when null.
bool RegisterControlClass(const wchar_t* className, UINT style = 0, const wchar_t* cursor = nullptr);

// Writes a failure inside a control's handling of a message to the error
// log; never throws.
void LogControlFailure(UINT message) noexcept;

namespace detail {
template <class T, class = void>
struct Paints : std::false_type {};
template <class T>
struct Paints<T, std::void_t<decltype(std::declval<const T&>().PaintContent(std::declval<HDC>(),
                                                                              std::declval<const RECT&>()))>>
    : std::true_type {};
}  // namespace detail

template <class D>
class Control {
public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND hwnd() const { return hwnd_; }

    // The object of this control class attached to a window, or null.
    static D* FromWindow(HWND window) {
        DWORD_PTR data = 0;
        if (!window || !::GetWindowSubclass(window, &Control::Procedure, kSubclassId, &data)) return nullptr;
        return reinterpret_cast<D*>(data);
    }

    // Attaches to an existing window (a control of a dialog template, a
    // window of our own class); false when it is no window, this object
    // already has a window, or another object of this class has that one.
    bool Attach(HWND window) {
        if (!window || !::IsWindow(window) || hwnd_ || FromWindow(window)) return false;
        if (!::SetWindowSubclass(window, &Control::Procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(Self())))
            return false;
        hwnd_ = window;
        Self()->OnAttached();
        return true;
    }

    // Removes the subclass; the window goes on with its own procedure.
    void Detach() {
        if (!hwnd_) return;
        ::RemoveWindowSubclass(hwnd_, &Control::Procedure, kSubclassId);
        hwnd_ = nullptr;
    }

protected:
    Control() = default;
    // A D whose members' destruction may send messages to the window calls
    // Detach() in its own destructor first.
    ~Control() { Detach(); }

    // Creates a child window (of a system class or one of ours) and attaches
    // to it; null on failure, when no window is left behind.
    HWND CreateChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect,
                     int id = 0, DWORD exStyle = 0, HFONT font = nullptr) {
        HWND window = ::CreateWindowExW(exStyle, className, text ? text : L"", style, rect.left, rect.top,
                                        rect.right - rect.left, rect.bottom - rect.top, parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                        nullptr);
        if (!window) return nullptr;
        if (font) ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (!Attach(window)) {
            ::DestroyWindow(window);
            return nullptr;
        }
        return window;
    }

    // Hooks that D may hide: right after attaching, and when the window is
    // being destroyed (hwnd() is null by then).
    void OnAttached() {}
    void OnDetached() {}
    // A hook that D may hide: runs on the target DC before D's picture is
    // copied into it (on every way of painting; the DC's state is restored
    // afterwards), to clip away parts of the window that others draw, or to
    // answer false and leave the target untouched.
    bool PreparePaint(HDC) const { return true; }

    // The next procedure of the chain: the system control's own handling,
    // or the default procedure of our own classes.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const {
        return ::DefSubclassProc(hwnd_, message, wParam, lParam);
    }

    // Draws D's PaintContent over the whole client area into dc now, through
    // the off-screen bitmap (for a parent's reflected WM_DRAWITEM).
    void PaintNow(HDC dc) const {
        static_assert(detail::Paints<D>::value, "PaintNow needs D::PaintContent(HDC, const RECT&) const");
        if (!hwnd_ || !dc) return;
        const D* self = static_cast<const D*>(this);
        const int saved = ::SaveDC(dc);
        if (self->PreparePaint(dc)) {
            RECT client;
            ::GetClientRect(hwnd_, &client);
            PaintDoubleBuffered(dc, client, [self](HDC target, const RECT& area) { self->PaintContent(target, area); });
        }
        ::RestoreDC(dc, saved);
    }

    // Repaints the whole control (or a part of it) at the next WM_PAINT.
    void Invalidate(const RECT* part = nullptr) const {
        if (hwnd_) ::InvalidateRect(hwnd_, part, FALSE);
    }

private:
    static constexpr UINT_PTR kSubclassId = 1;

    D* Self() { return static_cast<D*>(this); }

    bool Serve(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if constexpr (detail::Paints<D>::value) {
            switch (message) {
            case WM_PAINT: {
                PaintDc dc(hwnd_);
                PaintNow(dc.get());
                result = 0;
                return true;
            }
            case WM_PRINTCLIENT:
                PaintNow(reinterpret_cast<HDC>(wParam));
                result = 0;
                return true;
            case WM_ERASEBKGND:
                result = 1;  // PaintContent covers every pixel
                return true;
            default:
                break;
            }
        }
        return RouteRows<D>(Self(), D::Messages(), {}, message, wParam, lParam, result);
    }

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR data) {
        D* self = reinterpret_cast<D*>(data);
        LRESULT result = 0;
        bool handled = false;
        if (message != WM_NCDESTROY) {
            try {
                handled = self->Control::Serve(message, wParam, lParam, result);
            } catch (...) {
                LogControlFailure(message);
                handled = false;
            }
            return handled ? result : ::DefSubclassProc(window, message, wParam, lParam);
        }
        ::RemoveWindowSubclass(window, &Control::Procedure, kSubclassId);
        self->Control::hwnd_ = nullptr;
        try {
            self->OnDetached();
        } catch (...) {
            LogControlFailure(message);
        }
        return ::DefSubclassProc(window, message, wParam, lParam);
    }

    HWND hwnd_ = nullptr;
};

}  // namespace quorv::win
