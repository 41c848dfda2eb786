#pragma once

// A fake /dev and /sys/class/tty for the serial device mapping, under a folder that the test
// hook KX_DEVICE_ROOT names for as long as the object lives. By-id entries link to real
// devices (the emulator's pseudo-terminals); other nodes may be plain files, which are
// "present" for the mapping but cannot be opened as a serial port.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace kx::test {

class FakeDevices {
public:
    explicit FakeDevices(const std::string& folder) : root_(folder) {
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ + "/dev");
        std::filesystem::create_directories(root_ + "/sys/class/tty");
        ::setenv("KX_DEVICE_ROOT", root_.c_str(), 1);
    }
    ~FakeDevices() {
        ::unsetenv("KX_DEVICE_ROOT");
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    FakeDevices(const FakeDevices&) = delete;
    FakeDevices& operator=(const FakeDevices&) = delete;

    const std::string& root() const { return root_; }
    // The path of /dev/NAME in the fake tree.
    std::string dev(const std::string& name) const { return root_ + "/dev/" + name; }
    std::string byId(const std::string& name) const { return dev("serial/by-id/" + name); }

    // /dev/serial/by-id/NAME pointing to `target` (absolute, or relative to the by-id folder).
    std::string addById(const std::string& name, const std::string& target) const {
        std::filesystem::create_directories(dev("serial/by-id"));
        std::filesystem::create_symlink(target, byId(name));
        return byId(name);
    }
    // /dev/NAME as a plain file with `mode`.
    std::string addNode(const std::string& name, mode_t mode = 0660) const {
        std::ofstream(dev(name)).flush();
        ::chmod(dev(name).c_str(), mode);
        return dev(name);
    }
    // A built-in UART: /dev/NAME and /sys/class/tty/NAME/type (0: no hardware).
    std::string addUart(const std::string& name, int type) const {
        std::filesystem::create_directories(root_ + "/sys/class/tty/" + name);
        std::ofstream(root_ + "/sys/class/tty/" + name + "/type") << type << "\n";
        return addNode(name);
    }

private:
    std::string root_;
};

}  // namespace kx::test
