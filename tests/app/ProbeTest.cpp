// The device probe's exchanges: the exact commands, time-outs and terminator kinds, and the
// bare "\r" at its end, which ends at the adapter's prompt (or an OK line) and whose result is
// ignored whatever the adapter does with it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/Probe.h"
#include "link/TerminatorSearch.h"

namespace kx {
namespace {

struct Sent {
    std::string command;
    int timeoutMs;
    int kind;
    bool operator==(const Sent&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Sent& s) {
    return out << '"' << s.command << "\" " << s.timeoutMs << " ms kind " << s.kind;
}

const std::vector<Sent> kProbeExchanges = {
    {"ATI\r", 3000, kTerminatorOk},     {"AT%I2\r", 3000, kTerminatorOk},
    {"AT%M\r", 3000, kTerminatorOk},    {"ATT1\r", 3000, kTerminatorPrompt},
    {"\r", 500, kTerminatorOkOrPrompt},
};

TEST(Probe, BareLineEndEndsAtOkOrPromptAndItsResultIsIgnored) {
    const struct Row {
        const char* name;
        bool lastArrived;  // whether the bare "\r" got its terminator in time
        std::string lastReply;
    } rows[] = {
        {"the prompt", true, "\r\n\r\n# "},
        {"an OK line", true, "\r\nOK\r\n"},
        {"silence", false, ""},
        {"garbage", false, std::string("\0\xFF", 2) + "\r\nERROR\r\n"},
    };
    const std::map<std::string, std::string> replies = {
        {"ATI\r", "ATI\r\r\nKESTRELX\r\nOK\r\n"},
        {"AT%I2\r", "AT%I2\r\r\nVersion 2.10a\r\nOK\r\n"},
        {"AT%M\r", "AT%M\r\r\nOK\r\n"},
        {"ATT1\r", "ATT1\r\r\n# "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<Sent> sent;
        ShellExchange exchange = [&](std::string_view command, int timeoutMs, int kind,
                                     std::string_view& reply) {
            sent.push_back({std::string(command), timeoutMs, kind});
            if (command == "\r") {
                reply = row.lastReply;
                return row.lastArrived;
            }
            reply = replies.at(std::string(command));
            return true;
        };
        ProbeOutcome out = runProbe(
            exchange, [](std::chrono::milliseconds) {}, "KESTRELX", ShellTimings{});
        EXPECT_TRUE(out.ok);
        EXPECT_TRUE(out.message.empty()) << out.message;
        EXPECT_EQ(out.firmwareVersionText, "Version 2.10a");
        EXPECT_EQ(sent, kProbeExchanges);
    }
}

// An adapter left at its command line answers "ATI" with its prompt and no OK line: it is led
// out with "exit" and probed again once, from the settling wait; a second such answer fails.
// An "AT%I2" reply without "Version " is not the adapter's either (the emulator always sends
// one).
TEST(Probe, AdapterAtItsCommandLineIsLedOutWithExitAndProbedAgainOnce) {
    struct Ati {
        std::string reply;
        bool arrived;  // whether its OK line came
    };
    const Ati kPrompt{"ATI\r\n% Unknown command\r\n# ", false};
    const Ati kOk{"ATI\r\nKESTRELX\r\nOK\r\n", true};
    const struct Row {
        const char* name;
        std::vector<Ati> replies;  // of the "ATI"s in turn
        bool ok;
        std::vector<std::string> sent;
        int waits;
        std::string version = "\r\nVersion 2.10a\r\nOK\r\n";  // the "AT%I2" reply
    } rows[] = {
        {"led out", {kPrompt, kOk}, true, {"ATI", "exit", "ATI", "AT%I2", "AT%M", "ATT1", ""}, 2},
        {"still at its prompt", {kPrompt, kPrompt}, false, {"ATI", "exit", "ATI"}, 2},
        {"silence is no command line", {{"", false}}, false, {"ATI"}, 1},
        {"an error line", {{"ATI\r\nERROR\r\n", false}}, false, {"ATI"}, 1},
        {"no version text", {kOk}, false, {"ATI", "AT%I2"}, 1, "\r\nFW 2.10a\r\nOK\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> sent;
        std::size_t atis = 0;
        int waits = 0;
        std::vector<std::string> log;
        ShellExchange exchange = [&](std::string_view command, int, int, std::string_view& reply) {
            const std::string line(command.substr(0, command.size() - 1));
            sent.push_back(line);
            if (line == "ATI") {
                const Ati& ati = row.replies.at(std::min(atis++, row.replies.size() - 1));
                reply = ati.reply;
                return ati.arrived;
            }
            reply = line == "AT%I2" ? std::string_view(row.version) : "\r\nOK\r\n# ";
            return true;
        };
        ProbeOutcome out = runProbe(
            exchange, [&](std::chrono::milliseconds) { ++waits; }, "KESTRELX", ShellTimings{},
            [&](const std::string& line) { log.push_back(line); });
        const bool ledOut = row.sent.size() > 1 && row.sent[1] == "exit";
        EXPECT_EQ(out.ok, row.ok) << out.message;
        EXPECT_EQ(sent, row.sent);
        EXPECT_EQ(waits, row.waits);
        EXPECT_EQ(log.size(), ledOut ? 1u : 0u);
        EXPECT_EQ(out.recovered, ledOut);
        EXPECT_EQ(out.firmwareVersionText, row.ok ? "Version 2.10a" : "");
    }
}

}  // namespace
}  // namespace kx
