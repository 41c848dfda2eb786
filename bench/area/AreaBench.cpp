// A full read of each settings area, and of all of them in turn, over the serial line at
// 115200 bit/s, against the wire time of its bytes; and, inside a read, the gap from the last
// byte of a reply reaching the program to the first byte of its next command leaving it. The
// areas are the rows of BenchAreas.cpp; the exchange waits in the message loop's pump
// (headless), as in the program.
//
//   kx_area_bench
// Rows FullRead/AREA/line: the line tap (LineTap.h) paces both directions byte by byte and the
// emulated adapter answers at once, so the wire time is exact. Rows FullRead/AREA/emulator:
// the emulated adapter paces its replies itself and the tap only watches; it sends each 16-byte
// piece at the start of its line time, so a reply ends up to 1.4 ms early and the ratio there
// flatters the program a little. AREA "all" reads every area in turn.
// Counters, each the median over the reads (a loaded machine's scheduling delays hit a few
// reads hard; gap_max_us shows them): read_ms (one read), wire_ms (its bytes at 10 bits a byte:
// commands and replies on the paced line; replies only behind the pacing emulator, whose input
// takes no time), ratio (read_ms / wire_ms; goal: at most 1.05), own_ms (the program's own
// part of read_ms: before its first command, from each reply's last byte to the next command,
// after the last reply), ratio_exact_line ((wire_ms + own_ms) / wire_ms: the ratio on a line
// that keeps time exactly), gap_us (each gap; goal: under 1000) and gap_max_us, exchanges.
//
// The emulator and the tap run with no timer slack, so the line keeps time as well as the
// machine lets it; the program's own threads keep the system's default. On a loaded machine
// the line's threads wake late too, which ratio counts against the program and
// ratio_exact_line does not.

#include <benchmark/benchmark.h>
#include <sys/prctl.h>

#include <algorithm>
#include <chrono>
#include <numeric>
#include <string>
#include <vector>

#include "analog/AnalogSettings.h"
#include "app/services/AreaContext.h"
#include "area/TableIO.h"
#include "bench/area/BenchAreas.h"
#include "bench/area/LineTap.h"
#include "link/Exchange.h"
#include "link/SerialLink.h"
#include "link/TerminatorSearch.h"
#include "sim/Emulator.h"
#include "ui/Backend.h"
#include "ui/MessageLoop.h"
#include "ui/headless/Headless.h"

namespace {

using Clock = std::chrono::steady_clock;
using kx::bench::BenchArea;
using kx::bench::LineTap;

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

void fullRead(benchmark::State& state, const std::vector<const BenchArea*>& areas, bool linePaced) {
    kx::ui::headless::install();
    kx::SetExchangePump(&kx::ui::pump());
    kx::sim::EmulatorOptions options;
    options.paced = !linePaced;
    std::string error;
    (void)prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);  // inherited by the emulator's threads
    auto adapter = kx::sim::Emulator::start(options, error);
    (void)prctl(PR_SET_TIMERSLACK, 0UL, 0UL, 0UL, 0UL);  // back to the default for the link
    std::unique_ptr<LineTap> tap;
    if (adapter) {
        tap = std::make_unique<LineTap>(adapter->ptyPath(), linePaced);
        error = tap->error();
    }
    if (!adapter || !tap->ok() || !kx::OpenSerialPort(tap->device()).ok()) {
        state.SkipWithError(error.empty() ? "the port cannot be opened" : error.c_str());
        tap.reset();
        kx::SetExchangePump(nullptr);
        kx::ui::installBackend(nullptr);
        return;
    }
    kx::ReplyBuffer reply;
    kx::SendCommand("ATT1\r", reply, 3000, kx::kTerminatorPrompt);
    kx::AreaContext context(reply);

    using Seconds = std::chrono::duration<double>;
    const double byteSeconds = Seconds(LineTap::kByteTime).count();
    // per iteration: read time, wire time, the program's own time; and every gap
    std::vector<double> reads, wires, owns, gaps;
    std::size_t exchanges = 0;
    tap->take();
    for (auto _ : state) {
        double read = 0, wire = 0, own = 0;
        for (const BenchArea* area : areas) {
            tap->beginRead();
            const Clock::time_point start = Clock::now();
            if (area->read(context) != 1) {
                state.SkipWithError((std::string(area->name) + ": the read failed").c_str());
                break;
            }
            const Clock::time_point end = Clock::now();
            const LineTap::Counts counts = tap->take();
            read += Seconds(end - start).count();
            wire += byteSeconds *
                    static_cast<double>(counts.replyBytes + (linePaced ? counts.commandBytes : 0));
            // the program's own part: before its first command, between a reply and the next
            // command, after the last reply
            own += Seconds(counts.firstCommand - start).count() +
                   std::accumulate(counts.gapsUs.begin(), counts.gapsUs.end(), 0.0) * 1e-6 +
                   Seconds(end - counts.lastReply).count();
            exchanges += counts.gapsUs.size() + 1;
            gaps.insert(gaps.end(), counts.gapsUs.begin(), counts.gapsUs.end());
        }
        state.SetIterationTime(read);
        reads.push_back(read);
        wires.push_back(wire);
        owns.push_back(own);
    }
    kx::CloseSerialPort();
    tap.reset();
    kx::SetExchangePump(nullptr);
    kx::ui::installBackend(nullptr);
    if (reads.empty() || wires.front() <= 0)
        return;
    std::vector<double> ratios, exactRatios;
    for (std::size_t i = 0; i < reads.size(); ++i) {
        ratios.push_back(reads[i] / wires[i]);
        exactRatios.push_back((wires[i] + owns[i]) / wires[i]);
    }
    state.counters["read_ms"] = median(reads) * 1e3;
    state.counters["wire_ms"] = median(wires) * 1e3;
    state.counters["ratio"] = median(ratios);
    state.counters["own_ms"] = median(owns) * 1e3;
    state.counters["ratio_exact_line"] = median(exactRatios);
    state.counters["exchanges"] =
        static_cast<double>(exchanges) / static_cast<double>(reads.size());
    if (!gaps.empty()) {
        state.counters["gap_us"] = median(gaps);
        state.counters["gap_max_us"] = *std::max_element(gaps.begin(), gaps.end());
    }
}

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

int main(int argc, char** argv) {
    for (const bool line : {true, false}) {
        const std::string how = line ? "/line" : "/emulator";
        std::vector<const BenchArea*> all;
        auto add = [line](const std::string& name, std::vector<const BenchArea*> areas) {
            benchmark::RegisterBenchmark(
                ("FullRead/" + name).c_str(),
                [areas, line](benchmark::State& state) { fullRead(state, areas, line); })
                ->Iterations(20)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        };
        for (const BenchArea& area : kx::bench::benchAreas()) {
            all.push_back(&area);
            add(area.name + how, {&area});
        }
        add("all" + how, all);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
