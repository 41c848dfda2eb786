#include "app/DeviceMap.h"

#include "app/Profile.h"

namespace kx {

namespace {
constexpr std::size_t kDevicePathBuffer = 4096;  // PATH_MAX
}

DeviceMap::DeviceMap(const Profile& settings, std::string runDevice, int runPort)
    : settings_(settings), runDevice_(std::move(runDevice)), runPort_(runPort) {}

std::string DeviceMap::defaultDevice(int comPortNumber) {
    return "/dev/ttyS" + std::to_string(comPortNumber - 1);
}

std::string DeviceMap::portName(int comPortNumber) {
    return "COM" + std::to_string(comPortNumber);
}

std::string DeviceMap::device(int comPortNumber) const {
    if (comPortNumber < kFirstPort || comPortNumber > kLastPort)
        return {};
    if (!runDevice_.empty() && (runPort_ == 0 || runPort_ == comPortNumber))
        return runDevice_;
    std::string configured =
        settings_.readText("DEVICES", portName(comPortNumber), "", kDevicePathBuffer);
    return configured.empty() ? defaultDevice(comPortNumber) : configured;
}

}  // namespace kx
