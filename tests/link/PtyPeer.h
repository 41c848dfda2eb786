#pragma once

// The adapter's end of a pseudo-terminal for link tests: answers each command line it reads
// with the chunks a test script gives, optionally with gaps between them or a hang-up.

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
#include <vector>

namespace kx::test {

class PtyPeer {
public:
    struct Reply {
        std::vector<std::string> chunks;
        std::chrono::milliseconds gap{0};  // before every chunk after the first
        bool hangUp = false;               // close the master after the chunks: "unplugged"
    };
    using Responder = std::function<Reply(const std::string& command)>;
    static constexpr speed_t kInitialSpeed = B9600;

    explicit PtyPeer(Responder responder = {}) : responder_(std::move(responder)) {
        char name[128] = {};
        // Raw from the start (no echo of what the peer writes), at a speed the link must
        // change and restore.
        termios line{};
        cfmakeraw(&line);
        cfsetspeed(&line, kInitialSpeed);
        if (openpty(&master_, &slave_, name, &line, nullptr) == 0) {
            device_ = name;
        }
        // The peer keeps a slave descriptor of its own: with no slave open, the master
        // reports a hang-up to poll() and the peer would spin.
        if (pipe2(stop_, O_CLOEXEC) == 0) {
            thread_ = std::thread([this] { run(); });
        }
    }
    ~PtyPeer() {
        if (thread_.joinable()) {
            (void)!write(stop_[1], "x", 1);
            thread_.join();
        }
        closeMaster();
        for (int fd : {slave_, stop_[0], stop_[1]}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    bool ok() const { return master_ >= 0 && !device_.empty() && thread_.joinable(); }
    const std::string& device() const { return device_; }
    int master() const { return master_; }

    // Unsolicited bytes from the adapter, written now from the calling thread.
    void send(std::string_view bytes) {
        std::lock_guard lock(writeMutex_);
        if (master_ >= 0) {
            (void)!::write(master_, bytes.data(), bytes.size());
        }
    }

    std::vector<std::string> commands() const {
        std::lock_guard lock(mutex_);
        return commands_;
    }

private:
    void closeMaster() {
        std::lock_guard lock(writeMutex_);
        if (master_ >= 0) {
            ::close(master_);
            master_ = -1;
        }
    }

    void run() {
        std::string line;
        char buffer[256];
        for (;;) {
            pollfd fds[2] = {{master_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
            if (poll(fds, 2, -1) < 0 || fds[1].revents != 0) {
                return;
            }
            const ssize_t count = ::read(master_, buffer, sizeof buffer);
            if (count <= 0) {
                return;
            }
            for (ssize_t i = 0; i < count; ++i) {
                line += buffer[i];
                if (buffer[i] != '\r') {
                    continue;
                }
                {
                    std::lock_guard lock(mutex_);
                    commands_.push_back(line);
                }
                const Reply reply = responder_ ? responder_(line) : Reply{};
                line.clear();
                for (std::size_t c = 0; c < reply.chunks.size(); ++c) {
                    if (c > 0 && reply.gap.count() > 0) {
                        std::this_thread::sleep_for(reply.gap);
                    }
                    send(reply.chunks[c]);
                }
                if (reply.hangUp) {
                    closeMaster();
                    return;
                }
            }
        }
    }

    Responder responder_;
    int master_ = -1;
    int slave_ = -1;
    int stop_[2] = {-1, -1};
    std::string device_;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::mutex writeMutex_;
    std::vector<std::string> commands_;
};

}  // namespace kx::test
