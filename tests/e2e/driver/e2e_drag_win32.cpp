#include "tests/e2e/driver/e2e_drag_win32.h"

#include <ole2.h>

#include <atomic>
#include <memory>
#include <thread>

#include "platform/raii_win32.h"
#include "tests/support/com_object_win32.h"
#include "tests/support/messages_win32.h"
#include "tests/win32/shell_test_support.h"

namespace quorv::e2e {
namespace {

constexpr UINT kStartDrag = WM_APP + 1;
// Where the file manager's window lies: the top left corner of the screen,
// clear of the program's centred window.
constexpr RECT kSourceRect{4, 4, 124, 64};

// The file manager's side of the drag: the drop continues while the left
// button is held and ends where it is released.
class DropSource final : public test::ComObject<IDropSource, IID_IDropSource> {
public:
    STDMETHODIMP QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape) return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    STDMETHODIMP GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    ~DropSource() override = default;
};

// The file manager: its window, and the drag it starts on the press of the
// left button in it.
struct FileManager {
    std::vector<std::wstring> paths;
    std::atomic<bool> ready{false};
    std::atomic<bool> dragging{false};
    std::atomic<bool> done{false};
    DragOutcome outcome;
    HWND window = nullptr;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<FileManager*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_LBUTTONDOWN && self && !self->outcome.started) {
            // A real file manager starts the drag on the first moves with
            // the button down; the press is enough here.
            self->outcome.started = true;
            ::PostMessageW(hwnd, kStartDrag, 0, 0);
            return 0;
        }
        if (message == kStartDrag && self) {
            win::ComPtr<IDataObject> data = test::MakeDropData(self->paths);
            win::ComPtr<IDropSource> source(new DropSource);
            self->dragging = true;
            DWORD effect = DROPEFFECT_NONE;
            self->outcome.result = ::DoDragDrop(data.get(), source.get(), DROPEFFECT_COPY, &effect);
            self->outcome.effect = effect;
            self->done = true;
            ::PostQuitMessage(0);
            return 0;
        }
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }

    void Run() {
        const HRESULT ole = ::OleInitialize(nullptr);
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"QuorvE2EFileManager";
        ::RegisterClassW(&wc);
        window = ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"Files", WS_POPUP | WS_BORDER | WS_VISIBLE,
                                   kSourceRect.left, kSourceRect.top, kSourceRect.right - kSourceRect.left,
                                   kSourceRect.bottom - kSourceRect.top, nullptr, nullptr, wc.hInstance, nullptr);
        if (window) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            // Mouse input goes to the foreground window's thread: the file
            // manager's, as the user works in it.
            ::SetForegroundWindow(window);
            ::UpdateWindow(window);
            ready = true;
            MSG msg;
            while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            ::DestroyWindow(window);
        }
        done = true;
        if (SUCCEEDED(ole)) ::OleUninitialize();
    }
};

void MoveMouse(POINT to) {
    ::SetCursorPos(to.x, to.y);
    ::mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
}

}  // namespace

DragOutcome DragFilesTo(const std::vector<std::wstring>& paths, POINT target) {
    // Shared with the file manager's thread, which may outlive a failed case.
    const auto shared = std::make_shared<FileManager>();
    FileManager& manager = *shared;
    manager.paths = paths;
    std::thread thread([shared] { shared->Run(); });
    const POINT source{(kSourceRect.left + kSourceRect.right) / 2, (kSourceRect.top + kSourceRect.bottom) / 2};
    if (test::WaitFor([&] { return manager.ready.load() || manager.done.load(); }, 10000) && manager.ready) {
        ::Sleep(100);
        MoveMouse(source);
        ::Sleep(50);
        ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        if (test::WaitFor([&] { return manager.dragging.load() || manager.done.load(); }, 5000) &&
            !manager.done) {
            // The drag tracks the mouse on a timer of 50 ms: steps slower than that.
            ::Sleep(100);
            constexpr int kSteps = 10;
            for (int i = 1; i <= kSteps; ++i) {
                MoveMouse(POINT{source.x + (target.x - source.x) * i / kSteps,
                                source.y + (target.y - source.y) * i / kSteps});
                ::Sleep(60);
            }
            // Over the target long enough to be asked whether it takes the files.
            for (int i = 0; i < 4; ++i) {
                MoveMouse(POINT{target.x + (i % 2), target.y});
                ::Sleep(100);
            }
        }
        ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    }
    test::WaitFor([&] { return manager.done.load(); }, 20000);
    if (!manager.done && manager.window) {
        // A drag that never ended: Escape ends it (keys go to its thread).
        ::PostMessageW(manager.window, WM_KEYDOWN, VK_ESCAPE, 0);
        test::WaitFor([&] { return manager.done.load(); }, 5000);
    }
    if (manager.done) {
        thread.join();
        return manager.outcome;
    }
    thread.detach();  // a drag that never gave the thread back: the case fails on the outcome
    return DragOutcome{};
}

}  // namespace quorv::e2e
