#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "sim/Output.h"

namespace kx::sim {

// One fault the emulated adapter injects into its replies.
//
// Text form (`--fault SPEC`):  KIND[=VALUE][/COUNT][:PATTERN]
//   silent              no reply at all (not even the echo)
//   cut=N               the reply stops after N bytes; the line stays up
//   delay=MS            wait MS milliseconds before replying
//   drip=MS             send the reply one byte at a time, MS milliseconds apart
//   lower               the terminators in lower case ("\r\nok\r\n", "Write ok")
//   long[=N]            pad the reply with filler lines before its prompt to at least N bytes
//                       (default 2600, so it is longer than 2048)
//   garbage             a line of binary bytes (NUL, 0xFF, bytes above 0x7F) after the echo
//   nolabel=LABEL:      leave out the reply lines that begin with LABEL; the label's own colon
//                       ends the value ("nolabel=ring sound::show analog tel1")
//   drop[=N]            hang up the line after N bytes of the reply (default 0): the pty is
//                       closed, the TCP connection reset
//   refuse-login        every login password is refused (takes no pattern)
// PATTERN is matched against the command line without its line end, letters without regard to
// case: with '*' or '?' it is a glob over the whole line, otherwise a command prefix ending at a
// word boundary ("show analog" matches "show analog tel1", "ATI" does not match "ATI3").
// No pattern, or "*", means every command (the bare "\r" too). /COUNT limits the fault to the
// next COUNT matching commands.
struct FaultRule {
    enum class Kind { Silent, Cut, Delay, Drip, Lower, Long, Garbage, NoLabel, Drop, RefuseLogin };
    Kind kind = Kind::Silent;
    long value = 0;     // bytes (cut, long, drop) or milliseconds (delay, drip)
    std::string label;  // nolabel
    std::string pattern = "*";
    long remaining = -1;  // commands still to fault; -1 without limit
};

// Parses the text form; on failure returns false with a message naming the problem.
bool parseFault(std::string_view spec, FaultRule& rule, std::string& error);

// The text form of a rule (parseFault of it gives the same rule).
std::string describeFault(const FaultRule& rule);

bool patternMatches(std::string_view pattern, std::string_view line);

// The faults in force. Thread-safe: tests change them while sessions serve.
class FaultSet {
public:
    void add(FaultRule rule);
    void clear();
    std::vector<FaultRule> rules() const;

    // The reply faults for one received command line; counts the limited ones down.
    std::vector<FaultRule> take(std::string_view line);
    // Whether a login is to be refused; counts a limited rule down.
    bool takeRefuseLogin();

private:
    mutable std::mutex mutex_;
    std::vector<FaultRule> rules_;
};

// A reply in its three parts, so that faults can work on its lines.
struct Reply {
    std::string head;  // the echo of the command
    std::string body;  // the reply lines, each ending in "\r\n"
    std::string tail;  // the prompt or the OK line
    std::string text() const { return head + body + tail; }
};

// The steps that deliver `reply` with `faults` applied (none: one Send of the whole reply).
Output deliverReply(Reply reply, const std::vector<FaultRule>& faults);

}  // namespace kx::sim
