#pragma once
// The "Please Wait..." window of long runs: a small themed window with a
// progress bar, on a thread of its own so that it keeps painting while the
// calling thread works. One wait window at a time, process-wide.
//
//   StartWait("Renaming in progress...", count, theme);
//   for (...) { ...; StepWait(-1); }
//   StopWait();
#include <string>

#include "view/theme.h"

namespace quorv::win {

// Starts the wait window on a new thread and returns at once (a wait window
// still running is stopped first).
void StartWait(const std::string& caption, int maximum, int theme = kDefaultTheme);
// -1 advances the position by one; any other value sets it. Wakes the wait
// thread, which shows the latest position. Nothing without a wait window.
void StepWait(int position);
// Ends the wait window and returns once its thread has ended.
void StopWait();

// The position last stored (-1 when no wait window runs).
int WaitPosition();

}  // namespace quorv::win
