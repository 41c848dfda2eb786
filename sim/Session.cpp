#include "sim/Session.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <ctime>

namespace kx::sim {

using SteadyClock = std::chrono::steady_clock;

StopSignal::StopSignal() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

StopSignal::~StopSignal() {
    if (fd_ >= 0)
        ::close(fd_);
}

void StopSignal::raise() {
    raised_ = true;
    const std::uint64_t one = 1;
    // async-signal-safe, so a signal handler may raise it
    [[maybe_unused]] ssize_t n = ::write(fd_, &one, sizeof one);
}

bool StopSignal::sleepFor(std::chrono::nanoseconds duration) const {
    const auto deadline = SteadyClock::now() + duration;
    while (!raised()) {
        const auto left = deadline - SteadyClock::now();
        if (left <= std::chrono::nanoseconds::zero())
            return true;
        timespec ts{static_cast<time_t>(left.count() / 1'000'000'000),
                    static_cast<long>(left.count() % 1'000'000'000)};
        pollfd pfd{fd_, POLLIN, 0};
        ::ppoll(&pfd, 1, &ts, nullptr);
    }
    return false;
}

bool Pacer::beforeSend(std::size_t count, const StopSignal& stop) {
    if (!enabled_)
        return true;
    const auto now = SteadyClock::now();
    if (next_ < now)
        next_ = now;
    // the bytes of this piece leave at line speed: they are due once the piece is through
    const auto wait = next_ - now;
    next_ += kByteTime * static_cast<long>(count);
    return wait <= std::chrono::nanoseconds::zero() || stop.sleepFor(wait);
}

IoResult writeAll(int fd, std::string_view bytes, const StopSignal& stop, Pacer& pacer,
                  std::chrono::milliseconds stallLimit) {
    // paced output goes in small pieces, so the peer sees bytes trickle in as on the line
    const std::size_t piece = pacer.enabled() ? 16 : bytes.size();
    std::size_t done = 0;
    bool isSocket = true;
    auto lastProgress = SteadyClock::now();
    while (done < bytes.size()) {
        if (stop.raised())
            return IoResult::Stopped;
        const std::size_t chunk = std::min(piece, bytes.size() - done);
        if (!pacer.beforeSend(chunk, stop))
            return IoResult::Stopped;
        std::size_t chunkDone = 0;
        while (chunkDone < chunk) {
            const char* from = bytes.data() + done + chunkDone;
            // a socket whose peer is gone must fail the write, not kill the process
            ssize_t n = isSocket ? ::send(fd, from, chunk - chunkDone, MSG_NOSIGNAL) : -1;
            if (n < 0 && isSocket && errno == ENOTSOCK)
                isSocket = false;
            if (!isSocket)
                n = ::write(fd, from, chunk - chunkDone);
            if (n > 0) {
                chunkDone += static_cast<std::size_t>(n);
                lastProgress = SteadyClock::now();
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno != EAGAIN)
                return IoResult::Closed;
            const auto left = stallLimit - (SteadyClock::now() - lastProgress);
            if (left <= std::chrono::nanoseconds::zero())
                return IoResult::Closed;
            pollfd fds[2] = {{fd, POLLOUT, 0}, {stop.fd(), POLLIN, 0}};
            ::poll(fds, 2,
                   static_cast<int>(
                       std::chrono::duration_cast<std::chrono::milliseconds>(left).count() + 1));
            if (stop.raised())
                return IoResult::Stopped;
            if (fds[0].revents & (POLLERR | POLLNVAL))
                return IoResult::Closed;
        }
        done += chunk;
    }
    return IoResult::Ok;
}

SessionEnd perform(const Output& output, Transport& transport, const StopSignal& stop) {
    for (const Step& step : output) {
        switch (step.kind) {
            case Step::Kind::Send: {
                const IoResult result = transport.write(step.bytes);
                if (result == IoResult::Stopped)
                    return SessionEnd::Stopped;
                if (result == IoResult::Closed)
                    return SessionEnd::PeerClosed;
                break;
            }
            case Step::Kind::Pause:
                if (!stop.sleepFor(step.pause))
                    return SessionEnd::Stopped;
                break;
            case Step::Kind::Drop:
                transport.drop();
                return SessionEnd::Dropped;
        }
    }
    return SessionEnd::Finished;
}

SessionEnd runSession(Adapter& adapter, Transport& transport, const StopSignal& stop) {
    SessionEnd end = perform(adapter.greet(), transport, stop);
    if (end != SessionEnd::Finished)
        return end;
    std::string data;
    while (!adapter.finished()) {
        pollfd fds[3] = {{transport.readFd(), POLLIN, 0},
                         {stop.fd(), POLLIN, 0},
                         {transport.watchFd(), POLLIN, 0}};
        if (::poll(fds, transport.watchFd() >= 0 ? 3 : 2, -1) < 0 && errno != EINTR)
            return SessionEnd::PeerClosed;
        if (stop.raised())
            return SessionEnd::Stopped;
        if (fds[2].revents != 0)
            transport.onWatch();
        if (fds[0].revents == 0)
            continue;
        data.clear();
        const IoResult result = transport.read(data);
        if (result == IoResult::Closed)
            return SessionEnd::PeerClosed;
        if (data.empty())
            continue;
        end = perform(adapter.feed(data), transport, stop);
        if (end != SessionEnd::Finished)
            return end;
    }
    return SessionEnd::Finished;
}

}  // namespace kx::sim
