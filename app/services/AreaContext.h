#pragma once

// What a settings area's reader and writer need of the program, and nothing more: the exchange,
// the reply buffer, the link choice and the log. The main window makes one for every area cycle;
// tests and tools make their own, so readers and writers run without a window.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "link/Link.h"
#include "link/ReplyBuffer.h"

namespace kx {

struct AreaContext {
    // The exchange: SendCommand's shape. Tests may put a scripted one in its place.
    using ExchangeFn =
        std::function<int(std::string_view command, ReplyBuffer& reply, int timeoutMs, int kind)>;

    explicit AreaContext(ReplyBuffer& readerReply) : reply(readerReply) {}

    // The readers' reply buffer: the main window's 2048 bytes.
    ReplyBuffer& reply;
    // The link choice of the run (0 serial, nonzero network).
    int networkMode = 0;
    // Writes one log line (ending in "\r\n"); may be empty.
    std::function<void(std::string_view line)> log;
    // Empty: SendCommand over whichever link is open.
    ExchangeFn exchange;
    // Time-out of every settings exchange.
    int timeoutMs = 10000;
    // How the last exchange of send() or sendAll() that failed ended; the caller sets it back to
    // Ok before a read or write, to tell the user why it failed. A scripted exchange that
    // fails counts as no reply.
    mutable ExchangeOutcome lastFailure = ExchangeOutcome::Ok;
    // Told by a reader of each item whose label its reply lacked, with the address of the
    // record member left as it was; may be empty (the dialogs keep such a field as it was).
    std::function<void(const void* member)> missingLabel;

    // One settings exchange ("show ..." or a setting): `command` with the prompt as terminator.
    // Returns 1 when the prompt arrived in time.
    int send(std::string_view command, ReplyBuffer& into) const;
    // A reader's exchange into `reply`.
    int send(std::string_view command) const { return send(command, reply); }
    // Sends `commands` in order, each into a writer's own small reply buffer (only the
    // acknowledgement matters), and stops at the first that fails. Returns 1 when all were
    // acknowledged (also when there were none), 0 at the first failure.
    int sendAll(const std::vector<std::string>& commands) const;
    void logLine(std::string_view line) const {
        if (log)
            log(line);
    }
};

}  // namespace kx
