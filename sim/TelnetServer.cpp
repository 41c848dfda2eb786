#include "sim/TelnetServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sim/Transports.h"

namespace kx::sim {

std::unique_ptr<TelnetServer> TelnetServer::listen(Services services, int port, bool all,
                                                   std::string& error) {
    if (port < 0 || port > 65535) {
        error = "the telnet port must be 0..65535";
        return nullptr;
    }
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        error = std::string("cannot create a socket: ") + std::strerror(errno);
        return nullptr;
    }
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(all ? INADDR_ANY : INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 8) != 0) {
        error = "cannot listen on TCP port " + std::to_string(port) + ": " + std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    std::unique_ptr<TelnetServer> server(
        new TelnetServer(std::move(services), fd, ntohs(address.sin_port)));
    server->acceptThread_ = std::thread([raw = server.get()] { raw->acceptLoop(); });
    return server;
}

TelnetServer::TelnetServer(Services services, int fd, int port)
    : services_(std::move(services)), listener_(fd), port_(port) {}

TelnetServer::~TelnetServer() {
    join();
    ::close(listener_);
}

void TelnetServer::join() {
    if (acceptThread_.joinable())
        acceptThread_.join();
    reap(true);
}

void TelnetServer::reap(bool all) {
    std::list<Connection> finished;
    {
        std::lock_guard lock(mutex_);
        for (auto it = connections_.begin(); it != connections_.end();) {
            auto next = std::next(it);
            if (all || it->done)
                finished.splice(finished.end(), connections_, it);
            it = next;
        }
    }
    for (Connection& connection : finished) connection.thread.join();
}

void TelnetServer::acceptLoop() {
    const StopSignal& stop = services_.stop;
    while (!stop.raised()) {
        pollfd fds[2] = {{listener_, POLLIN, 0}, {stop.fd(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            break;
        if (stop.raised())
            break;
        reap(false);
        if ((fds[0].revents & POLLIN) == 0)
            continue;
        const int socket = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (socket < 0) {
            // out of descriptors and the like: the listener stays readable, so do not spin
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                stop.sleepFor(std::chrono::milliseconds(100));
            continue;
        }
        const int on = 1;
        // single bytes (a dripped reply) leave at once
        ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        std::lock_guard lock(mutex_);
        if (connections_.size() >= static_cast<std::size_t>(kMaxSessions)) {
            static const char kBusy[] = "\r\nToo many sessions, try again later\r\n";
            [[maybe_unused]] ssize_t n = ::write(socket, kBusy, sizeof kBusy - 1);
            ::close(socket);
            continue;
        }
        Connection& connection = connections_.emplace_back();
        connection.thread =
            std::thread([this, socket, self = &connection] { serve(socket, self); });
    }
}

void TelnetServer::serve(int socket, Connection* self) {
    if (services_.log)
        services_.log("telnet: session opened");
    {
        TelnetTransport transport(socket, services_.stop, services_.paced);
        if (transport.negotiate() == IoResult::Ok) {
            Adapter adapter(services_.device, services_.adapter, Adapter::Start::Login,
                            &services_.transcript, &services_.faults);
            runSession(adapter, transport, services_.stop);
        }
    }
    if (services_.log)
        services_.log("telnet: session closed");
    std::lock_guard lock(mutex_);
    self->done = true;
}

}  // namespace kx::sim
