#pragma once

// Which other program has a serial device open, found the way fuser(1) finds it: through the
// open descriptors under /proc. Processes of other users hide theirs, so "nobody seen" does
// not mean "nobody holds it".

#include <optional>
#include <string>

namespace kx {

struct DeviceHolder {
    int pid = 0;
    std::string name;  // the process's command name ("ModemManager")
};

// The process (other than this one) with the lowest pid that has `device` open, or nothing
// when /proc shows none. Symlinks are followed ("/dev/serial/by-id/..." finds its ttyUSB).
std::optional<DeviceHolder> FindDeviceHolder(const std::string& device);

// "held by ModemManager (pid 812)", or "held by another program" when /proc shows nobody.
std::string HeldByText(const std::string& device);

}  // namespace kx
