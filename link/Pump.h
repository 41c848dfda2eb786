#pragma once

#include <chrono>

namespace kx {

// What the link needs of the user-interface thread's message loop while an exchange waits.
// The dialog layer implements it; the link never sees the loop itself, nor any toolkit.
class Pump {
public:
    virtual ~Pump() = default;

    // UI thread only. Dispatches whatever is due (posted calls, timers, watched descriptors,
    // window events) and blocks until something happens, wake() is called, or `limit` has
    // passed, whichever comes first. Returns early without busy-waiting.
    virtual void waitFor(std::chrono::milliseconds limit) = 0;

    // Any thread. Makes a waitFor() that is blocked, or the next one, return promptly.
    virtual void wake() = 0;
};

}  // namespace kx
