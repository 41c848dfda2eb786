#include "app/DeviceMap.h"

#include "app/Profile.h"

namespace kx {

namespace {
constexpr std::size_t kDevicePathBuffer = 4096;  // PATH_MAX
}

DeviceMap::DeviceMap(const Profile& settings, std::string runDevice)
    : settings_(settings), runDevice_(std::move(runDevice))
{
}

std::string DeviceMap::defaultDevice(int comPortNumber)
{
    return "/dev/ttyS" + std::to_string(comPortNumber - 1);
}

std::string DeviceMap::portName(int comPortNumber) { return "COM" + std::to_string(comPortNumber); }

std::string DeviceMap::device(int comPortNumber) const
{
    if (comPortNumber < kFirstPort || comPortNumber > kLastPort) return {};
    if (!runDevice_.empty()) return runDevice_;
    std::string configured = settings_.readText("DEVICES", portName(comPortNumber), "", kDevicePathBuffer);
    return configured.empty() ? defaultDevice(comPortNumber) : configured;
}

}  // namespace kx
