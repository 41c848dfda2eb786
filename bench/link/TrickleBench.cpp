// CPU and wake-ups while a long reply trickles in at line speed, thread by thread. The emulated
// adapter, paced at 115200 bit/s, answers "show analog tel1" padded to about one second of
// line time; the serial link's reader thread receives it while the user-interface thread waits
// in the message loop's pump, as during every settings read (the headless backend, and the Qt
// backend on the offscreen platform when it is built).
//
//   kx_trickle_bench
// Counters, per second of the reply: reader_cpu_ms and reader_wakeups (the link's reader
// thread), ui_cpu_ms and ui_wakeups (the thread that runs the exchange), link_cpu_ms (the two
// together; the emulator's own threads are left out), and after_reply_us (from the start of
// the exchange to its end, less the reply's wire time).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "bench/BenchSupport.h"
#include "link/Exchange.h"
#include "link/SerialLink.h"
#include "link/TerminatorSearch.h"
#include "sim/Emulator.h"
#include "ui/Backend.h"
#include "ui/MessageLoop.h"
#include "ui/headless/Headless.h"
#ifdef KX_BENCH_QT
#include "ui/qt/QtBackend.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

constexpr long kReplyBytes = 11520;  // one second at 10 bits a byte
constexpr const char* kCommand = "show analog tel1";

void trickle(benchmark::State& state) {
    kx::sim::EmulatorOptions options;
    options.paced = true;
    kx::sim::FaultRule padded;
    padded.kind = kx::sim::FaultRule::Kind::Long;
    padded.value = kReplyBytes;
    padded.pattern = kCommand;
    options.faults.push_back(padded);
    std::string error;
    auto adapter = kx::sim::Emulator::start(options, error);
    if (!adapter) {
        state.SkipWithError(error.c_str());
        return;
    }
    kx::SetExchangePump(&kx::ui::pump());
    const std::vector<int> before = kx::bench::threadIds();
    if (!kx::OpenSerialPort(adapter->ptyPath()).ok()) {
        state.SkipWithError("the port cannot be opened");
        kx::SetExchangePump(nullptr);
        return;
    }
    const std::vector<int> started = kx::bench::newThreads(before, kx::bench::threadIds());
    if (started.size() != 1) {
        state.SkipWithError("cannot tell the reader thread apart");
        kx::CloseSerialPort();
        kx::SetExchangePump(nullptr);
        return;
    }
    const int reader = started.front();
    const int ui = kx::bench::currentThreadId();
    const std::string command = std::string(kCommand) + "\r";
    // the program's once-a-second timer that delivers link events runs during every read
    kx::ui::setTimer(1, std::chrono::seconds(1), [] {});

    kx::ReplyBuffer reply;
    // the adapter takes settings commands once its command line is on
    kx::SendCommand("ATT1\r", reply, 3000, kx::kTerminatorPrompt);
    double seconds = 0, afterReply = 0, wire = 0;
    kx::bench::ThreadSample readerTotal, uiTotal;
    for (auto _ : state) {
        const kx::bench::ThreadSample reader0 = kx::bench::sampleThread(reader);
        const kx::bench::ThreadSample ui0 = kx::bench::sampleThread(ui);
        const auto start = Clock::now();
        if (kx::SendCommand(command, reply, 10000, kx::kTerminatorPrompt) != 1) {
            state.SkipWithError("the exchange failed");
            break;
        }
        const auto took = std::chrono::duration<double>(Clock::now() - start).count();
        const kx::bench::ThreadSample reader1 = kx::bench::sampleThread(reader);
        const kx::bench::ThreadSample ui1 = kx::bench::sampleThread(ui);
        // every byte the adapter sent crossed the line: echo, lines, prompt
        const double wireSeconds =
            static_cast<double>(kx::ProcessSerialLink()->receivedCount()) * 10.0 / 115200.0;
        seconds += took;
        wire += wireSeconds;
        afterReply += took - wireSeconds;
        readerTotal.cpuMs += reader1.cpuMs - reader0.cpuMs;
        readerTotal.wakeUps += reader1.wakeUps - reader0.wakeUps;
        uiTotal.cpuMs += ui1.cpuMs - ui0.cpuMs;
        uiTotal.wakeUps += ui1.wakeUps - ui0.wakeUps;
    }
    kx::ui::killTimer(1);
    kx::CloseSerialPort();
    kx::SetExchangePump(nullptr);
    if (seconds <= 0)
        return;
    state.counters["wire_ms"] = wire / static_cast<double>(state.iterations()) * 1e3;
    state.counters["reader_cpu_ms"] = readerTotal.cpuMs / seconds;
    state.counters["reader_wakeups"] = static_cast<double>(readerTotal.wakeUps) / seconds;
    state.counters["ui_cpu_ms"] = uiTotal.cpuMs / seconds;
    state.counters["ui_wakeups"] = static_cast<double>(uiTotal.wakeUps) / seconds;
    state.counters["link_cpu_ms"] = (readerTotal.cpuMs + uiTotal.cpuMs) / seconds;
    state.counters["after_reply_us"] = afterReply / static_cast<double>(state.iterations()) * 1e6;
}

void headlessTrickle(benchmark::State& state) {
    kx::ui::headless::install();
    trickle(state);
    kx::ui::installBackend(nullptr);
}
BENCHMARK(headlessTrickle)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

#ifdef KX_BENCH_QT
void qtTrickle(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "kx_trickle_bench";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    kx::ui::qt::install(argc, argv);
    trickle(state);
    kx::ui::installBackend(nullptr);
}
BENCHMARK(qtTrickle)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
