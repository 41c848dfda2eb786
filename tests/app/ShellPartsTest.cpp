// The shell's pure pieces: command line, date and time commands, firmware gate, COM mapping.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/DateTimeCommands.h"
#include "app/DeviceMap.h"
#include "app/FirmwareVersion.h"
#include "app/Options.h"
#include "app/Profile.h"

namespace kx {
namespace {

TEST(Options, AcceptsEveryOption) {
    auto r = parseOptions({"--port", "/dev/ttyUSB0", "--router"});
    ASSERT_TRUE(r.options);
    EXPECT_EQ(r.options->portDevice, "/dev/ttyUSB0");
    EXPECT_TRUE(r.options->router);
    r = parseOptions({"--headless", "--script", "a.script"});
    ASSERT_TRUE(r.options);
    EXPECT_TRUE(r.options->headless);
    EXPECT_EQ(r.options->scriptPath, "a.script");
    EXPECT_TRUE(parseOptions({"--demo"}).options->demo);
    EXPECT_TRUE(parseOptions({"--help"}).options->help);
    EXPECT_TRUE(parseOptions({"--version"}).options->version);
}

TEST(Options, RefusesWhatItCannotDo) {
    const std::vector<std::vector<std::string>> wrong = {
        {"--port"},
        {"--port", ""},
        {"--headless"},
        {"--script", "x"},
        {"--demo", "--port", "/dev/x"},
        {"--bogus"},
        {"COM1"},
    };
    for (const auto& args : wrong) {
        auto r = parseOptions(args);
        EXPECT_FALSE(r.options) << args[0];
        EXPECT_FALSE(r.error.empty());
    }
}

TEST(DateTimeCommands, FormatsTwoDigitFields) {
    struct Row {
        LocalTime t;
        const char* date;
        const char* time;
        const char* youbi;
    } rows[] = {
        {{2008, 3, 5, 9, 4, 7, 3}, "date 2008/03/05\r", "time 09:04:07\r", "youbi 3\r"},
        {{2026, 12, 31, 23, 59, 59, 4}, "date 2026/12/31\r", "time 23:59:59\r", "youbi 4\r"},
        {{2000, 1, 1, 0, 0, 0, 6}, "date 2000/01/01\r", "time 00:00:00\r", "youbi 6\r"},
    };
    for (const Row& r : rows) {
        auto c = dateTimeCommands(r.t);
        EXPECT_EQ(c[0], r.date);
        EXPECT_EQ(c[1], r.time);
        EXPECT_EQ(c[2], r.youbi);
    }
}

TEST(FirmwareVersion, ReadsTheLeadingDecimal) {
    struct Row {
        const char* text;
        double value;
    } rows[] = {
        {"2.10a", 2.10}, {"2.11", 2.11}, {"  3", 3.0}, {"+1.5x", 1.5},
        {"-2", -2.0},    {"abcde", 0.0}, {"", 0.0},    {".5", 0.5},
        {"1e1", 10.0},   {"0x1A", 0.0},  {"inf", 0.0}, {"nan", 0.0},
        {"1e-999", 0.0}, {"-1e-999", 0.0}, {"1e999", HUGE_VAL}, {"-1e999", -HUGE_VAL},
    };
    for (const Row& r : rows) EXPECT_DOUBLE_EQ(leadingDecimal(r.text), r.value) << r.text;
}

TEST(FirmwareVersion, GatesOnTheMinimum) {
    EXPECT_TRUE(firmwareAccepted("Version 2.10a", 2.1));
    EXPECT_FALSE(firmwareAccepted("Version 2.10a", 2.11));
    EXPECT_TRUE(firmwareAccepted("Version 2.10a", 0.0));
    EXPECT_FALSE(firmwareAccepted("Version x.yzw", 0.5));
    EXPECT_TRUE(firmwareAccepted("", 9.0));  // network link: nothing to test
}

TEST(DeviceMap, DefaultsSettingsFileAndRunDevice) {
    auto dir = std::filesystem::temp_directory_path() / ("kx-devmap-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string path = (dir / "setutily.ini").string();
    std::ofstream(path) << "[DEVICES]\nCOM2=/dev/ttyUSB0\n";
    Profile settings(path);

    DeviceMap map(settings, "");
    EXPECT_EQ(map.device(1), "/dev/ttyS0");
    EXPECT_EQ(map.device(2), "/dev/ttyUSB0");
    EXPECT_EQ(map.device(9), "/dev/ttyS8");
    EXPECT_EQ(map.device(0), "");
    EXPECT_EQ(map.device(10), "");

    DeviceMap forRun(settings, "/dev/pts/7");
    EXPECT_EQ(forRun.device(2), "/dev/pts/7");
    EXPECT_EQ(forRun.device(0), "");  // COM0 stays a port that cannot be opened
    DeviceMap demo(settings, "/dev/pts/7", 1);
    EXPECT_EQ(demo.device(1), "/dev/pts/7");
    EXPECT_EQ(demo.device(2), "/dev/ttyUSB0");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kx
