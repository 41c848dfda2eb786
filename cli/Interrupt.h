#pragma once

// kxctl's interruption: SIGINT, SIGTERM and SIGHUP do not end it at once. The exchange in
// flight finishes (it never waits past its time-out), nothing more is written, the session
// leaves the adapter's command line as the close path does (without "fromwr 15"), and kxctl
// exits with 128 plus the signal's number. A second signal ends it at once.

namespace kx::cli {

// Installs the handlers for its lifetime and clears an earlier interruption; the destructor
// puts the earlier handlers back.
class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;
};

// The signal that interrupted kxctl, 0 for none.
int interruptSignal();
// "SIGINT", "SIGTERM" or "SIGHUP".
const char* interruptName(int signal);

}  // namespace kx::cli
