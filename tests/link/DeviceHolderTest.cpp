// Who holds a serial device: another process that has it open and locked is named, as fuser
// names it, and opening the port then says so.
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "link/DeviceHolder.h"
#include "link/Exchange.h"
#include "link/SerialLink.h"

namespace kx {
namespace {

TEST(DeviceHolder, AnotherProgramThatHoldsThePortIsNamed) {
    int master = -1, slave = -1;
    char name[128] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    const std::string device = name;
    // this process has the device open too: it does not count as a holder
    EXPECT_FALSE(FindDeviceHolder(device));

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        // a program that opened the port and locked it, as one that talks to a modem does
        ::prctl(PR_SET_NAME, "ModemManager");
        const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY);
        if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0)
            ::_exit(1);
        (void)!::write(ready[1], "x", 1);
        ::pause();
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    const std::string held = "held by ModemManager (pid " + std::to_string(child) + ")";
    const std::optional<DeviceHolder> holder = FindDeviceHolder(device);
    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->pid, child);
    EXPECT_EQ(holder->name, "ModemManager");
    EXPECT_EQ(HeldByText(device), held);

    SerialLink link(ExchangePump(), [](std::string_view) {});
    const OpenResult opened = link.open(device);
    EXPECT_FALSE(opened.ok());
    EXPECT_EQ(opened.reason, held);

    ::kill(child, SIGTERM);
    ::waitpid(child, nullptr, 0);
    for (int fd : {master, slave, ready[0], ready[1]}) ::close(fd);
}

}  // namespace
}  // namespace kx
