#pragma once

// Small clients that drive the emulator the way the program does: a serial port opened on the
// pty slave, a TCP connection. Reads wait in poll with generous time-outs, never in sleeps.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <string_view>

namespace kx::sim::test {

inline constexpr std::chrono::milliseconds kGenerous{5000};

class FdClient {
public:
    FdClient() = default;
    explicit FdClient(int fd) : fd_(fd) {}
    ~FdClient() { close(); }
    FdClient(const FdClient&) = delete;
    FdClient& operator=(const FdClient&) = delete;

    bool ok() const { return fd_ >= 0; }
    // Takes over a descriptor (closing the one held).
    void reset(int fd) {
        close();
        fd_ = fd;
    }
    void close() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    bool send(std::string_view bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            const ssize_t m = n < 0 && errno == ENOTSOCK
                                  ? ::write(fd_, bytes.data() + done, bytes.size() - done)
                                  : n;
            if (m <= 0)
                return false;
            done += static_cast<std::size_t>(m);
        }
        return true;
    }
    // Reads until `until` is in what arrived, the stream ends, or `timeout` passes.
    std::string readUntil(std::string_view until, std::chrono::milliseconds timeout = kGenerous) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        std::string got;
        eof_ = false;
        for (;;) {
            if (got.find(until) != std::string::npos)
                return got;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return got;
            pollfd pfd{fd_, POLLIN, 0};
            if (::poll(&pfd, 1, static_cast<int>(left.count())) <= 0)
                continue;
            char buffer[4096];
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n <= 0) {
                if (n < 0 && errno == EAGAIN)
                    continue;
                eof_ = true;
                return got;
            }
            got.append(buffer, static_cast<std::size_t>(n));
        }
    }
    std::string exchange(std::string_view command, std::string_view until) {
        send(command);
        return readUntil(until);
    }
    bool sawEnd() const { return eof_; }

protected:
    int fd_ = -1;
    bool eof_ = false;
};

// Opens a pty slave as the program opens its serial port: raw, 8N1, 115200.
inline int openSerial(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    termios t{};
    ::tcgetattr(fd, &t);
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B115200);
    ::cfsetospeed(&t, B115200);
    t.c_cflag |= CLOCAL | CREAD;
    ::tcsetattr(fd, TCSANOW, &t);
    return fd;
}

inline int connectLoopback(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace kx::sim::test
