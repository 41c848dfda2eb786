// The shell's pure pieces: command line, firmware version number, COM mapping, the shipped
// waits.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "app/DeviceMap.h"
#include "app/FirmwareVersion.h"
#include "app/Options.h"
#include "app/Profile.h"
#include "app/ShellTimings.h"
#include "tests/support/SessionSupport.h"

namespace kx {
namespace {

TEST(Options, AcceptsEveryOption) {
    // --port, --headless and --script are the ones every replay runs the program with
    auto r = parseOptions({"--port", "/dev/ttyUSB0", "--router"});
    ASSERT_TRUE(r.options);
    EXPECT_EQ(r.options->portDevice, "/dev/ttyUSB0");
    EXPECT_TRUE(r.options->router);
    EXPECT_TRUE(parseOptions({"--demo"}).options->demo);
    EXPECT_TRUE(parseOptions({"--help"}).options->help);
    EXPECT_TRUE(parseOptions({"--version"}).options->version);
}

TEST(Options, ParsedAsKxctlParsesItsOwn) {
    // --option=value as well as --option value; the last of a repeated option counts
    auto r = parseOptions({"--port=/dev/ttyUSB1", "--net-port", "23", "--net-port=2323"});
    ASSERT_TRUE(r.options) << r.error;
    EXPECT_EQ(r.options->portDevice, "/dev/ttyUSB1");
    EXPECT_EQ(r.options->netPort, 2323);
    EXPECT_TRUE(parseOptions({"-h"}).options->help);

    // the messages name what is missing or wrong
    EXPECT_EQ(parseOptions({"--router", "--port"}).error,
              "--port needs a device, e.g. --port /dev/ttyUSB0");
    EXPECT_EQ(parseOptions({"--port", ""}).error,
              "--port needs a device, e.g. --port /dev/ttyUSB0");
    EXPECT_EQ(parseOptions({"--headless", "--script"}).error, "--script needs a file");
    EXPECT_EQ(parseOptions({"--net-port"}).error,
              "--net-port needs a TCP port, e.g. --net-port 2323");
    EXPECT_EQ(parseOptions({"COM1"}).error, "unknown argument: COM1");
    EXPECT_EQ(parseOptions({"--router", "--bogus", "x"}).error, "unknown argument: --bogus");
    EXPECT_EQ(parseOptions({"--headless"}).error, "--headless needs --script FILE");
    EXPECT_EQ(parseOptions({"--script", "x"}).error, "--script is only used with --headless");
    EXPECT_EQ(parseOptions({"--demo", "--port", "/dev/x"}).error,
              "--demo and --port cannot be combined");
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

TEST(DeviceMap, RunDeviceTakesThePlaceOfTheChosenPort) {
    std::string path = test::startupFolder() + "/devices.ini";
    std::ofstream(path) << "[DEVICES]\nCOM2=/dev/ttyUSB0\n";
    Profile settings(path);

    // the defaults and the file's devices show in the port dialog's list (PortSelectDlgTest)
    DeviceMap forRun(settings, "/dev/pts/7");
    EXPECT_EQ(forRun.device(2), "/dev/pts/7");
    EXPECT_EQ(forRun.device(0), "");  // COM0 stays a port that cannot be opened
    DeviceMap demo(settings, "/dev/pts/7", 1);
    EXPECT_EQ(demo.device(1), "/dev/pts/7");
    EXPECT_EQ(demo.device(2), "/dev/ttyUSB0");
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace kx
