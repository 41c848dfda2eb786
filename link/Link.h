#pragma once

// What every link to the adapter (the serial port, the network) offers the exchange.

#include <chrono>
#include <string_view>

#include "link/ReplyBuffer.h"

namespace kx {

// How one exchange ended. Only Ok means the terminator arrived in time.
enum class ExchangeOutcome {
    Ok,           // the terminator of the kind arrived within the time-out
    TimedOut,     // no terminator within the time-out; the reply holds what did arrive
    UnknownKind,  // a kind with no terminator (TerminatorsOf): it ended by its time-out
    NoLink,       // no link open: failed at once, nothing sent
    LinkLost,     // the adapter vanished (before or during the exchange): failed at once
    WriteFailed,  // the command could not be written completely: failed at once
    Busy,         // an exchange is already running (started from inside its wait): refused
};

// A short English text for log lines ("timed out", "link lost", ...).
const char* ExchangeOutcomeText(ExchangeOutcome outcome);

class Link {
public:
    virtual ~Link() = default;

    // UI thread only, one at a time. Discards whatever was received before, sends `command`
    // (the exact bytes, normally ending in "\r"), then waits in the pump until the terminator
    // of `kind` is in the reply or `timeout` has passed. The reply receives at most
    // reply.capacity() - 1 bytes of what arrived, terminated; on a reply longer than that the
    // terminator still counts (the exchange succeeds) and reply.truncated() is set.
    virtual ExchangeOutcome exchange(std::string_view command, ReplyBuffer& reply,
                                     std::chrono::milliseconds timeout, int kind) = 0;

    // UI thread. Writes events that arrived on other threads (a lost adapter) to the link log.
    virtual void deliverEvents() {}
};

}  // namespace kx
