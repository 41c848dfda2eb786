#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <string_view>

#include "sim/Adapter.h"

namespace kx::sim {

// Raised once to end every wait of the serving threads (an eventfd they all poll).
class StopSignal {
public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    void raise();
    bool raised() const { return raised_.load(); }
    int fd() const { return fd_; }
    // Sleeps for `duration` unless raised first; returns false when raised.
    bool sleepFor(std::chrono::nanoseconds duration) const;

private:
    int fd_ = -1;
    std::atomic<bool> raised_{false};
};

// Sends at the adapter's line speed: 10 bits a byte at 115200 bit/s, about 87 µs a byte.
class Pacer {
public:
    static constexpr std::chrono::nanoseconds kByteTime{1'000'000'000LL * 10 / 115200};
    explicit Pacer(bool enabled) : enabled_(enabled) {}
    bool enabled() const { return enabled_; }
    // Waits (sleeping, never spinning) until `count` more bytes may go; false when stopped.
    bool beforeSend(std::size_t count, const StopSignal& stop);

private:
    bool enabled_;
    std::chrono::steady_clock::time_point next_{};
};

enum class IoResult { Ok, Closed, Stopped };

// Writes all of `bytes` to a (possibly non-blocking) descriptor, waiting for room with poll.
// Gives up (Closed) on an error or when the peer takes nothing for `stallLimit`.
IoResult writeAll(int fd, std::string_view bytes, const StopSignal& stop, Pacer& pacer,
                  std::chrono::milliseconds stallLimit = std::chrono::milliseconds(5000));

// One byte stream to a peer: the pty master, a TCP connection, stdio.
class Transport {
public:
    virtual ~Transport() = default;
    virtual int readFd() const = 0;
    // Reads what is there into `data` (data bytes only). Closed on end of stream or error.
    virtual IoResult read(std::string& data) = 0;
    virtual IoResult write(std::string_view bytes) = 0;
    // Hangs up the line at once (a fault).
    virtual void drop() = 0;
    // A further descriptor to watch besides the input (-1: none); onWatch() when readable.
    virtual int watchFd() const { return -1; }
    virtual void onWatch() {}
};

enum class SessionEnd { Stopped, PeerClosed, Finished, Dropped };

// Serves `adapter` over `transport` until the peer goes, the adapter finishes, a fault drops
// the line or `stop` is raised. Blocks in poll between events.
SessionEnd runSession(Adapter& adapter, Transport& transport, const StopSignal& stop);

// Carries out the steps of the adapter (sends, pauses, a drop).
SessionEnd perform(const Output& output, Transport& transport, const StopSignal& stop);

}  // namespace kx::sim
