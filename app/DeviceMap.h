#pragma once

#include <string>
#include <vector>

namespace kx {

class Profile;

// Whether a device can be used, as far as can be told without opening it.
enum class DeviceState {
    Present,       // the node is there and this user may read and write it
    Absent,        // no such node, or a built-in UART without hardware
    NoPermission,  // there, but the user may not open it (not in the dialout group)
};

// The serial devices present, in the order the COM ports of the port dialog take them:
//   1. the entries of /dev/serial/by-id, sorted by name (stable across reboots and replugging);
//   2. /dev/ttyUSB* and /dev/ttyACM* that no by-id entry points to, in number order;
//   3. the built-in /dev/ttyS* whose UART reports a type (/sys/class/tty/ttyS*/type nonzero).
// Test hook: when the environment variable KX_DEVICE_ROOT is set, /dev and /sys/class/tty are
// read from under that folder instead (and the paths returned lie under it). Nothing else in
// the program reads it.
std::vector<std::string> PresentSerialDevices();

// The folder KX_DEVICE_ROOT names ("" when unset): the prefix of /dev and /sys paths.
std::string DeviceRoot();

DeviceState SerialDeviceState(const std::string& device);

// The name under /dev/serial/by-id that `device` is or that points to it ("" when none).
std::string ByIdName(const std::string& device);

// Which Linux device a COM port of the port dialog stands for, in this order:
//   - `--port DEVICE` for one run (the demo puts its emulated adapter on COM1 this way);
//   - the settings file's [DEVICES] COMn (written by the port dialog's "接続");
//   - the n-th serial device present (PresentSerialDevices) among those no other COM port
//     names, so one device never stands for two entries;
//   - /dev/ttyS<n-1>.
// The devices present are scanned when the map is made and by rescan(); the settings file is
// read afresh on each call.
class DeviceMap {
public:
    // `runDevice`, when not empty, is used instead for COM port `runPort`, or for every port
    // 1..9 when runPort is 0.
    DeviceMap(const Profile& settings, std::string runDevice, int runPort = 0);

    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 9;

    // Where an entry's device comes from.
    enum class Source { RunDevice, Settings, Present, Fallback };

    // The device of COMn; empty for a port number outside 1..9 (such a port cannot be opened).
    std::string device(int comPortNumber) const;
    Source source(int comPortNumber) const;
    // The devices of COM1..COM9, index port - 1.
    std::vector<std::string> devices() const;

    // Scans the devices present again (a device was plugged in or out).
    void rescan();

    // "/dev/ttyS<n-1>" (under the test hook's folder when it is set).
    static std::string defaultDevice(int comPortNumber);
    // "COM<n>", as the port dialog lists it and the log names it.
    static std::string portName(int comPortNumber);

private:
    struct Mapping {
        std::vector<std::string> device;  // index port - 1
        std::vector<Source> source;
    };
    Mapping mapping() const;

    const Profile& settings_;
    std::string runDevice_;
    int runPort_;
    std::vector<std::string> present_;
};

}  // namespace kx
