// The serial side end to end: a real pty opened like the program opens its port.

#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <cstdlib>

#include "sim/Emulator.h"
#include "tests/sim/SimClients.h"

namespace kx::sim {
namespace {

using test::FdClient;

std::unique_ptr<Emulator> startPty(EmulatorOptions options = {}) {
    std::string error;
    auto emulator = Emulator::start(std::move(options), error);
    EXPECT_TRUE(emulator) << error;
    return emulator;
}

TEST(ProbeTest, AtProbeThenCommandLineAndExit) {
    auto emulator = startPty();
    ASSERT_TRUE(emulator);
    FdClient port(test::openSerial(emulator->ptyPath()));
    ASSERT_TRUE(port.ok());
    // the program raises DTR and RTS; a pty may refuse that, and the emulator must not care
    int bits = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(port.fd(), TIOCMBIS, &bits);

    struct Row {
        const char* command;
        const char* terminator;
        const char* mustContain;
    };
    const Row rows[] = {
        {"ATI\r", "\r\nOK\r\n", "KESTRELX"},
        {"AT%I2\r", "\r\nOK\r\n", "Version 2.10a"},
        {"AT%M\r", "\r\nOK\r\n", "KXTA-100 SN-00042"},
        {"ATT1\r", "\r\n# ", "ATT1"},
        {"\r", "\r\n# ", ""},
        {"exit\r", "\r\nOK\r\n", "exit"},
        {"ATI\r", "\r\nOK\r\n", "KESTRELX"},  // back at the AT stage
    };
    for (const Row& row : rows) {
        const std::string reply = port.exchange(row.command, row.terminator);
        EXPECT_NE(reply.find(row.terminator), std::string::npos) << row.command << " -> " << reply;
        EXPECT_NE(reply.find(row.mustContain), std::string::npos) << row.command << " -> " << reply;
    }
    ASSERT_TRUE(emulator->transcript().waitForCount(7, test::kGenerous));
    EXPECT_EQ(emulator->transcript().lines(),
              (std::vector<std::string>{"ATI", "AT%I2", "AT%M", "ATT1", "", "exit", "ATI"}));
}

TEST(ProbeTest, VersionTextAndNameAreConfigurable) {
    EmulatorOptions options;
    options.adapter.name = "KX-ROUTER";
    options.adapter.version = "3.01b";
    auto emulator = startPty(options);
    ASSERT_TRUE(emulator);
    FdClient port(test::openSerial(emulator->ptyPath()));
    EXPECT_NE(port.exchange("ATI\r", "\r\nOK\r\n").find("KX-ROUTER"), std::string::npos);
    const std::string version = port.exchange("AT%I2\r", "\r\nOK\r\n");
    const auto at = version.find("Version ");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(version.substr(at, 13), "Version 3.01b");
}

TEST(ProbeTest, PortCanBeClosedAndReopenedBetweenRuns) {
    auto emulator = startPty();
    ASSERT_TRUE(emulator);
    for (int run = 0; run < 3; ++run) {
        FdClient port(test::openSerial(emulator->ptyPath()));
        ASSERT_TRUE(port.ok());
        ASSERT_EQ(::ioctl(port.fd(), TIOCEXCL), 0);  // the program opens the port exclusively
        EXPECT_NE(port.exchange("ATI\r", "\r\nOK\r\n").find("\r\nOK\r\n"), std::string::npos);
        EXPECT_NE(port.exchange("ATT1\r", "\r\n# ").find("\r\n# "), std::string::npos);
        EXPECT_NE(port.exchange("exit\r", "\r\nOK\r\n").find("\r\nOK\r\n"), std::string::npos);
    }
    EXPECT_EQ(emulator->transcript().size(), 9u);

    // the exclusive mode ends with the program's close, as on a real port (where the last
    // close releases the tty); a process without CAP_SYS_ADMIN could not reopen it otherwise
    const auto deadline = std::chrono::steady_clock::now() + test::kGenerous;
    int exclusive = 1;
    while (exclusive != 0 && std::chrono::steady_clock::now() < deadline) {
        FdClient probe(::open(emulator->ptyPath().c_str(), O_RDWR | O_NOCTTY));
        ASSERT_EQ(::ioctl(probe.fd(), TIOCGEXCL, &exclusive), 0);
    }
    EXPECT_EQ(exclusive, 0);
}

TEST(ProbeTest, CommandLineReachesTheSettingsAreas) {
    auto emulator = startPty();
    ASSERT_TRUE(emulator);
    FdClient port(test::openSerial(emulator->ptyPath()));
    port.exchange("ATT1\r", "\r\n# ");
    const std::string reply = port.exchange("show analog tel1\r", "\r\n# ");
    EXPECT_EQ(reply.rfind("show analog tel1\r\n", 0), 0u) << reply;
    EXPECT_NE(reply.find("ring sound: "), std::string::npos) << reply;
    EXPECT_NE(port.exchange("fromwr 15\r", "\r\n# ").find("Write OK"), std::string::npos);
}

TEST(ProbeTest, PacedRepliesTakeAtLeastTheLineTime) {
    EmulatorOptions options;
    options.paced = true;
    options.faults.push_back({FaultRule::Kind::Long, 1200, "", "ATI", -1});
    auto emulator = startPty(options);
    ASSERT_TRUE(emulator);
    FdClient port(test::openSerial(emulator->ptyPath()));
    const auto start = std::chrono::steady_clock::now();
    const std::string reply = port.exchange("ATI\r", "\r\nOK\r\n");
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_GE(reply.size(), 1200u);
    EXPECT_EQ(reply.substr(reply.size() - 6), "\r\nOK\r\n");
    // a lower bound only: 10 bits a byte at 115200 bit/s can never be beaten
    EXPECT_GE(took, std::chrono::microseconds(86 * 1100));
}

TEST(ProbeTest, SymlinkPointsAtTheSlaveAndGoesAtStop) {
    char dir[] = "/tmp/kxsim-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string link = std::string(dir) + "/port";
    EmulatorOptions options;
    options.ptyLink = link;
    {
        auto emulator = startPty(options);
        ASSERT_TRUE(emulator);
        FdClient port(test::openSerial(link));
        ASSERT_TRUE(port.ok());
        EXPECT_NE(port.exchange("ATI\r", "\r\nOK\r\n").find("KESTRELX"), std::string::npos);
    }
    struct stat info {};
    EXPECT_NE(::lstat(link.c_str(), &info), 0);
    ::rmdir(dir);
}

TEST(ProbeTest, LinkOverARegularFileIsRefused) {
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
}

}  // namespace
}  // namespace kx::sim
