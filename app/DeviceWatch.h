#pragma once

#include <chrono>
#include <functional>

namespace kx {

// Tells when a serial device appears, goes or changes its permissions while a window is open:
// inotify on /dev, /dev/serial and /dev/serial/by-id (under the test hook KX_DEVICE_ROOT when
// set), watched through the UI loop. A burst of events (udev makes the node, then its links,
// then sets its group) is told once, `settle` after the last of them. UI thread only.
class DeviceWatch {
public:
    explicit DeviceWatch(std::function<void()> changed,
                         std::chrono::milliseconds settle = std::chrono::milliseconds(250));
    ~DeviceWatch();
    DeviceWatch(const DeviceWatch&) = delete;
    DeviceWatch& operator=(const DeviceWatch&) = delete;

    // False when inotify is not available (the list then stays as it was when opened).
    bool active() const { return fd_ >= 0; }

private:
    void addWatches();
    void readEvents();

    std::function<void()> changed_;
    std::chrono::milliseconds settle_;
    int fd_ = -1;
    int watchId_ = 0;
    int devWatch_ = -1;  // the inotify watch of /dev itself
};

}  // namespace kx
