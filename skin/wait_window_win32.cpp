#include "skin/wait_window_win32.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/raii_win32.h"
#include "skin/progress_bar_win32.h"
#include "skin/themed_dialog_win32.h"
#include "system/system_access.h"

namespace quorv::win {
namespace {

// The state of the one wait window. The calling thread writes the position
// and the done flag and releases the semaphore; the wait thread reads them
// when the semaphore wakes it.
struct WaitState {
    SemaphoreHandle semaphore;
    ThreadHandle thread;
    std::atomic<bool> done{false};
    std::atomic<int> position{0};
    int maximum = 0;
    std::string caption;
    int theme = kDefaultTheme;
};

std::mutex g_lock;  // guards g_wait (start, step and stop may come from any thread)
std::unique_ptr<WaitState> g_wait;

class WaitDialog : public ThemedDialog {
public:
    explicit WaitDialog(const WaitState& state) : ThemedDialog(state.theme), state_(state) {}
    ProgressBar& bar() { return bar_; }

    void SetScale(Scale scale) override {
        ThemedDialog::SetScale(scale);
        bar_.SetScale(scale);
        Layout();
    }

protected:
    bool OnInitDialog() override {
        HWND self = hwnd();
        ::SetWindowTextA(self, "Please Wait...");
        caption_ = ::CreateWindowExA(0, "STATIC", state_.caption.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                     0, 0, 0, 0, self, nullptr, Instance(), nullptr);
        if (caption_) ::SendMessageA(caption_, WM_SETFONT, reinterpret_cast<WPARAM>(NormalFont()), FALSE);
        bar_.SetScale(scale());
        bar_.Create(self, RECT{0, 0, 0, 0}, 0, state_.maximum, theme());
        if (closeButton().hwnd()) ::ShowWindow(closeButton().hwnd(), SW_HIDE);
        Layout();
        CentreOn(RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
        return false;
    }
    void PlaceAfterScaleChange(const RECT& suggested) override { CentreOn(suggested); }

private:
    // 300 x 130 pixels at 96 DPI: the caption at (30, 50)-(270, 67), the bar
    // at (20, 90)-(280, 110).
    void Layout() {
        const Scale s = scale();
        RECT window{};
        ::GetWindowRect(hwnd(), &window);
        ::SetWindowPos(hwnd(), nullptr, window.left, window.top, s.Px(300), s.Px(130), SWP_NOZORDER | SWP_NOACTIVATE);
        const auto place = [s](HWND control, const Rect& r96) {
            const Rect r = s.Px(r96);
            if (control) ::MoveWindow(control, r.left, r.top, r.width(), r.height(), TRUE);
        };
        place(caption_, Rect{30, 50, 270, 67});
        place(bar_.hwnd(), Rect{20, 90, 280, 110});
    }

    const WaitState& state_;
    HWND caption_ = nullptr;
    ProgressBar bar_;
};

// An in-memory dialog template without controls: popup, visible, dialog
// frame, topmost tool window, 300 x 150 dialog units.
std::vector<WORD> WaitTemplate() {
    const DWORD style = WS_POPUP | WS_VISIBLE | WS_DLGFRAME;
    const DWORD exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    return std::vector<WORD>{
        LOWORD(style), HIWORD(style), LOWORD(exStyle), HIWORD(exStyle),
        0,              // no controls
        0, 0, 300, 150,  // x, y, cx, cy
        0, 0, 0,        // no menu, the dialog class, no title
    };
}

void Repaint(HWND window) { ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

void RunWaitWindow(WaitState& state) {
    HWND previous = ::GetForegroundWindow();
    const std::vector<WORD> dialogTemplate = WaitTemplate();
    WaitDialog dialog(state);
    HWND window = dialog.CreateModelessIndirect(reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), nullptr);
    if (!window) return;
    if (previous && previous != window) ::SetForegroundWindow(previous);
    HANDLE semaphore = state.semaphore.get();
    while (!state.done.load()) {
        // Waits for the semaphore without time limit, answering the
        // window's own messages (painting, messages sent by others) meanwhile.
        const DWORD woke = ::MsgWaitForMultipleObjects(1, &semaphore, FALSE, INFINITE, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) {
            if (state.done.load()) break;
            dialog.bar().SetPosition(state.position.load());
            Repaint(window);
        } else if (woke == WAIT_OBJECT_0 + 1) {
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        } else {
            break;
        }
    }
    dialog.bar().SetPosition(state.maximum);
    Repaint(window);
    ::ShowWindow(window, SW_HIDE);
    ::DestroyWindow(window);
}

DWORD WINAPI WaitThread(void* parameter) {
    try {
        RunWaitWindow(*static_cast<WaitState*>(parameter));
    } catch (...) {
        WriteErrorLog("The wait window failed.");
    }
    return 0;
}

// Waits for a thread to end, answering messages sent to this thread's
// windows meanwhile (the ending wait window may send some).
void Join(HANDLE thread) {
    for (;;) {
        const DWORD woke = ::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
        if (woke != WAIT_OBJECT_0 + 1) return;
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

void StartWait(const std::string& caption, int maximum, int theme) {
    StopWait();
    auto state = std::make_unique<WaitState>();
    state->semaphore.reset(::CreateSemaphoreA(nullptr, 1, 1, nullptr));
    if (!state->semaphore) return;
    state->caption = caption;
    state->maximum = maximum;
    state->theme = theme;
    state->thread.reset(::CreateThread(nullptr, 0, &WaitThread, state.get(), 0, nullptr));
    if (!state->thread) return;
    std::lock_guard<std::mutex> hold(g_lock);
    g_wait = std::move(state);
}

void StepWait(int position) {
    std::lock_guard<std::mutex> hold(g_lock);
    if (!g_wait) return;
    if (position == -1) {
        g_wait->position.fetch_add(1);
    } else {
        g_wait->position.store(position);
    }
    ::ReleaseSemaphore(g_wait->semaphore.get(), 1, nullptr);
}

void StopWait() {
    std::unique_ptr<WaitState> state;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        state = std::move(g_wait);
    }
    if (!state) return;
    state->done.store(true);
    ::ReleaseSemaphore(state->semaphore.get(), 1, nullptr);
    // The semaphore is closed (with the state) only after the thread's last
    // wait: once the thread has ended.
    Join(state->thread.get());
}

int WaitPosition() {
    std::lock_guard<std::mutex> hold(g_lock);
    return g_wait ? g_wait->position.load() : -1;
}

}  // namespace quorv::win
