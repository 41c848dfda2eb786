// What the area toolkit costs on top of the wire: the analog read (four "show" exchanges)
// against the emulated adapter paced at 115200 bit/s, and parsing one TEL port reply.
//
//   kx_area_bench
// Counters: read_ms (the whole read), wire_ms (the replies' bytes at 10 bits a byte),
// overhead_ms (read_ms - wire_ms).

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "analog/AnalogSettings.h"
#include "app/AreaContext.h"
#include "area/TableIO.h"
#include "link/Exchange.h"
#include "link/SerialLink.h"
#include "link/TerminatorSearch.h"
#include "sim/Emulator.h"

namespace {

using Clock = std::chrono::steady_clock;

void BM_AnalogReadOverThePacedLine(benchmark::State& state) {
    kx::sim::EmulatorOptions options;
    options.paced = true;
    std::string error;
    auto adapter = kx::sim::Emulator::start(options, error);
    if (!adapter || !kx::OpenSerialPort(adapter->ptyPath()).ok()) {
        state.SkipWithError(adapter ? "the port cannot be opened" : error.c_str());
        return;
    }
    kx::ReplyBuffer reply;
    kx::SendCommand("ATT1\r", reply, 3000, kx::kTerminatorPrompt);
    kx::AreaContext context(reply);

    // the bytes the adapter sends for one read: echo, lines and prompt of each reply
    std::size_t replyBytes = 0;
    for (const char* show :
         {"show analog tel1", "show analog tel2", "show analog tel3", "show analog common"})
        replyBytes += adapter->device().execute(show).body.size() + std::string(show).size() + 6;
    const double wireMs = static_cast<double>(replyBytes) * 10.0 / 115200.0 * 1000.0;

    double totalMs = 0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        if (kx::ReadAnalogSettings(context) != 1) {
            state.SkipWithError("the read failed");
            break;
        }
        totalMs += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    kx::CloseSerialPort();
    const double readMs = totalMs / static_cast<double>(state.iterations());
    state.counters["read_ms"] = readMs;
    state.counters["wire_ms"] = wireMs;
    state.counters["overhead_ms"] = readMs - wireMs;
}
BENCHMARK(BM_AnalogReadOverThePacedLine)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_ParseTelPortReply(benchmark::State& state) {
    kx::sim::Device device;
    const std::string reply =
        "show analog tel1\r\n" + device.execute("show analog tel1").body + "\r\n# ";
    kx::TelPortSettings port;
    for (auto _ : state) {
        kx::area::readItems(reply, kx::telPortItems(), port);
        benchmark::DoNotOptimize(port);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * reply.size()));
}
BENCHMARK(BM_ParseTelPortReply);

}  // namespace

BENCHMARK_MAIN();
