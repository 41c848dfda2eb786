#pragma once

// A Pump for callers without a message loop (tests, benchmarks, command-line tools): waitFor()
// only sleeps until wake() or the limit, it dispatches nothing.

#include <condition_variable>
#include <mutex>

#include "link/Pump.h"

namespace kx {

class BlockingPump final : public Pump {
public:
    // Any thread may wait and wake; a wake() with nobody waiting makes the next waitFor()
    // return at once (it is remembered, not lost).
    void waitFor(std::chrono::milliseconds limit) override;
    void wake() override;

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool woken_ = false;
};

}  // namespace kx
