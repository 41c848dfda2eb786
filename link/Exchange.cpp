#include "link/Exchange.h"

#include <cstdio>
#include <mutex>
#include <string>
#include <utility>

#include "link/BlockingPump.h"

namespace kx {

namespace {

// UI-thread state; the mutex only guards the handler against a late set from another thread.
Link* activeLink = nullptr;
Pump* exchangePump = nullptr;
std::mutex logMutex;
LinkLogHandler logHandler;

BlockingPump& defaultPump() {
    static BlockingPump pump;
    return pump;
}

}  // namespace

const char* ExchangeOutcomeText(ExchangeOutcome outcome) {
    switch (outcome) {
        case ExchangeOutcome::Ok:
            return "ok";
        case ExchangeOutcome::TimedOut:
            return "timed out";
        case ExchangeOutcome::UnknownKind:
            return "unknown terminator kind";
        case ExchangeOutcome::NoLink:
            return "no link open";
        case ExchangeOutcome::LinkLost:
            return "link lost";
        case ExchangeOutcome::WriteFailed:
            return "write failed";
        case ExchangeOutcome::Busy:
            return "another exchange is running";
    }
    return "unknown outcome";
}

ExchangeOutcome Exchange(std::string_view command, ReplyBuffer& reply, int timeoutMs, int kind) {
    if (activeLink == nullptr) {
        reply.clear();
        return ExchangeOutcome::NoLink;
    }
    const auto timeout = std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
    return activeLink->exchange(command, reply, timeout, kind);
}

int SendCommand(std::string_view command, ReplyBuffer& reply, int timeoutMs, int kind) {
    return Exchange(command, reply, timeoutMs, kind) == ExchangeOutcome::Ok ? 1 : 0;
}

void SetActiveLink(Link* link) {
    activeLink = link;
}

Link* ActiveLink() {
    return activeLink;
}

void SetExchangePump(Pump* pump) {
    exchangePump = pump;
}

Pump& ExchangePump() {
    return exchangePump != nullptr ? *exchangePump : defaultPump();
}

void SetLinkLogHandler(LinkLogHandler handler) {
    std::lock_guard lock(logMutex);
    logHandler = std::move(handler);
}

void LogLinkLine(std::string_view line) {
    LinkLogHandler handler;
    {
        std::lock_guard lock(logMutex);
        handler = logHandler;
    }
    if (handler) {
        handler(line);
    } else {
        std::fwrite(line.data(), 1, line.size(), stderr);
    }
}

void DeliverLinkEvents() {
    if (activeLink != nullptr) {
        activeLink->deliverEvents();
    }
}

}  // namespace kx
