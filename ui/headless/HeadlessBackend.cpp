// The headless backend: poll(2) on an eventfd (the wake-up) and the watched descriptors.

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include "ui/Dialog.h"
#include "ui/headless/Headless.h"
#include "ui/headless/HeadlessWindow.h"

namespace kx::ui::headless {
namespace {

class HeadlessBackend final : public Backend {
public:
    explicit HeadlessBackend(std::shared_ptr<ScriptUser> user) : user_(std::move(user)) {
        wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (wakeFd_ < 0) {
            std::perror("kx::ui headless: eventfd");
            std::abort();
        }
    }
    ~HeadlessBackend() override { ::close(wakeFd_); }

    void wait(std::chrono::milliseconds timeout) override { pollOnce(timeout); }

    void interrupt() override {
        std::uint64_t one = 1;
        // a full counter (never in practice) still leaves the descriptor readable
        [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
    }

    void addWatch(int watchId, int fd) override { watches_[watchId] = fd; }
    void removeWatch(int watchId) override { watches_.erase(watchId); }

    std::unique_ptr<WindowPeer> createWindow(Dialog& dialog, Dialog*, bool) override {
        return std::make_unique<HeadlessWindow>(dialog, dialog.GetTemplate());
    }

    void idle(Dialog& modal, Clock::time_point nextDue) override {
        // the user is asked only when nothing else is ready: readable descriptors go first
        if (pollOnce(std::chrono::milliseconds(0)))
            return;
        if (user_)
            user_->idle(modal, nextDue);
        else
            Backend::idle(modal, nextDue);
    }

    int messageBox(const MessageBoxRequest& request) override {
        return user_ ? user_->messageBox(request) : IDOK;
    }

    std::optional<std::string> chooseFile(const FileRequest& request) override {
        return user_ ? user_->chooseFile(request) : std::nullopt;
    }

    void noteLogLine(std::string_view text) override {
        if (user_)
            user_->noteLogLine(text);
    }

private:
    // Sleeps up to `timeout` for the wake-up or a watched descriptor, then runs the watches
    // that are readable. Returns whether anything happened.
    bool pollOnce(std::chrono::milliseconds timeout) {
        std::vector<pollfd> fds{{wakeFd_, POLLIN, 0}};
        std::vector<int> ids;
        for (auto& [id, fd] : watches_) {
            fds.push_back({fd, POLLIN, 0});
            ids.push_back(id);
        }
        int ready = ::poll(fds.data(), fds.size(), static_cast<int>(timeout.count()));
        if (ready <= 0)
            return false;  // time-out, or a signal (EINTR): the caller loops
        if (fds[0].revents & POLLIN) {
            std::uint64_t count;
            [[maybe_unused]] ssize_t n = ::read(wakeFd_, &count, sizeof count);
        }
        for (std::size_t i = 0; i < ids.size(); ++i)
            if (fds[i + 1].revents && watches_.count(ids[i]))
                loop::watchReadable(ids[i]);
        return true;
    }

    std::shared_ptr<ScriptUser> user_;
    int wakeFd_ = -1;
    std::map<int, int> watches_;  // watch id -> descriptor
};

}  // namespace

void install(std::shared_ptr<ScriptUser> user) {
    installBackend(std::make_unique<HeadlessBackend>(std::move(user)));
}

}  // namespace kx::ui::headless
