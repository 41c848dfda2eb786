// The options of the kestrelx-sim program.

#include <gtest/gtest.h>

#include <vector>

#include "sim/ProgramOptions.h"

namespace kx::sim {
namespace {

bool parse(std::vector<const char*> args, ProgramOptions& options, std::string& error) {
    args.insert(args.begin(), "kestrelx-sim");
    return parseProgramOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(CommandLineTest, GoodOptions) {
    ProgramOptions o;
    std::string error;
    ASSERT_TRUE(
        parse({"--pty",      "/tmp/kx",      "--telnet", "2323",        "--name",  "KX2",
               "--version",  "3.00a",        "--login",  "lp",          "--admin", "ap",
               "--paced",    "--transcript", "/tmp/t",   "--state",     "/tmp/s",  "--fault",
               "silent:ATI", "--fault",      "cut=4:*",  "--listen-all"},
              o, error))
        << error;
    EXPECT_EQ(o.emulator.ptyLink, "/tmp/kx");
    EXPECT_EQ(o.emulator.telnetPort, 2323);
    EXPECT_EQ(o.emulator.adapter.version, "3.00a");
    ASSERT_EQ(o.emulator.faults.size(), 2u);
    EXPECT_EQ(o.emulator.faults[1].kind, FaultRule::Kind::Cut);

    ASSERT_TRUE(parse({}, o, error));
    EXPECT_TRUE(o.emulator.pty);
    EXPECT_EQ(o.emulator.telnetPort, -1);
    EXPECT_EQ(o.emulator.adapter.name, "KESTRELX");

    ASSERT_TRUE(parse({"--stdio", "--login", ""}, o, error)) << error;
    EXPECT_EQ(o.mode, ProgramOptions::Mode::Stdio);
    EXPECT_FALSE(o.emulator.pty);

    ASSERT_TRUE(parse({"--help"}, o, error));
    EXPECT_TRUE(o.help);
    EXPECT_NE(usageText().find("--fault SPEC"), std::string::npos);
}

TEST(CommandLineTest, BadOptionsNameTheProblem) {
    const std::vector<std::pair<std::vector<const char*>, const char*>> rows = {
        {{"--bogus"}, "unknown option --bogus"},
        {{"--telnet"}, "--telnet needs a value"},
        {{"--telnet", "70000"}, "TCP port"},
        {{"--telnet", "23x"}, "TCP port"},
        {{"--fault", "cut:*"}, "--fault cut:*: fault cut needs a value"},
        {{"--name", ""}, "--name takes a non-empty text"},
        {{"--login", "a\rb"}, "printable"},
        {{"--admin", "123456789012345678901234567890123456"}, "at most 34"},
        {{"--echo", "loud"}, "typed or line"},
        {{"--stdio", "--telnet", "23"}, "no --pty or --telnet"},
        {{"--no-pty"}, "nothing to serve"},
        {{"--no-pty", "--pty", "/tmp/x"}, "contradict"},
    };
    for (const auto& [args, message] : rows) {
        ProgramOptions o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error)) << args[0];
        EXPECT_NE(error.find(message), std::string::npos) << args[0] << ": " << error;
    }
}

}  // namespace
}  // namespace kx::sim
