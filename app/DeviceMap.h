#pragma once

#include <string>

namespace kx {

class Profile;

// Which Linux device a COM port of the port dialog stands for.
//
// COM1..COM9 are /dev/ttyS0../dev/ttyS8 unless the settings file's [DEVICES] section names
// another device (COM1=/dev/serial/by-id/usb-...). For one run, `--port DEVICE` replaces the
// device of whichever COM port is chosen, and the demo puts its emulated adapter on COM1.
class DeviceMap {
public:
    // The devices come from `settings` (read afresh on each call). `runDevice`, when not empty,
    // is used instead for COM port `runPort`, or for every port 1..9 when runPort is 0.
    DeviceMap(const Profile& settings, std::string runDevice, int runPort = 0);

    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 9;

    // The device of COMn; empty for a port number outside 1..9 (such a port cannot be opened).
    std::string device(int comPortNumber) const;
    // "/dev/ttyS<n-1>".
    static std::string defaultDevice(int comPortNumber);
    // "COM<n>", as the port dialog lists it and the log names it.
    static std::string portName(int comPortNumber);

private:
    const Profile& settings_;
    std::string runDevice_;
    int runPort_;
};

}  // namespace kx
