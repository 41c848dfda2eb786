#pragma once

// The UI thread's message loop: posted calls, timers, watches on file descriptors and the
// nested wait. The loop belongs to the installed backend (ui/Backend.h); these functions reach
// it. Everything runs on the UI thread except postCall() and pump().wake(), which any thread
// may call.
//
// Waiting never polls: between events the thread sleeps in the backend (poll(2) headless, the
// Qt event dispatcher with the Qt backend).

#include <chrono>
#include <functional>
#include <string_view>

#include "link/Pump.h"

namespace kx::ui {

using Clock = std::chrono::steady_clock;

// Any thread. Runs `call` on the UI thread at the next dispatch, in posting order.
void postCall(std::function<void()> call);

// Periodic timer: `call` runs every `period` until killTimer(id). Ids are process-wide; setting
// an id that runs already restarts it with the new period and call. Timers that are due at the
// same dispatch run in the order of their due times. A timer does not run again while its own
// call is still running (a nested wait inside it).
void setTimer(int id, std::chrono::milliseconds period, std::function<void()> call);
void killTimer(int id);

// Watch `fd` for readability: `onReadable` runs on the UI thread whenever it is readable, until
// unwatch(). The call must read what is there (or unwatch), or it runs again at once.
// Returns the watch id.
int watchReadable(int fd, std::function<void()> onReadable);
void unwatch(int watchId);

// Nested wait: dispatches everything (posted calls, timers, watches, window events) and sleeps
// between events until `done()` is true or `deadline` has passed. Returns done(). `done` is
// tested after every dispatch, on the UI thread.
bool pumpUntil(const std::function<bool()>& done, Clock::time_point deadline);

// The running loop as the link sees it: waitFor(limit) is one step of pumpUntil, wake() from
// any thread ends the current or next waitFor() at once.
Pump& pump();

// The program's log (LogLine) reports each line here, so that a replayed session can print
// "log: TEXT" and a script can wait for it. Does nothing with the Qt backend.
void noteLogLine(std::string_view text);

}  // namespace kx::ui
