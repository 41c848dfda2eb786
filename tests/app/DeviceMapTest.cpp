// Which device each COM port stands for, over a fake device tree (the test hook
// KX_DEVICE_ROOT): the order of the devices present, the overrides, absent and unreadable
// devices.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/DeviceMap.h"
#include "app/Profile.h"
#include "tests/support/FakeDevices.h"
#include "tests/support/Files.h"
#include "tests/support/SessionSupport.h"

namespace kx::test {
namespace {

std::string settingsFile(const std::string& text) {
    const std::string path = startupFolder() + "/devices.ini";
    writeFile(path, text);
    return path;
}

// by-id entries (sorted), then USB and ACM devices no entry points to, then the UARTs that
// report hardware; one device never stands for two entries; the rest keep /dev/ttyS<n-1>
TEST(DeviceMapTest, DevicesPresentInOrderWithTheOverrides) {
    FakeDevices fake(startupFolder() + "/fake-order");
    fake.addNode("ttyUSB0");
    fake.addNode("ttyUSB1");
    fake.addNode("ttyUSB10");
    fake.addNode("ttyUSB2");
    fake.addNode("ttyACM0");
    fake.addNode("ttyS1x");  // not a UART name
    fake.addUart("ttyS0", 4);
    fake.addUart("ttyS1", 0);  // a placeholder without hardware
    fake.addUart("ttyS2", 4);
    fake.addById("usb-Zeta_cable-if00-port0", "../../ttyUSB1");
    fake.addById("usb-Alpha_cable-if00-port0", "../../ttyUSB2");
    fake.addById("usb-Gone-if00-port0", "../../ttyUSB7");  // a link left behind
    const std::string& r = fake.root();

    const struct {
        const char* name;
        std::string settings;
        std::string runDevice;
        int runPort;
        std::vector<std::string> expected;
    } rows[] = {
        {"defaults",
         "",
         "",
         0,
         {fake.byId("usb-Alpha_cable-if00-port0"), fake.byId("usb-Zeta_cable-if00-port0"),
          r + "/dev/ttyUSB0", r + "/dev/ttyUSB10", r + "/dev/ttyACM0", r + "/dev/ttyS0",
          r + "/dev/ttyS2", r + "/dev/ttyS7", r + "/dev/ttyS8"}},
        // [DEVICES] names COM2 and COM9; a device it names is not given to another entry,
        // also when named by its other path
        {"settings file",
         "[DEVICES]\nCOM2=" + r + "/dev/ttyACM0\nCOM9=" + r + "/dev/ttyUSB2\n",
         "",
         0,
         {fake.byId("usb-Zeta_cable-if00-port0"), r + "/dev/ttyACM0", r + "/dev/ttyUSB0",
          r + "/dev/ttyUSB10", r + "/dev/ttyS0", r + "/dev/ttyS2", r + "/dev/ttyS6",
          r + "/dev/ttyS7", r + "/dev/ttyUSB2"}},
        {"run device for COM1 beats the file",
         "[DEVICES]\nCOM1=/dev/ttyX\n",
         "/dev/pts/77",
         1,
         {"/dev/pts/77", fake.byId("usb-Alpha_cable-if00-port0"),
          fake.byId("usb-Zeta_cable-if00-port0"), r + "/dev/ttyUSB0", r + "/dev/ttyUSB10",
          r + "/dev/ttyACM0", r + "/dev/ttyS0", r + "/dev/ttyS2", r + "/dev/ttyS8"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Profile settings(settingsFile(row.settings));
        DeviceMap map(settings, row.runDevice, row.runPort);
        EXPECT_EQ(map.devices(), row.expected);
        EXPECT_EQ(map.device(0), "");
        EXPECT_EQ(map.device(10), "");
    }
    // ByIdName, of a device and of a by-id entry: PortsTest's BY-ID column
}

// What this user may do with a device, as `uid` (0: as the test runs).
DeviceState stateAs(const std::string& device, uid_t uid) {
    if (uid == 0)
        return SerialDeviceState(device);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setresgid(uid, uid, uid) != 0 || ::setresuid(uid, uid, uid) != 0)
            ::_exit(99);
        ::_exit(static_cast<int>(SerialDeviceState(device)));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return static_cast<DeviceState>(WEXITSTATUS(status));
}

TEST(DeviceMapTest, AbsentAndUnreadableDevices) {
    FakeDevices fake(startupFolder() + "/fake-state");
    // root may open anything: the device nobody may use is looked at as an ordinary user
    const uid_t user = ::geteuid() == 0 ? 65534 : 0;
    ::chmod(fake.root().c_str(), 0755);
    const struct {
        const char* name;
        std::string device;
        DeviceState expected;
    } rows[] = {
        // present nodes and UARTs, missing nodes and links left behind: kxctl's PortsTest
        {"UART without hardware", fake.addUart("ttyS3", 0), DeviceState::Absent},
        {"user not in its group", fake.addNode("ttyACM0", ::geteuid() == 0 ? 0600 : 0),
         DeviceState::NoPermission},
        {"empty path", "", DeviceState::Absent},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const uid_t as = row.expected == DeviceState::NoPermission ? user : 0;
        EXPECT_EQ(stateAs(row.device, as), row.expected);
    }
}

}  // namespace
}  // namespace kx::test
