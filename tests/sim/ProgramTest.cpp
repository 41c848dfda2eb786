// The kestrelx-sim program as a user starts it: its options and the files they name, the
// printed pty path, the stdio session, a clean stop on SIGTERM. --stdio, --login and --admin,
// --pty, --transcript and a refused --fault are checked by starting the program with them.
// Fault injection: the text form of --fault, the pattern rule, and the new pty after a dropped
// line. What each fault does to the program is the fault matrix's.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <tuple>
#include <vector>

#include "sim/Emulator.h"
#include "sim/Faults.h"
#include "sim/ProgramOptions.h"
#include "tests/sim/SimClients.h"
#include "tests/support/Files.h"

extern char** environ;

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

#ifdef KX_SIM_PROGRAM

struct Child {
    pid_t pid = -1;
    test::FdClient in, out, err;  // our ends of its standard streams

    explicit Child(std::vector<std::string> args) {
        int pin[2], pout[2], perr[2];
        if (::pipe2(pin, O_CLOEXEC) || ::pipe2(pout, O_CLOEXEC) || ::pipe2(perr, O_CLOEXEC))
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pin[0], 0);
        posix_spawn_file_actions_adddup2(&actions, pout[1], 1);
        posix_spawn_file_actions_adddup2(&actions, perr[1], 2);
        args.insert(args.begin(), KX_SIM_PROGRAM);
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid, KX_SIM_PROGRAM, &actions, nullptr, argv.data(), environ) != 0)
            pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(pin[0]);
        ::close(pout[1]);
        ::close(perr[1]);
        in.reset(pin[1]);
        out.reset(pout[0]);
        err.reset(perr[0]);
    }
    ~Child() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    int wait() {
        int status = 0;
        ::waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
};

std::string tempPath(const char* name) {
    return "/tmp/kxsim-prog-" + std::to_string(::getpid()) + "-" + name;
}

TEST(ProgramTest, ServesThePtyAndStopsCleanlyOnSigterm) {
    const std::string link = tempPath("port");
    const std::string transcript = tempPath("transcript");
    Child child({"--pty", link, "--transcript", transcript});
    ASSERT_GT(child.pid, 0);
    const std::string printed = child.out.readUntil("link: " + link + "\n");
    ASSERT_NE(printed.find("pty: /dev/pts/"), std::string::npos) << printed;
    {
        test::FdClient port(test::openSerial(link));
        ASSERT_TRUE(port.ok());
        EXPECT_NE(port.exchange("ATI\r", "\r\nOK\r\n").find("KESTRELX"), std::string::npos);
        EXPECT_NE(port.exchange("ATT1\r", "\r\n# ").find("\r\n# "), std::string::npos);
        EXPECT_NE(port.exchange("exit\r", "\r\nOK\r\n").find("OK"), std::string::npos);
    }
    ::kill(child.pid, SIGTERM);
    EXPECT_EQ(child.wait(), 0);
    struct stat info {};
    EXPECT_NE(::lstat(link.c_str(), &info), 0);  // the symlink is gone
    EXPECT_EQ(kx::test::readFile(transcript), "ATI\nATT1\nexit\n");
    ::unlink(transcript.c_str());
}

TEST(ProgramTest, StdioServesOneLoginSession) {
    Child child({"--stdio", "--login", "lp", "--admin", "ap"});
    ASSERT_GT(child.pid, 0);
    child.in.send("lp\r\nadministrator\r\nap\r\nyoubi 9\r\nexit\r\nexit\r\n");
    const std::string out = child.out.readUntil("Bye\r\n");
    EXPECT_NE(out.find("Password: "), std::string::npos) << out;
    EXPECT_NE(out.find("KESTRELX> "), std::string::npos) << out;
    EXPECT_NE(out.find("youbi 9\r\n% Invalid day of the week"), std::string::npos) << out;
    EXPECT_NE(out.find("Bye\r\n"), std::string::npos) << out;
    child.in.close();
    EXPECT_EQ(child.wait(), 0);
}

