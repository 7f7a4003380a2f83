#include "tests/support/messages_win32.h"

#include <windows.h>

#include <chrono>

namespace quorv::test {

namespace {

void DispatchWaiting() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

}  // namespace

void Pump(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    DispatchWaiting();
    while (std::chrono::steady_clock::now() < end) {
        ::Sleep(5);
        DispatchWaiting();
    }
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs, int stepMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return condition();
        Pump(stepMs);
    }
}

}  // namespace quorv::test
