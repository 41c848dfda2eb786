// The serial side end to end: a real pty opened like the program opens its port.

#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The program opens its port exclusively, closes it and opens it again for the next run.
TEST(ProbeTest, PortCanBeClosedAndReopenedBetweenRuns) {
    auto emulator = startPty();
    ASSERT_TRUE(emulator);
    for (int run = 0; run < 2; ++run) {
        FdClient port(test::openSerial(emulator->ptyPath()));
        ASSERT_TRUE(port.ok());
        ASSERT_EQ(::ioctl(port.fd(), TIOCEXCL), 0);
        EXPECT_NE(port.exchange("ATI\r", "\r\nOK\r\n").find("\r\nOK\r\n"), std::string::npos);
    }
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

TEST(ProbeTest, LinkOverARegularFileOrAnUnwritableTranscriptIsRefused) {
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
