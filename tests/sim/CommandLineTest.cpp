// The options of the kestrelx-sim program and the files they name. --stdio, --login and --admin,
// --pty, --transcript and a refused --fault are ProgramTest's, which starts the program with them.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "sim/Emulator.h"
#include "sim/ProgramOptions.h"

namespace kx::sim {
namespace {

bool parse(std::vector<const char*> args, ProgramOptions& options, std::string& error) {
    args.insert(args.begin(), "kestrelx-sim");
    return parseProgramOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(CommandLineTest, BadOptionsNameTheProblem) {
    const std::vector<std::pair<std::vector<const char*>, const char*>> rows = {
        {{"--bogus"}, "unknown option --bogus"},
        {{"--telnet"}, "--telnet needs a value"},
        {{"--telnet", "70000"}, "TCP port"},
        {{"--telnet", "23x"}, "--telnet takes a TCP port 0..65535, not \"23x\""},
        {{"--fault", "cut:*"}, "--fault cut:*: fault cut needs a value"},
        {{"--name", ""}, "--name takes a non-empty text"},
        {{"--login", "a\rb"}, "printable"},
        {{"--admin", "123456789012345678901234567890123456"}, "at most 34"},
        {{"--echo", "loud"}, "typed or line"},
        {{"--stdio", "--telnet", "23"}, "no --pty or --telnet"},
        {{"--no-pty"}, "nothing to serve"},
        {{"--no-pty", "--pty", "/tmp/x"}, "contradict"},
        // --fault takes one SPEC each time; a second word is not one of its values
        {{"--fault", "silent:ATI", "cut=4:*"}, "unknown option cut=4:* (see --help)"},
        {{"--name", "KX3", "--state"}, "--state needs a value"},
    };
    for (const auto& [args, message] : rows) {
        ProgramOptions o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error)) << args[0];
        EXPECT_NE(error.find(message), std::string::npos) << args[0] << ": " << error;
    }
}

TEST(CommandLineTest, GoodOptionsParsedAsKxctlParsesItsOwn) {
    ProgramOptions o;
    std::string error;
    ASSERT_TRUE(
        parse({"--pty",      "/tmp/kx",      "--telnet", "2323",        "--name",  "KX2",
               "--version",  "3.00a",        "--login",  "lp",          "--admin", "ap",
               "--paced",    "--transcript", "/tmp/t",   "--state",     "/tmp/s",  "--fault",
               "silent:ATI", "--fault",      "cut=4:*",  "--listen-all"},
              o, error))
        << error;
    EXPECT_EQ(o.emulator.adapter.version, "3.00a");
    ASSERT_EQ(o.emulator.faults.size(), 2u);
    EXPECT_EQ(o.emulator.faults[1].kind, FaultRule::Kind::Cut);

    // --option=value as well as --option value; a value may begin with a dash
    ASSERT_TRUE(parse({"--name=KX3", "--login", "-lp", "--telnet=2323", "--no-pty"}, o, error))
        << error;
    EXPECT_EQ(o.emulator.adapter.name, "KX3");
    EXPECT_EQ(o.emulator.adapter.loginPassword, "-lp");
    EXPECT_EQ(o.emulator.telnetPort, 2323);
    EXPECT_FALSE(o.emulator.pty);

    // the last of --stdio and --stdio-serial, and of a repeated value, counts
    ASSERT_TRUE(parse({"--stdio", "--stdio-serial", "--echo", "typed", "--echo", "line"}, o, error))
        << error;
    EXPECT_EQ(o.mode, ProgramOptions::Mode::StdioSerial);
    EXPECT_TRUE(o.echoGiven);
    EXPECT_FALSE(o.emulator.adapter.typedEcho);
    ASSERT_TRUE(parse({"--stdio-serial", "--stdio"}, o, error)) << error;
    EXPECT_EQ(o.mode, ProgramOptions::Mode::Stdio);
}

// The emulator never serves its pty over a file that is not its own link.
TEST(CommandLineTest, LinkOverARegularFileOrAnUnwritableTranscriptIsRefused) {
    char path[] = "/tmp/kxsim-file-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    EmulatorOptions options;
    options.ptyLink = path;
    options.telnetPort = 0;  // already listening when the pty fails: must not hang
    std::string error;
    EXPECT_FALSE(Emulator::start(options, error));
    EXPECT_NE(error.find("not a symlink"), std::string::npos) << error;
    struct stat info {};
    EXPECT_EQ(::lstat(path, &info), 0);  // left alone
    ::unlink(path);

    EmulatorOptions unwritable;
    unwritable.transcriptFile = "/nonexistent-dir/transcript";
    EXPECT_FALSE(Emulator::start(unwritable, error));
    EXPECT_NE(error.find("/nonexistent-dir/transcript"), std::string::npos) << error;
}

}  // namespace
}  // namespace kx::sim
