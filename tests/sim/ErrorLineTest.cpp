// The emulator's error lines: one "% " form everywhere, and never a terminator the program
// waits for, whatever text goes into them.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "sim/AreaText.h"
#include "sim/Device.h"

namespace kx::sim {
namespace {

// What the program waits for, compared without regard to letter case.
bool holdsTerminator(std::string_view text) {
    constexpr std::string_view kTerminators[] = {"\r\nOK\r\n", " Write OK ", "READY:\r\n", "F-ROM>",
                                                 " Erase OK ", "\r\n# ",     "Write OK",   "F0>",
                                                 "Password:",  ">",          "#"};
    for (std::string_view terminator : kTerminators) {
        for (std::size_t at = 0; at + terminator.size() <= text.size(); ++at) {
            if (equalsNoCase(text.substr(at, terminator.size()), terminator))
                return true;
        }
    }
    return false;
}

TEST(ErrorLineTest, FreeTextCannotFormATerminator) {
    struct Row {
        std::string text;
        std::string line;
    };
    const Row rows[] = {
        {"disk full", "% disk full\r\n"},
        {"cannot write ok.state", "% cannot write o?.state\r\n"},
        {"/tmp/WRITE OK/#1>", "% /tmp/WRITE O?/?1?\r\n"},
        {"a\r\nOK\r\nb", "% a??OK??b\r\n"},
        {"Erase OK, Password: x", "% Erase O?, Password? x\r\n"},
        {std::string("nul\0\x7f", 5), "% nul??\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const std::string line = errorLine(row.text);
        EXPECT_EQ(line, row.line);
        EXPECT_FALSE(holdsTerminator(line));
    }
}

// A failed flash write is never reported as "Write OK", not even when the state file's name,
// which goes into the error line, reads like the adapter's success text.
TEST(ErrorLineTest, FailedFlashWriteNamingAnAwkwardFile) {
    char dir[] = "/tmp/kxsim-err-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string inner = std::string(dir) + "/write ok #>";
    ASSERT_EQ(::mkdir(inner.c_str(), 0700), 0);
    Device device;
    std::string error;
    ASSERT_TRUE(device.useStateFile(inner + "/state", error)) << error;
    ASSERT_EQ(::rmdir(inner.c_str()), 0);  // the folder is gone: the write must fail
    ::rmdir(dir);
    for (const char* command : {"fromwr 15", "restart"}) {
        SCOPED_TRACE(command);
        const std::string body = device.execute(command).body;
        EXPECT_EQ(body.rfind(command[0] == 'f' ? "% F-ROM Write ERROR: " : "% ", 0), 0u) << body;
        EXPECT_FALSE(holdsTerminator(body)) << body;
    }
}

}  // namespace
}  // namespace kx::sim
