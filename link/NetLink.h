#pragma once

// The network link to the adapter: TCP (port 23 unless told otherwise) to its HomePNA side, a
// minimal telnet client (NetTelnet.h), and the two-password login. Once the administrator
// login has completed it is the link SendCommand runs over.
//
// Threads: everything on the UI thread. The socket is non-blocking; the message loop watches
// it (NetHooks) and the received bytes are pushed into the telnet machine from there. The
// login runs nested inside the notification that delivered the password prompt, waiting in
// ExchangePump() like every exchange.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "link/Link.h"
#include "link/NetTelnet.h"

namespace kx {

// What the network link needs of the message loop. `watch` calls `onReadable` on the UI thread
// whenever the descriptor is readable (or has an error or a hang-up to report) and returns a
// watch id; `unwatch` ends it. `setTimer` runs its call every `period` until `killTimer`
// (one timer per link; used only while the connect is in progress). The timer pair may be
// empty: the connect is then noticed when the first bytes arrive.
struct NetHooks {
    std::function<int(int fd, std::function<void()> onReadable)> watch;
    std::function<void(int watchId)> unwatch;
    std::function<void(std::chrono::milliseconds period, std::function<void()> call)> setTimer;
    std::function<void()> killTimer;
};

inline constexpr int kTelnetPort = 23;
inline constexpr int kNetLoginTimeoutMs = 3000;

// The login's log lines.
inline constexpr std::string_view kLogConnectOk = "connect ok\r\n";
inline constexpr std::string_view kLogIacData = "IAC data\r\n";
inline constexpr std::string_view kLogLoginOk = "Local Password Check OK\r\n";
inline constexpr std::string_view kLogLoginError = "Local Password Check ERROR\r\n";
inline constexpr std::string_view kLogAdminPromptError = "administrator Password Input ERROR\r\n";
inline constexpr std::string_view kLogAdminOk = "administrator Password Check OK\r\n";
inline constexpr std::string_view kLogAdminError = "administrator Password Check ERROR\r\n";

// A dotted IPv4 address, four decimal fields 0..255 and nothing after them, in network byte
// order. False for anything else (empty text too).
bool ParseIpv4(std::string_view text, std::uint32_t& address);

class NetLink final : public Link {
public:
    using LogFn = std::function<void(std::string_view line)>;

    // `log` receives every log line of the link; `onAdministrator` runs once the administrator
    // login has completed (the main window's connectionState becomes LoggedIn there).
    NetLink(NetHooks hooks, LogFn log, std::function<void()> onAdministrator = {});
    ~NetLink() override;  // closes the connection
    NetLink(const NetLink&) = delete;
    NetLink& operator=(const NetLink&) = delete;

    // Starts a non-blocking connect to `address` (dotted IPv4) at `port`, to log in with the
    // two passwords when the adapter asks. True when the connect was started; false (with a
    // log line saying why) on a bad address or password, or when no socket could be made.
    bool NetConnect(const std::string& address, int port, std::string loginPassword,
                    std::string adminPassword);

    // Sends bytes as they are (every 255 doubled, as telnet wants). Returns the count sent,
    // 0 when not connected, negative on a socket error (the link is then lost).
    long NetSend(std::string_view bytes);

    // A login exchange: sends `bytes`, waits up to timeoutMs for the terminator of the network
    // kind (kNetTerminator...). 1 when it arrived in time, 0 otherwise. The reply receives
    // what arrived.
    int NetSendCommand(std::string_view bytes, ReplyBuffer& reply, int timeoutMs, int kind);

    // Resets the connection (linger 0) and forgets it. Harmless when nothing is open.
    void NetClose();

    // See Link::exchange: the settings commands, with SendCommand's terminator kinds
    // (TerminatorSearch.h). Fails at once when not logged in as administrator (NoLink) or
    // after the connection was lost (LinkLost).
    ExchangeOutcome exchange(std::string_view command, ReplyBuffer& reply,
                             std::chrono::milliseconds timeout, int kind) override;

    bool connected() const { return connected_; }
    bool administrator() const { return administrator_; }
    bool lost() const { return lost_; }
    // Login time-outs (3000 ms; tests shorten them).
    void setLoginTimeoutMs(int ms) { loginTimeoutMs_ = ms; }

private:
    void onReadable();
    void checkConnect();
    void connectCompleted(int error);
    void drainInbox();
    void login();
    void markLost(const std::string& reason);
    void stopWatching();
    ExchangeOutcome run(std::string_view bytes, std::string_view first, std::string_view second,
                        ReplyBuffer& reply, std::chrono::milliseconds timeout);
    // Writes bytes as they are (telnet answers, or data already escaped); false once lost.
    bool sendAll(std::string_view wire);
    static std::string escaped(std::string_view data);

    NetHooks hooks_;
    LogFn log_;
    std::function<void()> onAdministrator_;
    int fd_ = -1;
    int watchId_ = -1;
    bool timerRunning_ = false;
    bool connecting_ = false;
    bool connected_ = false;
    bool lost_ = false;
    bool administrator_ = false;
    bool exchanging_ = false;
    bool loginRunning_ = false;
    int loginTimeoutMs_ = kNetLoginTimeoutMs;
    std::string loginPassword_;
    std::string adminPassword_;
    NetTelnet telnet_;
    // Bytes read but not yet pushed: a nested wait (the login runs inside the notification
    // that delivered the prompt) goes on where the outer one stopped, so the order holds.
    std::string inbox_;
    std::size_t inboxPos_ = 0;
};

}  // namespace kx
