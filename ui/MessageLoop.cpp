// The shared part of the message loop: the queue of posted calls, the timers and the watch
// callbacks. The installed backend sleeps, wakes and reports readable descriptors.

#include "ui/MessageLoop.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>
#include <vector>

#include "ui/Backend.h"

namespace kx::ui {
namespace {

struct Timer {
    std::chrono::milliseconds period{};
    Clock::time_point due{};
    std::uint64_t order = 0;       // set order, to break ties of equal due times
    std::uint64_t generation = 0;  // changes when the id is set again
    bool running = false;
    std::function<void()> call;
};

class UiPump final : public Pump {
public:
    void waitFor(std::chrono::milliseconds limit) override;
    void wake() override {
        if (hasBackend())
            backend().interrupt();
    }
};

struct LoopState {
    std::unique_ptr<Backend> backend;
    std::mutex postMutex;
    std::deque<std::function<void()>> posted;
    std::map<int, Timer> timers;
    std::uint64_t timerCounter = 0;
    std::map<int, std::function<void()>> watches;
    int nextWatchId = 1;
    UiPump pump;
};

LoopState& state() {
    static LoopState s;
    return s;
}

std::chrono::milliseconds until(Clock::time_point t) {
    auto now = Clock::now();
    if (t <= now)
        return std::chrono::milliseconds(0);
    // round up, so that a wait never ends just before its deadline and spins
    return std::chrono::ceil<std::chrono::milliseconds>(
        std::min(t - now, Clock::duration(std::chrono::hours(1))));
}

void runPosted() {
    LoopState& s = state();
    std::size_t count;
    {
        std::lock_guard lock(s.postMutex);
        count = s.posted.size();
    }
    // only the calls posted before this dispatch: a call that posts again runs next time
    for (std::size_t i = 0; i < count; ++i) {
        std::function<void()> call;
        {
            std::lock_guard lock(s.postMutex);
            if (s.posted.empty())
                return;
            call = std::move(s.posted.front());
            s.posted.pop_front();
        }
        call();
    }
}

void notifyTimers();

void runTimers() {
    LoopState& s = state();
    Clock::time_point now = Clock::now();
    struct Due {
        Clock::time_point due;
        std::uint64_t order;
        int id;
        std::uint64_t generation;
    };
    std::vector<Due> due;
    for (auto& [id, t] : s.timers)
        if (t.due <= now && !t.running)
            due.push_back({t.due, t.order, id, t.generation});
    std::sort(due.begin(), due.end(), [](const Due& a, const Due& b) {
        return a.due != b.due ? a.due < b.due : a.order < b.order;
    });
    for (const Due& d : due) {
        auto it = s.timers.find(d.id);
        if (it == s.timers.end() || it->second.generation != d.generation || it->second.running ||
            it->second.due != d.due)
            continue;  // killed or set again by an earlier call, or run in its nested wait
        Timer& t = it->second;
        t.running = true;
        t.due = Clock::now() + t.period;
        std::function<void()> call = t.call;
        notifyTimers();  // the others go on while this call runs a loop of its own (a message box)
        call();
        auto after = s.timers.find(d.id);
        if (after != s.timers.end() && after->second.generation == d.generation)
            after->second.running = false;
    }
}

void notifyTimers() {
    if (hasBackend())
        backend().timersChanged(loop::nextTimerDue());
}

void UiPump::waitFor(std::chrono::milliseconds limit) {
    Clock::time_point deadline = Clock::now() + limit;
    loop::dispatchDue();
    backend().wait(until(std::min(deadline, loop::nextTimerDue())));
    loop::dispatchDue();
}

}  // namespace

void Backend::idle(Dialog&, Clock::time_point nextDue) {
    wait(until(nextDue));
}

void installBackend(std::unique_ptr<Backend> b) {
    LoopState& s = state();
    {
        std::lock_guard lock(s.postMutex);
        s.posted.clear();
    }
    s.timers.clear();
    s.watches.clear();
    s.backend.reset();  // the old one goes before the new one takes the process-wide things
    s.backend = std::move(b);
}

Backend& backend() {
    LoopState& s = state();
    if (!s.backend) {
        std::fputs("kx::ui: no backend installed (install one in main before any dialog)\n",
                   stderr);
        std::abort();
    }
    return *s.backend;
}

bool hasBackend() {
    return state().backend != nullptr;
}

void postCall(std::function<void()> call) {
    LoopState& s = state();
    {
        std::lock_guard lock(s.postMutex);
        s.posted.push_back(std::move(call));
    }
    if (s.backend)
        s.backend->interrupt();
}

void setTimer(int id, std::chrono::milliseconds period, std::function<void()> call) {
    LoopState& s = state();
    Timer& t = s.timers[id];
    t.period = std::max(period, std::chrono::milliseconds(1));
    t.due = Clock::now() + t.period;
    t.order = ++s.timerCounter;
    t.generation = s.timerCounter;
    t.running = false;
    t.call = std::move(call);
    notifyTimers();
}

void killTimer(int id) {
    state().timers.erase(id);
    notifyTimers();
}

int watchReadable(int fd, std::function<void()> onReadable) {
    LoopState& s = state();
    int id = s.nextWatchId++;
    s.watches[id] = std::move(onReadable);
    backend().addWatch(id, fd);
    return id;
}

void unwatch(int watchId) {
    LoopState& s = state();
    if (s.watches.erase(watchId) && s.backend)
        s.backend->removeWatch(watchId);
}

bool pumpUntil(const std::function<bool()>& done, Clock::time_point deadline) {
    for (;;) {
        loop::dispatchDue();
        if (done())
            return true;
        if (Clock::now() >= deadline)
            return false;
        backend().wait(until(std::min(deadline, loop::nextTimerDue())));
    }
}

Pump& pump() {
    return state().pump;
}

void noteLogLine(std::string_view text) {
    if (hasBackend())
        backend().noteLogLine(text);
}

namespace loop {

void dispatchDue() {
    // the backend's own timer may be what called us: re-arm it first, so that a posted call
    // that shows a message box still has the layer's timers running inside the box
    notifyTimers();
    runPosted();
    runTimers();
    notifyTimers();
}

Clock::time_point nextTimerDue() {
    Clock::time_point next = Clock::time_point::max();
    for (auto& [id, t] : state().timers)
        if (!t.running)
            next = std::min(next, t.due);
    return next;
}

void watchReadable(int watchId) {
    LoopState& s = state();
    auto it = s.watches.find(watchId);
    if (it == s.watches.end())
        return;
    std::function<void()> call = it->second;  // the call may unwatch itself
    call();
}

}  // namespace loop
}  // namespace kx::ui
