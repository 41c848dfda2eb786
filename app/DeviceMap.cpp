#include "app/DeviceMap.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <set>
#include <utility>

#include "app/Profile.h"

namespace kx {

namespace {

constexpr std::size_t kDevicePathBuffer = 4096;  // PATH_MAX
constexpr const char* kByIdFolder = "/dev/serial/by-id";

std::string canonical(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The number after `prefix` ("ttyUSB12" -> 12), or -1 when the name is not prefix + digits.
long numberAfter(const std::string& name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return -1;
    long n = 0;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || n > 100000)
            return -1;
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

// The devices of /dev whose names are `prefix` and a number, in number order.
std::vector<std::string> numbered(const std::vector<std::string>& names, std::string_view prefix) {
    std::vector<std::pair<long, std::string>> found;
    for (const std::string& name : names)
        if (long n = numberAfter(name, prefix); n >= 0)
            found.emplace_back(n, name);
    std::sort(found.begin(), found.end());
    std::vector<std::string> out;
    for (auto& [n, name] : found) out.push_back(std::move(name));
    return out;
}

// The UART type that /sys reports for a built-in port: 0 for a placeholder without hardware,
// -1 when /sys does not say.
int uartType(const std::string& ttyName) {
    std::ifstream in(DeviceRoot() + "/sys/class/tty/" + ttyName + "/type");
    int type = -1;
    if (!(in >> type))
        return -1;
    return type;
}

std::string baseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string DeviceRoot() {
    const char* root = std::getenv("KX_DEVICE_ROOT");
    return root ? std::string(root) : std::string();
}

std::vector<std::string> PresentSerialDevices() {
    const std::string dev = DeviceRoot() + "/dev";
    const std::string byId = DeviceRoot() + kByIdFolder;
    std::vector<std::string> out;
    std::set<std::string> named;  // the devices a by-id entry points to
    for (const std::string& name : entries(byId)) {
        const std::string path = byId + "/" + name;
        if (!exists(path))
            continue;  // a link left behind by a device that has gone
        out.push_back(path);
        named.insert(canonical(path));
    }
    const std::vector<std::string> names = entries(dev);
    for (std::string_view prefix : {"ttyUSB", "ttyACM"})
        for (const std::string& name : numbered(names, prefix))
            if (!named.count(canonical(dev + "/" + name)))
                out.push_back(dev + "/" + name);
    for (const std::string& name : numbered(names, "ttyS"))
        if (uartType(name) > 0)
            out.push_back(dev + "/" + name);
    return out;
}

DeviceState SerialDeviceState(const std::string& device) {
    if (device.empty() || !exists(device))
        return DeviceState::Absent;
    const std::string name = baseName(canonical(device));
    if (numberAfter(name, "ttyS") >= 0 && uartType(name) == 0)
        return DeviceState::Absent;  // a placeholder the kernel keeps for a UART not fitted
    if (::faccessat(AT_FDCWD, device.c_str(), R_OK | W_OK, AT_EACCESS) != 0 &&
        (errno == EACCES || errno == EPERM))
        return DeviceState::NoPermission;
    return DeviceState::Present;
}

std::string ByIdName(const std::string& device) {
    const std::string byId = DeviceRoot() + kByIdFolder;
    if (device.size() > byId.size() + 1 && device.compare(0, byId.size() + 1, byId + "/") == 0)
        return device.substr(byId.size() + 1);
    if (!exists(device))
        return {};
    const std::string target = canonical(device);
    for (const std::string& name : entries(byId))
        if (canonical(byId + "/" + name) == target)
            return name;
    return {};
}

DeviceMap::DeviceMap(const Profile& settings, std::string runDevice, int runPort)
    : settings_(settings),
      runDevice_(std::move(runDevice)),
      runPort_(runPort),
      present_(PresentSerialDevices()) {}

void DeviceMap::rescan() {
    present_ = PresentSerialDevices();
}

std::string DeviceMap::defaultDevice(int comPortNumber) {
    return DeviceRoot() + "/dev/ttyS" + std::to_string(comPortNumber - 1);
}

std::string DeviceMap::portName(int comPortNumber) {
    return "COM" + std::to_string(comPortNumber);
}

DeviceMap::Mapping DeviceMap::mapping() const {
    constexpr int kPorts = kLastPort - kFirstPort + 1;
    Mapping m{std::vector<std::string>(kPorts), std::vector<Source>(kPorts, Source::Fallback)};
    std::set<std::string> taken;  // devices an entry names, so no other entry takes them
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        std::string& device = m.device[port - 1];
        if (!runDevice_.empty() && (runPort_ == 0 || runPort_ == port)) {
            device = runDevice_;
            m.source[port - 1] = Source::RunDevice;
        } else {
            device = settings_.readText("DEVICES", portName(port), "", kDevicePathBuffer);
            if (!device.empty())
                m.source[port - 1] = Source::Settings;
        }
        if (!device.empty()) {
            taken.insert(device);
            taken.insert(canonical(device));
        }
    }
    auto next = present_.begin();
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        if (!m.device[port - 1].empty())
            continue;
        while (next != present_.end() && (taken.count(*next) || taken.count(canonical(*next))))
            ++next;
        if (next != present_.end()) {
            m.device[port - 1] = *next++;
            m.source[port - 1] = Source::Present;
        } else {
            m.device[port - 1] = defaultDevice(port);
        }
    }
    return m;
}

std::string DeviceMap::device(int comPortNumber) const {
    if (comPortNumber < kFirstPort || comPortNumber > kLastPort)
        return {};
    return mapping().device[comPortNumber - 1];
}

DeviceMap::Source DeviceMap::source(int comPortNumber) const {
    if (comPortNumber < kFirstPort || comPortNumber > kLastPort)
        return Source::Fallback;
    return mapping().source[comPortNumber - 1];
}

std::vector<std::string> DeviceMap::devices() const {
    return mapping().device;
}

}  // namespace kx
