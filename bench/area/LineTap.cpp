#include "bench/area/LineTap.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kx::bench {

namespace {

constexpr std::size_t kFifoBytes = 8;  // a burst reaches the other side at most this large

void setRaw(int fd) {
    termios line{};
    if (tcgetattr(fd, &line) == 0) {
        cfmakeraw(&line);
        cfsetspeed(&line, B115200);
        (void)tcsetattr(fd, TCSANOW, &line);
    }
}

bool writeAll(int fd, const char* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t n = ::write(fd, bytes, count);
        if (n > 0) {
            bytes += n;
            count -= static_cast<std::size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd out{fd, POLLOUT, 0};
            (void)::poll(&out, 1, 100);
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

LineTap::LineTap(const std::string& adapterDevice, bool paced) : paced_(paced) {
    char name[128] = {};
    termios raw{};
    cfmakeraw(&raw);
    cfsetspeed(&raw, B115200);
    if (openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
        error_ = std::string("openpty: ") + std::strerror(errno);
        return;
    }
    device_ = name;
    (void)fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    adapter_ = ::open(adapterDevice.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (adapter_ < 0) {
        error_ = adapterDevice + ": " + std::strerror(errno);
        return;
    }
    setRaw(adapter_);
    if (pipe2(stop_, O_CLOEXEC) != 0) {
        error_ = std::string("pipe: ") + std::strerror(errno);
        return;
    }
    thread_ = std::thread([this] { run(); });
}

LineTap::~LineTap() {
    if (thread_.joinable()) {
        (void)!::write(stop_[1], "x", 1);
        thread_.join();
    }
    for (int fd : {master_, slave_, adapter_, stop_[0], stop_[1]})
        if (fd >= 0)
            ::close(fd);
}

void LineTap::beginRead() {
    std::lock_guard lock(mutex_);
    firstOfRead_ = true;
    replyDelivered_ = false;
}

LineTap::Counts LineTap::take() {
    std::lock_guard lock(mutex_);
    Counts counts = std::move(counts_);
    counts_ = Counts{};
    return counts;
}

void LineTap::arrive(Direction& d, const char* bytes, std::size_t count, Clock::time_point now) {
    {
        std::lock_guard lock(mutex_);
        if (d.toProgram) {
            counts_.replyBytes += count;
        } else {
            counts_.commandBytes += count;
            // the first bytes since a reply reached the program begin the next command
            if (replyDelivered_ && !firstOfRead_)
                counts_.gapsUs.push_back(
                    std::chrono::duration<double, std::micro>(now - lastReplyByte_).count());
            if (firstOfRead_)
                counts_.firstCommand = now;
            firstOfRead_ = false;
            replyDelivered_ = false;
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        // a byte starts when the line is free and it is there, and arrives 10 bits later
        const Clock::time_point due = paced_ ? std::max(d.lineFree, now) + kByteTime : now;
        d.lineFree = due;
        d.queue.emplace_back(bytes[i], due);
    }
}

LineTap::Clock::time_point LineTap::nextDue(const Direction& d) const {
    if (d.queue.empty())
        return Clock::time_point::max();
    // a full burst, or the last byte there is, whichever is due first
    return d.queue[std::min(d.queue.size(), kFifoBytes) - 1].second;
}

void LineTap::deliverDue(Direction& d, Clock::time_point now) {
    std::string burst;
    while (!d.queue.empty() && d.queue.front().second <= now) {
        burst.push_back(d.queue.front().first);
        d.queue.pop_front();
    }
    if (burst.empty() || !writeAll(d.to, burst.data(), burst.size()))
        return;
    if (d.toProgram) {
        std::lock_guard lock(mutex_);
        replyDelivered_ = true;
        lastReplyByte_ = counts_.lastReply = Clock::now();
    }
}

void LineTap::run() {
    // the line's bytes are due to the microsecond: no timer slack on this thread
    (void)prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    Direction toAdapter{master_, adapter_, false, {}, {}};
    Direction toProgram{adapter_, master_, true, {}, {}};
    char buffer[4096];
    for (;;) {
        Clock::time_point now = Clock::now();
        deliverDue(toAdapter, now);
        deliverDue(toProgram, now);
        const Clock::time_point due = std::min(nextDue(toAdapter), nextDue(toProgram));
        timespec timeout{};
        timespec* limit = nullptr;
        if (due != Clock::time_point::max()) {
            const auto left = std::max(due - Clock::now(), Clock::duration::zero());
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            timeout = {static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
            limit = &timeout;
        }
        pollfd fds[3] = {{master_, POLLIN, 0}, {adapter_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
        if (::ppoll(fds, 3, limit, nullptr) < 0 && errno != EINTR)
            return;
        if (fds[2].revents != 0)
            return;
        now = Clock::now();
        for (auto [fd, direction] : {std::pair{0, &toAdapter}, std::pair{1, &toProgram}}) {
            if ((fds[fd].revents & POLLIN) == 0) {
                if (fds[fd].revents & (POLLHUP | POLLERR | POLLNVAL))
                    return;  // the adapter went away: the line is gone
                continue;
            }
            const ssize_t n = ::read(fds[fd].fd, buffer, sizeof buffer);
            if (n > 0)
                arrive(*direction, buffer, static_cast<std::size_t>(n), now);
        }
    }
}

}  // namespace kx::bench
