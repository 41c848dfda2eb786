#include "link/NetLink.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "link/Exchange.h"
#include "link/TerminatorSearch.h"

namespace kx {

namespace {

constexpr auto kConnectCheckPeriod = std::chrono::milliseconds(50);
constexpr int kWriteStallMs = 1000;  // a send that cannot go on for this long has failed
constexpr std::size_t kReadChunk = 512;

// A password goes out as one line: a line end, a NUL or a telnet IAC inside it would send
// something the user did not type.
bool sendableText(std::string_view text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7f || c == 0xff)
            return false;
    return true;
}

std::string errorText(int error) {
    return std::strerror(error);
}

}  // namespace

bool ParseIpv4(std::string_view text, std::uint32_t& address) {
    std::uint32_t value = 0;
    std::size_t pos = 0;
    for (int field = 0; field < 4; ++field) {
        if (field > 0) {
            if (pos >= text.size() || text[pos] != '.')
                return false;
            ++pos;
        }
        unsigned number = 0;
        std::size_t digits = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            number = number * 10 + static_cast<unsigned>(text[pos] - '0');
            if (number > 255)
                return false;
            ++pos;
            ++digits;
        }
        if (digits == 0)
            return false;
        value = (value << 8) | number;
    }
    if (pos != text.size())
        return false;
    address = htonl(value);
    return true;
}

NetLink::NetLink(NetHooks hooks, LogFn log, std::function<void()> onAdministrator)
    : hooks_(std::move(hooks)),
      log_(std::move(log)),
      onAdministrator_(std::move(onAdministrator)) {}

NetLink::~NetLink() {
    NetClose();
}

bool NetLink::NetConnect(const std::string& address, int port, std::string loginPassword,
                         std::string adminPassword) {
    NetClose();
    std::uint32_t ip = 0;
    if (!ParseIpv4(address, ip)) {
        log_("Network link: the IP address \"" + address + "\" is not valid\r\n");
        return false;
    }
    if (port <= 0 || port > 65535) {
        log_("Network link: the TCP port " + std::to_string(port) + " is not valid\r\n");
        return false;
    }
    if (!sendableText(loginPassword) || !sendableText(adminPassword)) {
        log_("Network link: a password holds a control character; nothing is sent\r\n");
        return false;
    }
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        log_("Network link: cannot create a socket: " + errorText(errno) + "\r\n");
        return false;
    }
    const int on = 1;
    // a command line leaves at once, not held back for the next one
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);

    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(port));
    peer.sin_addr.s_addr = ip;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0 &&
        errno != EINPROGRESS) {
        log_("Network link: cannot connect to " + address + " port " + std::to_string(port) + ": " +
             errorText(errno) + "\r\n");
        ::close(fd);
        return false;
    }

    fd_ = fd;
    telnet_.reset();
    inbox_.clear();
    inboxPos_ = 0;
    loginPassword_ = std::move(loginPassword);
    adminPassword_ = std::move(adminPassword);
    connecting_ = true;
    connected_ = lost_ = administrator_ = false;
    // the completion is told when it comes, never here: the caller logs the start first
    if (hooks_.watch)
        watchId_ = hooks_.watch(fd_, [this] { onReadable(); });
    if (hooks_.setTimer) {
        timerRunning_ = true;
        hooks_.setTimer(kConnectCheckPeriod, [this] { checkConnect(); });
    }
    return true;
}

void NetLink::checkConnect() {
    if (!connecting_ || fd_ < 0)
        return;
    pollfd p{fd_, POLLOUT, 0};
    if (::poll(&p, 1, 0) <= 0 || (p.revents & (POLLOUT | POLLERR | POLLHUP)) == 0)
        return;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    connectCompleted(error);
}

