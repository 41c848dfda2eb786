#include "sim/PtyPort.h"

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace kx::sim {
namespace {

std::string failure(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// Replaces a symlink at `link` (never any other kind of file) with one to `target`.
bool placeLink(const std::string& link, const std::string& target, std::string& error) {
    struct stat info {};
    if (::lstat(link.c_str(), &info) == 0) {
        if (!S_ISLNK(info.st_mode)) {
            error = link + " exists and is not a symlink; not replacing it";
            return false;
        }
        ::unlink(link.c_str());
    }
    if (::symlink(target.c_str(), link.c_str()) != 0) {
        error = failure(("cannot create the symlink " + link).c_str());
        return false;
    }
    return true;
}

}  // namespace

PtyPort::~PtyPort() {
    close();
}

bool PtyPort::open(const std::string& link, std::string& error) {
    close();
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) {
        error = failure("cannot create a pseudo-terminal");
        return false;
    }
    char name[128];
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
        ::ptsname_r(master_, name, sizeof name) != 0) {
        error = failure("cannot prepare the pseudo-terminal");
        close();
        return false;
    }
    slavePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        error = failure(("cannot open " + slavePath_).c_str());
        close();
        return false;
    }
    // raw, 8N1, 115200: what a serial terminal program expects to find
    termios settings{};
    if (::tcgetattr(slave_, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::cfsetispeed(&settings, B115200);
        ::cfsetospeed(&settings, B115200);
        settings.c_cflag |= CLOCAL | CREAD;
        ::tcsetattr(slave_, TCSANOW, &settings);
    }
    closeWatch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (closeWatch_ < 0 ||
        ::inotify_add_watch(closeWatch_, name, IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
        error = failure("cannot watch the pseudo-terminal");
        close();
        return false;
    }
    const int flags = ::fcntl(master_, F_GETFL);
    ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    if (!link.empty()) {
        if (!placeLink(link, slavePath_, error)) {
            close();
            return false;
        }
        link_ = link;
    }
    return true;
}

void PtyPort::peerClosed() {
    alignas(inotify_event) char events[4096];
    while (::read(closeWatch_, events, sizeof events) > 0) {
    }
    ::ioctl(slave_, TIOCNXCL);
}

void PtyPort::close() {
    if (!link_.empty()) {
        // only our own link: someone may have put something else there meanwhile
        char target[256];
        const ssize_t n = ::readlink(link_.c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, static_cast<std::size_t>(n)) == slavePath_)
            ::unlink(link_.c_str());
        link_.clear();
    }
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
    if (closeWatch_ >= 0)
        ::close(closeWatch_);
    slave_ = master_ = closeWatch_ = -1;
    slavePath_.clear();
}

}  // namespace kx::sim
