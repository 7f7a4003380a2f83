#pragma once
// This thread's messages while a Windows test waits: its windows paint,
// take posted messages and answer timers meanwhile.
#include <functional>

namespace quorv::test {

// Dispatches this thread's messages for the given time, at least once and
// once more at its end (0: only what is waiting now).
void Pump(int milliseconds = 50);

// What a window that should answer gets, and what a wait gets unless told.
inline constexpr int kWaitTimeout = 10000;

// Checks the condition, then dispatches this thread's messages for a step
// and checks again, until it holds or the time is up; the condition's last
// value.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = kWaitTimeout, int stepMs = 10);

}  // namespace quorv::test
