#include "link/BlockingPump.h"

namespace kx {

void BlockingPump::waitFor(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, limit, [this] { return woken_; });
    woken_ = false;
}

void BlockingPump::wake() {
    {
        std::lock_guard lock(mutex_);
        woken_ = true;
    }
    changed_.notify_all();
}

}  // namespace kx
