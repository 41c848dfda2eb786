#pragma once

// The one exchange of the program: every area sends its commands through SendCommand, which
// runs over whichever link is open (the serial port, or the network once logged in).
//
// Threads: everything here is for the UI thread, except where a comment says otherwise.

#include <functional>
#include <string_view>

#include "link/Link.h"
#include "link/Pump.h"
#include "link/ReplyBuffer.h"

namespace kx {

// Sends `command` and waits up to timeoutMs for the terminator of `kind` (TerminatorSearch.h:
// the adapter's kinds 0..7, or kTerminatorOkOrPrompt). Returns 1 when the terminator arrived
// in time, 0 otherwise (time-out, any other kind, no link open, link lost, write failed).
// Never writes past reply.capacity().
//   if (SendCommand("show analog tel1\r", reply, 10000, kTerminatorPrompt) != 1) ...
int SendCommand(std::string_view command, ReplyBuffer& reply, int timeoutMs, int kind);

// The same, with the reason of a failure.
ExchangeOutcome Exchange(std::string_view command, ReplyBuffer& reply, int timeoutMs, int kind);

// The link SendCommand uses; nullptr when none is open. OpenSerialPort and CloseSerialPort set
// and clear it; the network link sets itself once logged in. The link must outlive its use.
void SetActiveLink(Link* link);
Link* ActiveLink();

// The pump exchanges wait in. The app sets the UI loop's pump at start-up; until then (and for
// tools and tests that set none) a process-wide BlockingPump is used. Set it before opening a
// link: an open link keeps the pump it was opened with.
void SetExchangePump(Pump* pump);
Pump& ExchangePump();

// Where the link layer writes its own log lines (e.g. "Serial link lost: ...\r\n"); each line
// ends in "\r\n" like every log line of the program. Called on the UI thread only, never on a
// reader thread. Without a handler the lines go to standard error.
using LinkLogHandler = std::function<void(std::string_view line)>;
void SetLinkLogHandler(LinkLogHandler handler);
void LogLinkLine(std::string_view line);

// Writes pending link events (a lost adapter) to the log now. A reader thread only wakes the
// pump when the adapter vanishes; the line is written by the next exchange or close, or here,
// which the app may call whenever its loop wakes to log the loss at once. Harmless to call
// at any time.
void DeliverLinkEvents();

}  // namespace kx