void NetLink::connectCompleted(int error) {
    connecting_ = false;
    if (timerRunning_ && hooks_.killTimer)
        hooks_.killTimer();
    timerRunning_ = false;
    if (error != 0) {
        // every later exchange fails at once (not connected)
        log_("Network link: the connect failed: " + errorText(error) + "\r\n");
        NetClose();
        return;
    }
    connected_ = true;
    log_(std::string(kLogConnectOk));
}

void NetLink::onReadable() {
    if (fd_ < 0)
        return;
    if (connecting_) {
        checkConnect();
        if (connecting_ || fd_ < 0)
            return;
    }
    char chunk[kReadChunk];
    const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
    if (n > 0) {
        inbox_.append(chunk, static_cast<std::size_t>(n));
        drainInbox();
    } else if (n == 0) {
        drainInbox();
        markLost("the adapter closed the connection");
    } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        const int error = errno;
        drainInbox();
        markLost(errorText(error));
    }
}

void NetLink::drainInbox() {
    while (inboxPos_ < inbox_.size() && fd_ >= 0) {
        // bytes after a terminator belong after the exchange, as if read one at a time
        if (telnet_.exchangeActive() && telnet_.complete())
            return;
        const auto byte = static_cast<unsigned char>(inbox_[inboxPos_++]);
        const NetByte result = telnet_.NetReceiveByte(byte);
        if (!telnet_.answers().empty()) {
            std::string answer;
            answer.swap(telnet_.answers());
            if (!sendAll(answer))
                return;
        }
        if (result == NetByte::Answered) {
            log_(std::string(kLogIacData));
        } else if (result == NetByte::PasswordPrompt && !loginRunning_) {
            login();
        }
    }
    if (inboxPos_ >= inbox_.size()) {
        inbox_.clear();
        inboxPos_ = 0;
    }
}

void NetLink::login() {
    loginRunning_ = true;
    ReplyBuffer reply(kNetReplyCapacity);
    // closed by NetClose during a step (the program ends): nothing more to send or say
    auto closedMeanwhile = [this] { return fd_ < 0 && !lost_; };
    auto step = [&](const std::string& bytes, int kind, std::string_view errorLine) {
        if (NetSendCommand(bytes, reply, loginTimeoutMs_, kind) == 1)
            return true;
        if (!closedMeanwhile())
            log_(std::string(errorLine));
        return false;
    };
    // a failed login password waits for the next prompt, which starts it again; the prompt
    // already received must not start it at the next byte of anything else
    if (!step(loginPassword_ + "\r\n", kNetTerminatorUser, kLogLoginError)) {
        telnet_.clearReply();
    } else {
        telnet_.clearReply();
        telnet_.setLoginDone(true);
        log_(std::string(kLogLoginOk));
        if (step("administrator\r\n", kNetTerminatorPassword, kLogAdminPromptError) &&
            step(adminPassword_ + "\r\n", kNetTerminatorAdmin, kLogAdminError)) {
            log_(std::string(kLogAdminOk));
            administrator_ = true;
            SetActiveLink(this);
            if (onAdministrator_)
                onAdministrator_();
        }
    }
    loginRunning_ = false;
}

