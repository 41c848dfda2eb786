#pragma once

#include <string>

#include "sim/PtyPort.h"
#include "sim/Session.h"
#include "sim/TelnetServerCodec.h"

namespace kx::sim {

// The pty master. Output that no one reads (no program has the port open) is thrown away after
// a short stall, together with what waits unread in the slave, so a program that opens the port
// later does not find stale replies.
class PtyTransport final : public Transport {
public:
    PtyTransport(PtyPort& port, const StopSignal& stop, bool paced)
        : port_(port), master_(port.master()), slave_(port.slave()), stop_(stop), pacer_(paced) {}
    int readFd() const override { return master_; }
    IoResult read(std::string& data) override;
    IoResult write(std::string_view bytes) override;
    // Lets the program read what was sent before the hang-up (a closing master discards the
    // slave's unread input); the serving loop then closes the pair.
    void drop() override;

    int watchFd() const override { return port_.closeWatch(); }
    void onWatch() override { port_.peerClosed(); }

private:
    PtyPort& port_;
    int master_, slave_;
    const StopSignal& stop_;
    Pacer pacer_;
};

// A telnet connection: option negotiation below the adapter, 255 escaped in data. Owns the
// socket: the destructor closes it in order, drop() resets it.
class TelnetTransport final : public Transport {
public:
    TelnetTransport(int socket, const StopSignal& stop, bool paced)
        : socket_(socket), stop_(stop), pacer_(paced) {}
    ~TelnetTransport() override;
    TelnetTransport(const TelnetTransport&) = delete;
    TelnetTransport& operator=(const TelnetTransport&) = delete;
    int readFd() const override { return socket_; }
    IoResult read(std::string& data) override;
    IoResult write(std::string_view bytes) override;
    // Resets the connection (RST rather than an orderly close).
    void drop() override;
    // The opening offers; call once before the session.
    IoResult negotiate();
    const TelnetServerCodec& codec() const { return codec_; }

private:
    int socket_;
    const StopSignal& stop_;
    Pacer pacer_;
    Pacer unpaced_{false};
    TelnetServerCodec codec_;
};

// Standard input and output (for a telnet server's login program, or a pipe).
class StdioTransport final : public Transport {
public:
    StdioTransport(int in, int out, const StopSignal& stop, bool paced)
        : in_(in), out_(out), stop_(stop), pacer_(paced) {}
    int readFd() const override { return in_; }
    IoResult read(std::string& data) override;
    IoResult write(std::string_view bytes) override;
    void drop() override {}

private:
    int in_, out_;
    const StopSignal& stop_;
    Pacer pacer_;
};

}  // namespace kx::sim