TEST(ProgramTest, BadOptionFailsWithAMessage) {
    Child child({"--fault", "cut=abc:*"});
    ASSERT_GT(child.pid, 0);
    const std::string err = child.err.readUntil("\n");
    EXPECT_NE(err.find("kestrelx-sim: --fault cut=abc:*: fault cut needs a number"),
              std::string::npos)
        << err;
    EXPECT_EQ(child.wait(), 2);
}

#endif  // KX_SIM_PROGRAM

using Kind = FaultRule::Kind;

// Each fault text and its canonical form, which names every field the text set or defaulted.
// The forms the fault matrix and the session tests use ("cut=10/1:show analog tel1", "lower",
// "silent:date") are parsed there, each with the effect it must have.
TEST(FaultTest, SpecSyntax) {
    const std::pair<const char*, const char*> rows[] = {
        {"delay=500:*", "delay=500:*"},
        {"drip=5", "drip=5:*"},
        {"long", "long=2600:*"},
        {"long=5000:show*", "long=5000:show*"},
        {"nolabel=ring sound::*", "nolabel=ring sound::*"},
        {"nolabel=a:/2:time 09:04:07", "nolabel=a:/2:time 09:04:07"},
        {"drop/1:fromwr 15", "drop=0/1:fromwr 15"},
        {"refuse-login", "refuse-login"},
    };
    FaultRule rule;
    std::string error;
    for (const auto& [spec, canonical] : rows) {
        rule = {};
        ASSERT_TRUE(parseFault(spec, rule, error)) << spec << ": " << error;
        EXPECT_EQ(describeFault(rule), canonical);
    }
    const std::pair<const char*, const char*> bad[] = {
        {"quiet:*", "unknown fault"},          {"cut:*", "needs a value"},
        {"cut=x:*", "needs a number"},         {"delay=-5", "needs a number"},
        {"silent=3", "takes no value"},        {"nolabel=abc", "label ending in its colon"},
        {"refuse-login:*", "no pattern"},      {"silent/0:ATI", "count after /"},
        {"cut=99999999999", "needs a number"},
    };
    for (const auto& [spec, message] : bad) {
        error.clear();
        EXPECT_FALSE(parseFault(spec, rule, error)) << spec;
        EXPECT_NE(error.find(message), std::string::npos) << spec << ": " << error;
    }
}

TEST(FaultTest, PatternRule) {
    const std::tuple<const char*, const char*, bool> rows[] = {
        {"*", "anything at all", true},
        {"show analog", "show analog tel1", true},
        {"show analog", "show analogue", false},
        {"ATI", "ati", true},
        {"ATI", "ATI3", false},
        {"show * tel?", "show analog tel2", true},
        {"show * tel?", "show analog tel22", false},
        {"*tel1", "show analog tel1", true},
        {"fromwr 15", "fromwr 1", false},
    };
    for (const auto& [pattern, line, matches] : rows)
        EXPECT_EQ(patternMatches(pattern, line), matches) << pattern << " / " << line;
}

// A dropped line closes the pty and a new one serves (the counted drop has run out). What the
// drop does to the program, over the pty and over TCP, is the fault matrix's and
// DeviceVanishTest's.
TEST(FaultTest, ADroppedPtyIsFollowedByANewOne) {
    std::string error;
    auto emulator = Emulator::start({}, error);
    ASSERT_TRUE(emulator) << error;
    const std::string first = emulator->ptyPath();
    test::FdClient port(test::openSerial(first));
    ASSERT_TRUE(port.ok());
    emulator->faults().add({Kind::Drop, 5, "", "ATI", 1});
    EXPECT_EQ(port.exchange("ATI\r", "no such text"), "ATI\r\n");
    EXPECT_TRUE(port.sawEnd());  // the line hung up
    const std::string second = emulator->waitForNewPty(first, test::kGenerous);
    ASSERT_FALSE(second.empty());
    test::FdClient again(test::openSerial(second));
    EXPECT_NE(again.exchange("ATI\r", "\r\nOK\r\n").find("KESTRELX"), std::string::npos);
}

}  // namespace
}  // namespace kx::sim
