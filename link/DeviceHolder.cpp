#include "link/DeviceHolder.h"

#include <dirent.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>

namespace kx {

namespace {

std::string canonical(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

bool isNumber(const char* s) {
    if (*s == '\0')
        return false;
    for (; *s; ++s)
        if (*s < '0' || *s > '9')
            return false;
    return true;
}

// Whether one of the process's descriptors is `target`; false when they cannot be read.
bool hasOpen(const std::string& procDir, const std::string& target) {
    const std::string fdDir = procDir + "/fd";
    DIR* dir = ::opendir(fdDir.c_str());
    if (!dir)
        return false;
    bool found = false;
    char link[PATH_MAX];
    while (dirent* e = ::readdir(dir)) {
        if (!isNumber(e->d_name))
            continue;
        const std::string fd = fdDir + "/" + e->d_name;
        const ssize_t n = ::readlink(fd.c_str(), link, sizeof link - 1);
        if (n > 0 && target.compare(0, std::string::npos, link, static_cast<std::size_t>(n)) == 0) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

}  // namespace

std::optional<DeviceHolder> FindDeviceHolder(const std::string& device) {
    const std::string target = canonical(device);
    const int self = static_cast<int>(::getpid());
    std::optional<DeviceHolder> holder;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return holder;
    while (dirent* e = ::readdir(proc)) {
        if (!isNumber(e->d_name))
            continue;
        const long pid = std::strtol(e->d_name, nullptr, 10);
        if (pid <= 0 || pid > INT_MAX || pid == self || (holder && pid >= holder->pid))
            continue;
        const std::string dir = std::string("/proc/") + e->d_name;
        if (!hasOpen(dir, target))
            continue;
        DeviceHolder found{static_cast<int>(pid), {}};
        std::ifstream comm(dir + "/comm");
        std::getline(comm, found.name);
        if (found.name.empty())
            found.name = "another program";
        holder = std::move(found);
    }
    ::closedir(proc);
    return holder;
}

std::string HeldByText(const std::string& device) {
    const std::optional<DeviceHolder> holder = FindDeviceHolder(device);
    if (!holder)
        return "held by another program";
    return "held by " + holder->name + " (pid " + std::to_string(holder->pid) + ")";
}

}  // namespace kx
