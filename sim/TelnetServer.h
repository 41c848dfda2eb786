#pragma once

#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "sim/Adapter.h"
#include "sim/Session.h"

namespace kx::sim {

// The network side: a TCP listener whose connections each get a telnet login session, served
// on a thread of its own. At most kMaxSessions at once; one more is told so and closed.
class TelnetServer {
public:
    static constexpr int kMaxSessions = 4;

    struct Services {
        Device& device;
        Transcript& transcript;
        FaultSet& faults;
        const StopSignal& stop;
        AdapterOptions adapter;
        bool paced;
        std::function<void(const std::string&)> log;
    };

    // Binds the loopback (or every) interface at `port` (0: any free port).
    static std::unique_ptr<TelnetServer> listen(Services services, int port, bool all,
                                                std::string& error);
    ~TelnetServer();
    TelnetServer(const TelnetServer&) = delete;
    TelnetServer& operator=(const TelnetServer&) = delete;

    int port() const { return port_; }
    // After the stop signal was raised: waits for the listener and every session to end.
    void join();

private:
    struct Connection {
        std::thread thread;
        bool done = false;
    };

    TelnetServer(Services services, int fd, int port);
    void acceptLoop();
    void serve(int socket, Connection* self);
    void reap(bool all);

    Services services_;
    int listener_;
    int port_;
    std::thread acceptThread_;
    std::mutex mutex_;
    std::list<Connection> connections_;
};

}  // namespace kx::sim
