// The shell's pure pieces: command line, firmware version number, the shipped waits.
#include <gtest/gtest.h>

#include <cmath>

#include "app/FirmwareVersion.h"
#include "app/Options.h"
#include "app/ShellTimings.h"

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

}  // namespace
}  // namespace kx
