#include "cli/PollPump.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace kx::cli {

PollPump::PollPump() : wakeFd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

PollPump::~PollPump() {
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
}

void PollPump::wake() {
    const std::uint64_t one = 1;
    if (wakeFd_ >= 0) [[maybe_unused]]
        ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

void PollPump::waitFor(std::chrono::milliseconds limit) {
    std::vector<pollfd> fds;
    fds.push_back({wakeFd_, POLLIN, 0});
    // a handler may add or remove watches, or wait again inside itself: work on a copy
    const std::vector<Watch> current = watches_;
    for (const Watch& watch : current) fds.push_back({watch.fd, POLLIN, 0});
    const int timeout = static_cast<int>(std::max<long long>(0, limit.count()));
    if (::poll(fds.data(), fds.size(), timeout) <= 0)
        return;
    if (fds[0].revents != 0) {
        std::uint64_t count = 0;
        [[maybe_unused]] ssize_t n = ::read(wakeFd_, &count, sizeof count);
    }
    for (std::size_t i = 1; i < fds.size(); ++i) {
        if (fds[i].revents == 0)
            continue;
        const int id = current[i - 1].id;
        const bool stillWatched = std::any_of(watches_.begin(), watches_.end(),
                                              [id](const Watch& w) { return w.id == id; });
        if (stillWatched)
            current[i - 1].onReadable();
    }
}

NetHooks PollPump::hooks() {
    NetHooks hooks;
    hooks.watch = [this](int fd, std::function<void()> onReadable) {
        const int id = nextId_++;
        watches_.push_back({id, fd, std::move(onReadable)});
        return id;
    };
    hooks.unwatch = [this](int id) {
        std::erase_if(watches_, [id](const Watch& w) { return w.id == id; });
    };
    return hooks;
}

}  // namespace kx::cli