void NetLink::markLost(const std::string& reason) {
    if (lost_)
        return;
    lost_ = true;
    connecting_ = false;
    log_("Network link lost: " + reason + "\r\n");
    stopWatching();
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void NetLink::stopWatching() {
    if (watchId_ >= 0 && hooks_.unwatch)
        hooks_.unwatch(watchId_);
    watchId_ = -1;
    if (timerRunning_ && hooks_.killTimer)
        hooks_.killTimer();
    timerRunning_ = false;
}

void NetLink::NetClose() {
    stopWatching();
    if (fd_ >= 0) {
        // a reset rather than a graceful close, as the adapter expects
        linger hard{1, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        ::close(fd_);
        fd_ = -1;
    }
    if (ActiveLink() == this)
        SetActiveLink(nullptr);
    connecting_ = connected_ = administrator_ = false;
    inbox_.clear();
    inboxPos_ = 0;
}

bool NetLink::sendAll(std::string_view wire) {
    std::size_t sent = 0;
    while (sent < wire.size() && fd_ >= 0) {
        const ssize_t n = ::send(fd_, wire.data() + sent, wire.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{fd_, POLLOUT, 0};
            if (::poll(&p, 1, kWriteStallMs) > 0)
                continue;
            markLost("a send stalled");
            return false;
        }
        markLost(errorText(n < 0 ? errno : EPIPE));
        return false;
    }
    return sent == wire.size();
}

std::string NetLink::escaped(std::string_view data) {
    std::string wire;
    wire.reserve(data.size());
    for (char c : data) {
        wire.push_back(c);
        if (static_cast<unsigned char>(c) == NetTelnet::kIac)
            wire.push_back(c);  // a data byte 255 goes doubled
    }
    return wire;
}

long NetLink::NetSend(std::string_view bytes) {
    if (fd_ < 0 || !connected_ || lost_)
        return 0;
    telnet_.clearReply();
    return sendAll(escaped(bytes)) ? static_cast<long>(bytes.size()) : -1;
}

int NetLink::NetSendCommand(std::string_view bytes, ReplyBuffer& reply, int timeoutMs, int kind) {
    std::string_view first, second;
    NetTelnet::terminatorsOf(kind, first, second);
    const auto timeout = std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
    return run(bytes, first, second, reply, timeout) == ExchangeOutcome::Ok ? 1 : 0;
}

ExchangeOutcome NetLink::exchange(std::string_view command, ReplyBuffer& reply,
                                  std::chrono::milliseconds timeout, int kind) {
    if (!administrator_) {
        reply.clear();
        return lost_ ? ExchangeOutcome::LinkLost : ExchangeOutcome::NoLink;
    }
    const Terminators terminators = TerminatorsOf(kind);
    const ExchangeOutcome outcome =
        run(command, terminators.first, terminators.second, reply, timeout);
    // whatever followed the terminator in the same read (an option command) is taken now
    drainInbox();
    if (outcome == ExchangeOutcome::TimedOut && terminators.empty())
        return ExchangeOutcome::UnknownKind;
    return outcome;
}

ExchangeOutcome NetLink::run(std::string_view bytes, std::string_view first,
                             std::string_view second, ReplyBuffer& reply,
                             std::chrono::milliseconds timeout) {
    reply.clear();
    if (lost_)
        return ExchangeOutcome::LinkLost;
    if (fd_ < 0 || !connected_)
        return ExchangeOutcome::NoLink;
    if (exchanging_)
        return ExchangeOutcome::Busy;
    exchanging_ = true;
    // what arrived before the command is not part of its reply, but its telnet commands still
    // want their answers
    drainInbox();
    telnet_.beginExchange(first, second);
    if (fd_ < 0 || !sendAll(escaped(bytes))) {
        telnet_.endExchange();
        exchanging_ = false;
        return lost_ ? ExchangeOutcome::LinkLost : ExchangeOutcome::WriteFailed;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    Pump& pump = ExchangePump();
    // NetClose from inside the wait (the window closed meanwhile) ends it too
    while (!telnet_.complete() && !lost_ && fd_ >= 0) {
        drainInbox();
        if (telnet_.complete())
            break;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            break;
        pump.waitFor(std::chrono::ceil<std::chrono::milliseconds>(deadline - now));
    }
    const ExchangeOutcome outcome = telnet_.complete() ? ExchangeOutcome::Ok
                                    : lost_            ? ExchangeOutcome::LinkLost
                                    : fd_ < 0          ? ExchangeOutcome::NoLink
                                                       : ExchangeOutcome::TimedOut;
    reply.assign(telnet_.reply(), telnet_.truncated());
    telnet_.endExchange();
    exchanging_ = false;
    return outcome;
}

}  // namespace kx
