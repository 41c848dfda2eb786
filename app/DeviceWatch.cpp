#include "app/DeviceWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>
#include <string_view>

#include "app/DeviceMap.h"
#include "ui/MessageLoop.h"

namespace kx {

namespace {

// The loop's timer that tells a settled burst of device events.
constexpr int kDeviceSettleTimer = 59141;

constexpr std::uint32_t kMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB;

// /dev holds much besides serial ports; only its ttys and the serial folder matter.
bool concernsSerial(std::string_view name) {
    return name.empty() || name.starts_with("tty") || name == "serial" || name == "by-id";
}

}  // namespace

DeviceWatch::DeviceWatch(std::function<void()> changed, std::chrono::milliseconds settle)
    : changed_(std::move(changed)), settle_(settle) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0)
        return;
    addWatches();
    watchId_ = ui::watchReadable(fd_, [this] { readEvents(); });
}

DeviceWatch::~DeviceWatch() {
    if (fd_ < 0)
        return;
    ui::killTimer(kDeviceSettleTimer);
    ui::unwatch(watchId_);
    ::close(fd_);
}

void DeviceWatch::addWatches() {
    // the serial folders come and go with the first and last USB serial device: watching again
    // after each event picks them up (a folder watched already keeps its watch)
    const std::string dev = DeviceRoot() + "/dev";
    devWatch_ = ::inotify_add_watch(fd_, dev.c_str(), kMask | IN_ONLYDIR);
    for (const std::string& folder : {dev + "/serial", dev + "/serial/by-id"})
        (void)::inotify_add_watch(fd_, folder.c_str(), kMask | IN_ONLYDIR);
}

void DeviceWatch::readEvents() {
    alignas(inotify_event) char buffer[4096];
    bool relevant = false;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            const std::string_view name =
                event->len > 0 ? std::string_view(event->name, ::strnlen(event->name, event->len))
                               : std::string_view();
            // everything in the serial folders counts; of /dev only its ttys and "serial"
            if (event->wd != devWatch_ || concernsSerial(name) || (event->mask & IN_Q_OVERFLOW))
                relevant = true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    if (!relevant)
        return;
    addWatches();
    ui::setTimer(kDeviceSettleTimer, settle_, [this] {
        ui::killTimer(kDeviceSettleTimer);
        changed_();
    });
}

}  // namespace kx
