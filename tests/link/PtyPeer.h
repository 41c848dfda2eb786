#pragma once

// The adapter's end of a pseudo-terminal for link tests: answers each command line it reads
// with the chunks a test gives, optionally with gaps between them.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace kx::test {

class PtyPeer {
public:
    struct Reply {
        std::vector<std::string> chunks;
        std::chrono::milliseconds gap{0};  // before every chunk after the first
    };
    using Responder = std::function<Reply(const std::string& command)>;
    static constexpr speed_t kInitialSpeed = B9600;

    // Raw from the start (no echo of what the peer writes), at a speed the link must change
    // and restore. The peer keeps its own slave descriptor: with no slave open the master
    // reports a hang-up to poll() and the peer would spin.
    explicit PtyPeer(Responder responder = {}) : responder_(std::move(responder)) {
        char name[128] = {};
        termios line{};
        cfmakeraw(&line);
        cfsetspeed(&line, kInitialSpeed);
        if (openpty(&master_, &slave_, name, &line, nullptr) == 0 && pipe2(stop_, O_CLOEXEC) == 0) {
            device_ = name;
            thread_ = std::thread([this] { run(); });
        }
    }
    ~PtyPeer() {
        if (thread_.joinable()) {
            (void)!write(stop_[1], "x", 1);
            thread_.join();
        }
        for (int fd : {master_, slave_, stop_[0], stop_[1]}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }

    bool ok() const { return thread_.joinable(); }
    const std::string& device() const { return device_; }
    int master() const { return master_; }

    // Unsolicited bytes from the adapter, written now from the calling thread.
    void send(std::string_view bytes) {
        std::lock_guard lock(mutex_);
        if (master_ >= 0) {
            (void)!::write(master_, bytes.data(), bytes.size());
        }
    }
    std::vector<std::string> commands() const {
        std::lock_guard lock(mutex_);
        return commands_;
    }

private:
    void run() {
        std::string line;
        char c = 0;
        for (;;) {
            pollfd fds[2] = {{master_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
            if (poll(fds, 2, -1) < 0 || fds[1].revents != 0 || ::read(master_, &c, 1) != 1) {
                return;
            }
            if ((line += c).back() != '\r') {
                continue;
            }
            {
                std::lock_guard lock(mutex_);
                commands_.push_back(line);
            }
            const Reply reply = responder_ ? responder_(line) : Reply{};
            line.clear();
            for (std::size_t i = 0; i < reply.chunks.size(); ++i) {
                if (i > 0) {
                    std::this_thread::sleep_for(reply.gap);
                }
                send(reply.chunks[i]);
            }
        }
    }

    Responder responder_;
    int master_ = -1, slave_ = -1;
    int stop_[2] = {-1, -1};
    std::string device_;
    std::thread thread_;
    mutable std::mutex mutex_;  // for the master's writes and the commands
    std::vector<std::string> commands_;
};

}  // namespace kx::test
