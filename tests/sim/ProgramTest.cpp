// The kestrelx-sim program as a user starts it: options, the printed pty path, the stdio
// session, a clean stop on SIGTERM.

#include <gtest/gtest.h>

#ifdef KX_SIM_PROGRAM

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <vector>

#include "tests/sim/SimClients.h"
#include "tests/support/Files.h"

extern char** environ;

namespace kx::sim {
namespace {

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

}  // namespace
}  // namespace kx::sim

#endif  // KX_SIM_PROGRAM
