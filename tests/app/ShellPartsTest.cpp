// The shell's pure pieces: command line, firmware version number, the shipped waits, the
// device probe's exchanges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/FirmwareVersion.h"
#include "app/Options.h"
#include "app/Probe.h"
#include "app/ShellTimings.h"
#include "link/TerminatorSearch.h"

namespace kx {
namespace {

TEST(Options, AcceptsEveryOption) {
    // --port, --headless and --script are the ones every replay runs the program with;
    // --option=value as well as --option value, and the last of a repeated option counts
    auto r =
        parseOptions({"--port=/dev/ttyUSB1", "--router", "--net-port", "23", "--net-port=2323"});
    ASSERT_TRUE(r.options) << r.error;
    EXPECT_EQ(r.options->portDevice, "/dev/ttyUSB1");
    EXPECT_TRUE(r.options->router);
    EXPECT_EQ(r.options->netPort, 2323);
    EXPECT_EQ(parseOptions({"--port", "/dev/ttyUSB0"}).options->portDevice, "/dev/ttyUSB0");
    EXPECT_TRUE(parseOptions({"--demo"}).options->demo);
    EXPECT_TRUE(parseOptions({"-h"}).options->help);
    EXPECT_TRUE(parseOptions({"--help"}).options->help);
    EXPECT_TRUE(parseOptions({"--version"}).options->version);
}

// The messages name what is missing or wrong.
TEST(Options, RefusesWithWhatIsWrong) {
    const struct {
        std::vector<std::string> args;
        const char* error;
    } rows[] = {
        {{"--router", "--port"}, "--port needs a device, e.g. --port /dev/ttyUSB0"},
        {{"--port", ""}, "--port needs a device, e.g. --port /dev/ttyUSB0"},
        {{"--headless", "--script"}, "--script needs a file"},
        {{"--net-port"}, "--net-port needs a TCP port, e.g. --net-port 2323"},
        {{"--net-port", "0"}, "--net-port needs a TCP port 1..65535, not '0'"},
        {{"--net-port", "65536"}, "--net-port needs a TCP port 1..65535, not '65536'"},
        {{"--net-port", "23x"}, "--net-port needs a TCP port 1..65535, not '23x'"},
        {{"COM1"}, "unknown argument: COM1"},
        {{"--router", "--bogus", "x"}, "unknown argument: --bogus"},
        {{"--headless"}, "--headless needs --script FILE"},
        {{"--script", "x"}, "--script is only used with --headless"},
        {{"--demo", "--port", "/dev/x"}, "--demo and --port cannot be combined"},
        {{"--demo", "--net-port", "2323"}, "--demo and --net-port cannot be combined"},
    };
    for (const auto& row : rows) {
        const auto r = parseOptions(row.args);
        EXPECT_FALSE(r.options) << row.error;
        EXPECT_EQ(r.error, row.error);
    }
}

// Every session test runs on shortened waits, so only this one notices a changed time-out.
TEST(ShellTimings, TheProgramShipsWithTheAdaptersWaits) {
    const ShellTimings shipped;
    EXPECT_EQ(shipped.commandTimeoutMs, 10000);   // every settings exchange, "restart", the clock
    EXPECT_EQ(shipped.atTimeoutMs, 3000);         // the probe's AT commands
    EXPECT_EQ(shipped.probeFinalTimeoutMs, 500);  // the bare "\r"
    EXPECT_EQ(shipped.probeSettle, std::chrono::milliseconds(1000));
    EXPECT_EQ(shipped.fromwrTimeoutMs, 10000);
    EXPECT_EQ(shipped.exitTimeoutMs, 3000);
}

TEST(FirmwareVersion, ReadsTheLeadingDecimal) {
    struct Row {
        const char* text;
        double value;
    } rows[] = {
        {"2.10a", 2.10}, {"2.11", 2.11},   {"  3", 3.0},        {"+1.5x", 1.5},
        {"-2", -2.0},    {"abcde", 0.0},   {"", 0.0},           {".5", 0.5},
        {"1e1", 10.0},   {"0x1A", 0.0},    {"inf", 0.0},        {"nan", 0.0},
        {"1e-999", 0.0}, {"-1e-999", 0.0}, {"1e999", HUGE_VAL}, {"-1e999", -HUGE_VAL},
    };
    for (const Row& r : rows) EXPECT_DOUBLE_EQ(leadingDecimal(r.text), r.value) << r.text;
    EXPECT_TRUE(firmwareAccepted("", 9.0));  // network link: nothing to test
}

// The device probe's exchanges: the exact commands, time-outs and terminator kinds, and the
// bare "\r" at its end, which ends at the adapter's prompt (or an OK line) and whose result is
// ignored whatever the adapter does with it; the adapter left at its command line.
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

// An adapter left at its command line answers "ATI" with its prompt and no OK line: it is led
// out with "exit" and probed again once, from the settling wait; a second such answer fails.
// An "AT%I2" reply without "Version " is not the adapter's either (the emulator always sends
// one).
TEST(Probe, EachReplyOfTheAdapter) {
    struct Reply {
        std::string text;
        bool arrived;  // whether its terminator came in time
    };
    const Reply kPrompt{"ATI\r\n% Unknown command\r\n# ", false};
    const Reply kOk{"ATI\r\nKESTRELX\r\nOK\r\n", true};
    const Reply kGarbage{std::string("\0\xFF", 2) + "\r\nERROR\r\n", false};
    const std::vector<std::string> kProbed{"ATI", "AT%I2", "AT%M", "ATT1", ""};
    const struct Row {
        const char* name;
        std::vector<Reply> atis;  // the replies to the "ATI"s in turn
        bool ok;
        std::vector<std::string> sent;
        int waits;
        Reply last = {"\r\n\r\n# ", true};                    // to the bare "\r"
        std::string version = "\r\nVersion 2.10a\r\nOK\r\n";  // the "AT%I2" reply
    } rows[] = {
        {"bare line end ends at the prompt", {kOk}, true, kProbed, 1},
        {"bare line end ends at an OK line", {kOk}, true, kProbed, 1, {"\r\nOK\r\n", true}},
        {"bare line end unanswered", {kOk}, true, kProbed, 1, {"", false}},
        {"bare line end answered with garbage", {kOk}, true, kProbed, 1, kGarbage},
        {"led out", {kPrompt, kOk}, true, {"ATI", "exit", "ATI", "AT%I2", "AT%M", "ATT1", ""}, 2},
        {"still at its prompt", {kPrompt, kPrompt}, false, {"ATI", "exit", "ATI"}, 2},
        {"silence is no command line", {{"", false}}, false, {"ATI"}, 1},
        {"an error line", {{"ATI\r\nERROR\r\n", false}}, false, {"ATI"}, 1},
        {"no version text", {kOk}, false, {"ATI", "AT%I2"}, 1, {}, "\r\nFW 2.10a\r\nOK\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<Sent> exchanges;
        std::vector<std::string> sent;
        std::size_t atis = 0;
        int waits = 0;
        std::vector<std::string> log;
        ShellExchange exchange = [&](std::string_view command, int timeoutMs, int kind,
                                     std::string_view& reply) {
            exchanges.push_back({std::string(command), timeoutMs, kind});
            const std::string line(command.substr(0, command.size() - 1));
            sent.push_back(line);
            if (line == "ATI") {
                const Reply& ati = row.atis.at(std::min(atis++, row.atis.size() - 1));
                reply = ati.text;
                return ati.arrived;
            }
            if (line.empty()) {
                reply = row.last.text;
                return row.last.arrived;
            }
            reply = line == "AT%I2" ? std::string_view(row.version) : "\r\nOK\r\n# ";
            return true;
        };
        ProbeOutcome out = runProbe(
            exchange, [&](std::chrono::milliseconds) { ++waits; }, "KESTRELX", ShellTimings{},
            [&](const std::string& line) { log.push_back(line); });
        const bool ledOut = row.sent.size() > 1 && row.sent[1] == "exit";
        EXPECT_EQ(out.ok, row.ok) << out.message;
        EXPECT_EQ(out.message.empty(), row.ok) << out.message;
        EXPECT_EQ(sent, row.sent);
        if (row.sent == kProbed) {
            EXPECT_EQ(exchanges, kProbeExchanges);
        }
        EXPECT_EQ(waits, row.waits);
        EXPECT_EQ(log.size(), ledOut ? 1u : 0u);
        EXPECT_EQ(out.recovered, ledOut);
        EXPECT_EQ(out.firmwareVersionText, row.ok ? "Version 2.10a" : "");
    }
}

}  // namespace
}  // namespace kx
