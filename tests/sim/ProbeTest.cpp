// The serial side: the emulator never serves its pty over a file that is not its own link.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "sim/Emulator.h"

namespace kx::sim {
namespace {

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
