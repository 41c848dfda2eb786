#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace kx::sim {

// What the adapter core asks its transport to do, in order. The core does no I/O: the pty, the
// TCP connection, stdio and the tests all carry out the same steps.
struct Step {
    enum class Kind {
        Send,   // write `bytes`
        Pause,  // wait `pause` before the next step
        Drop,   // hang up the line (close the pty, reset the connection); nothing follows
    };
    Kind kind = Kind::Send;
    std::string bytes;
    std::chrono::milliseconds pause{0};

    static Step send(std::string b) { return {Kind::Send, std::move(b), {}}; }
    static Step wait(std::chrono::milliseconds p) { return {Kind::Pause, {}, p}; }
    static Step drop() { return {Kind::Drop, {}, {}}; }
};

using Output = std::vector<Step>;

// All bytes of the Send steps, joined (for tests and for transports that ignore pauses).
inline std::string sentBytes(const Output& output) {
    std::string all;
    for (const Step& step : output) {
        if (step.kind == Step::Kind::Send)
            all += step.bytes;
    }
    return all;
}

inline bool hasDrop(const Output& output) {
    for (const Step& step : output) {
        if (step.kind == Step::Kind::Drop)
            return true;
    }
    return false;
}

}  // namespace kx::sim
