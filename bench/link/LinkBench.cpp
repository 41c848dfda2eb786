// How much the serial exchange adds to the time the bytes spend on the wire, and what waiting
// costs in CPU. The peer is the adapter's end of a pty and sends at 115200 bit/s, 10 bits a
// byte (86.8 us a byte); it also holds back its reply for the wire time of the command.
//
//   kx_link_bench                 all of it
// Counters: wire_ms (wire time of command + reply), ratio (exchange time / wire time),
// overhead_us (exchange time - wire time), after_last_byte_us (from the peer writing the last
// byte to the exchange returning), link_cpu_ms_per_s (CPU of the link's threads per second of
// waiting, the peer's own CPU taken out), and the same split by thread with their wake-ups.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/prctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchSupport.h"
#include "link/BlockingPump.h"
#include "link/SerialLink.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::duration;
using std::chrono::nanoseconds;

constexpr auto kByteTime = nanoseconds(86806);  // 10 bits at 115200 bit/s

double cpuSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Answers every command line with `reply` (or stays silent when it is empty), paced.
class PacedPeer {
public:
    explicit PacedPeer(std::string reply) : reply_(std::move(reply)) {
        termios line{};
        cfmakeraw(&line);
        char name[128] = {};
        if (openpty(&master_, &slave_, name, &line, nullptr) == 0 && pipe2(stop_, O_CLOEXEC) == 0) {
            device_ = name;
            thread_ = std::thread([this] { run(); });
        }
    }
    ~PacedPeer() {
        if (thread_.joinable()) {
            (void)!write(stop_[1], "x", 1);
            thread_.join();
        }
        for (int fd : {master_, slave_, stop_[0], stop_[1]}) {
            if (fd >= 0) {
                close(fd);
            }
        }
    }
    const std::string& device() const { return device_; }
    Clock::time_point lastByteAt() const {
        return Clock::time_point(nanoseconds(lastByte_.load()));
    }
    double cpu() const { return cpu_.load(); }

private:
    void run() {
        // the line's bytes are due to the microsecond: no timer slack on this thread
        (void)prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
        char buffer[256];
        std::size_t pending = 0;  // command bytes read but not yet "on the wire"
        for (;;) {
            cpu_ = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
            pollfd fds[2] = {{master_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
            if (poll(fds, 2, -1) < 0 || fds[1].revents != 0) {
                return;
            }
            const auto arrived = Clock::now();
            const ssize_t count = read(master_, buffer, sizeof buffer);
            if (count <= 0) {
                return;
            }
            for (ssize_t i = 0; i < count; ++i) {
                ++pending;
                if (buffer[i] != '\r') {
                    continue;
                }
                // The command takes its wire time to arrive, then the reply goes out paced.
                const auto start = arrived + kByteTime * static_cast<long>(pending);
                pending = 0;
                std::size_t sent = 0;
                while (sent < reply_.size()) {
                    std::this_thread::sleep_until(start + kByteTime * static_cast<long>(sent));
                    const auto due =
                        static_cast<std::size_t>((Clock::now() - start) / kByteTime) + 1;
                    const std::size_t upTo = due < reply_.size() ? due : reply_.size();
                    if (upTo == reply_.size()) {
                        lastByte_ = Clock::now().time_since_epoch().count();
                    }
                    if (upTo > sent) {
                        (void)!write(master_, reply_.data() + sent, upTo - sent);
                        sent = upTo;
                    }
                }
            }
        }
    }

    std::string reply_;
    int master_ = -1;
    int slave_ = -1;
    int stop_[2] = {-1, -1};
    std::string device_;
    std::thread thread_;
    std::atomic<Clock::rep> lastByte_{0};
    std::atomic<double> cpu_{0};
};

std::string replyOf(std::size_t size, const std::string& command) {
    std::string reply = command + "\n";
    for (int i = 0; reply.size() + 24 < size; ++i) {
        reply += "label" + std::to_string(i % 100) + ": value\r\n";
    }
    reply.resize(size - 4, '.');
    return reply + "\r\n# ";
}

void BM_Exchange(benchmark::State& state) {
    const std::string command = "show analog tel1\r";
    const std::string reply = replyOf(static_cast<std::size_t>(state.range(0)), command);
    PacedPeer peer(reply);
    kx::BlockingPump pump;
    kx::SerialLink link(pump, {});
    const kx::OpenResult opened = link.open(peer.device());
    if (!opened.ok()) {
        state.SkipWithError(opened.reason.c_str());
        return;
    }
    const duration<double> wire = kByteTime * static_cast<long>(command.size() + reply.size());
    kx::ReplyBuffer buffer(kx::kMainReplyCapacity);
    double overhead = 0;
    double afterLast = 0;
    double ratio = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const auto outcome = link.exchange(command, buffer, std::chrono::seconds(10), 5);
        const auto end = Clock::now();
        const std::size_t kept =
            reply.size() < kx::kReceiveCapacity ? reply.size() : kx::kReceiveCapacity - 1;
        if (outcome != kx::ExchangeOutcome::Ok || buffer.size() != kept) {
            state.SkipWithError("exchange failed");
            return;
        }
        const duration<double> took = end - start;
        overhead += (took - wire).count();
        ratio += took / wire;
        afterLast += duration<double>(end - peer.lastByteAt()).count();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["wire_ms"] = wire.count() * 1e3;
    state.counters["ratio"] = ratio / n;
    state.counters["overhead_us"] = overhead / n * 1e6;
    state.counters["after_last_byte_us"] = afterLast / n * 1e6;
}
BENCHMARK(BM_Exchange)->Arg(24)->Arg(2048)->Unit(benchmark::kMillisecond)->Iterations(40);

// CPU while an exchange waits: for a reply that never comes (arg 0), and while a paced 2 KB
// reply streams in byte by byte (arg 2048). The link's two threads are also counted apart:
// reader_* is the reader thread, ui_* the thread that runs the exchange (CPU in ms and
// wake-ups, each per second of waiting).
void BM_WaitCpu(benchmark::State& state) {
    const std::string command = "show analog tel1\r";
    const bool silent = state.range(0) == 0;
    PacedPeer peer(silent ? std::string()
                          : replyOf(static_cast<std::size_t>(state.range(0)), command));
    kx::BlockingPump pump;
    kx::SerialLink link(pump, {});
    const std::vector<int> before = kx::bench::threadIds();
    if (!link.open(peer.device()).ok()) {
        state.SkipWithError("open failed");
        return;
    }
    const std::vector<int> started = kx::bench::newThreads(before, kx::bench::threadIds());
    if (started.size() != 1) {
        state.SkipWithError("cannot tell the reader thread apart");
        return;
    }
    const int readerThread = started.front();
    const int uiThread = kx::bench::currentThreadId();
    kx::ReplyBuffer buffer(kx::kMainReplyCapacity);
    double cpu = 0;
    double peerCpu = 0;
    double waited = 0;
    kx::bench::ThreadSample reader, ui;
    for (auto _ : state) {
        const double cpu0 = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        const double peer0 = peer.cpu();
        const kx::bench::ThreadSample reader0 = kx::bench::sampleThread(readerThread);
        const kx::bench::ThreadSample ui0 = kx::bench::sampleThread(uiThread);
        const auto start = Clock::now();
        link.exchange(command, buffer, std::chrono::milliseconds(1000), 5);
        waited += duration<double>(Clock::now() - start).count();
        const kx::bench::ThreadSample reader1 = kx::bench::sampleThread(readerThread);
        const kx::bench::ThreadSample ui1 = kx::bench::sampleThread(uiThread);
        reader.cpuMs += reader1.cpuMs - reader0.cpuMs;
        reader.wakeUps += reader1.wakeUps - reader0.wakeUps;
        ui.cpuMs += ui1.cpuMs - ui0.cpuMs;
        ui.wakeUps += ui1.wakeUps - ui0.wakeUps;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));  // let the peer settle its count
        peerCpu += peer.cpu() - peer0;
        cpu += cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0 - (peer.cpu() - peer0);
    }
    state.counters["waited_ms"] = waited / static_cast<double>(state.iterations()) * 1e3;
    state.counters["link_cpu_ms_per_s"] = cpu / waited * 1e3;
    state.counters["peer_cpu_ms_per_s"] = peerCpu / waited * 1e3;
    state.counters["reader_cpu_ms"] = reader.cpuMs / waited;
    state.counters["reader_wakeups"] = static_cast<double>(reader.wakeUps) / waited;
    state.counters["ui_cpu_ms"] = ui.cpuMs / waited;
    state.counters["ui_wakeups"] = static_cast<double>(ui.wakeUps) / waited;
}
BENCHMARK(BM_WaitCpu)->Arg(0)->Arg(2048)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
