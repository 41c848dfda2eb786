#include "sim/Transports.h"

#include <sys/ioctl.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace kx::sim {
namespace {

constexpr std::size_t kReadChunk = 4096;

// Reads what is there; Closed at end of stream or on an error other than "try again".
IoResult readSome(int fd, std::string& data) {
    char buffer[kReadChunk];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            data.append(buffer, static_cast<std::size_t>(n));
            return IoResult::Ok;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return IoResult::Ok;
        return IoResult::Closed;
    }
}

}  // namespace

IoResult PtyTransport::read(std::string& data) {
    const IoResult result = readSome(master_, data);
    if (result == IoResult::Closed) {
        // EIO: no slave open at all (cannot happen while we hold one); never spin on it
        return stop_.sleepFor(std::chrono::milliseconds(100)) ? IoResult::Ok : IoResult::Stopped;
    }
    return result;
}

IoResult PtyTransport::write(std::string_view bytes) {
    const IoResult result =
        writeAll(master_, bytes, stop_, pacer_, std::chrono::milliseconds(2000));
    if (result == IoResult::Closed) {
        // nobody reads the port: forget this output and what still waits in the slave
        ::tcflush(slave_, TCIFLUSH);
        return IoResult::Ok;
    }
    return result;
}

void PtyTransport::drop() {
    // written bytes reach the slave's input queue a little later (the tty layer hands them over
    // on a work queue), so give them that moment before looking at what is still unread
    if (!stop_.sleepFor(std::chrono::milliseconds(50)))
        return;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    int unread = 0;
    while (::ioctl(slave_, TIOCINQ, &unread) == 0 && unread > 0 &&
           std::chrono::steady_clock::now() < deadline) {
        if (!stop_.sleepFor(std::chrono::milliseconds(5)))
            return;
    }
}

IoResult TelnetTransport::negotiate() {
    return writeAll(socket_, codec_.offer(), stop_, unpaced_);
}

IoResult TelnetTransport::read(std::string& data) {
    std::string raw;
    const IoResult result = readSome(socket_, raw);
    if (result != IoResult::Ok)
        return result;
    std::string answers;
    codec_.receive(raw, data, answers);
    if (!answers.empty())
        return writeAll(socket_, answers, stop_, unpaced_);
    return IoResult::Ok;
}

IoResult TelnetTransport::write(std::string_view bytes) {
    return writeAll(socket_, TelnetServerCodec::escape(bytes), stop_, pacer_);
}

TelnetTransport::~TelnetTransport() {
    if (socket_ < 0)
        return;
    ::shutdown(socket_, SHUT_WR);
    ::close(socket_);
}

void TelnetTransport::drop() {
    if (socket_ < 0)
        return;
    // closing with a zero linger time resets the connection, like a line that goes dead
    linger hard{1, 0};
    ::setsockopt(socket_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    ::close(socket_);
    socket_ = -1;
}

IoResult StdioTransport::read(std::string& data) {
    return readSome(in_, data);
}

IoResult StdioTransport::write(std::string_view bytes) {
    return writeAll(out_, bytes, stop_, pacer_);
}

}  // namespace kx::sim
