#pragma once

// The message loop kxctl's network link needs: a Pump that, while an exchange waits, polls the
// watched sockets and calls their handlers, the way the program's user-interface loop does.
// One thread only (kxctl's), except wake(), which any thread may call.

#include <functional>
#include <vector>

#include "link/NetLink.h"
#include "link/Pump.h"

namespace kx::cli {

class PollPump final : public Pump {
public:
    PollPump();
    ~PollPump() override;
    PollPump(const PollPump&) = delete;
    PollPump& operator=(const PollPump&) = delete;

    void waitFor(std::chrono::milliseconds limit) override;
    void wake() override;

    // The hooks a NetLink takes (watch and unwatch; no timer: the connect is noticed when the
    // adapter's first bytes arrive, or its failure as an error on the socket).
    NetHooks hooks();

private:
    struct Watch {
        int id;
        int fd;
        std::function<void()> onReadable;
    };
    std::vector<Watch> watches_;
    int nextId_ = 1;
    int wakeFd_ = -1;
};

}  // namespace kx::cli
