// Endurance: CYCLES read-write cycles of every settings area in one process, against the
// emulated adapter on its pseudo-terminal (unpaced), through the program's serial link and the
// message loop's pump (headless). Each cycle, for each area of BenchAreas.cpp: read it, check
// that the adapter holds what the previous cycle wrote, change one item, write it. Resident
// memory and open descriptors are printed before the first cycle, after it (once everything
// the process keeps for the run exists), every tenth of the run, and at the end.
//
//   kx_endurance_bench [CYCLES]      (default 1000)
// Exit status: 0 when every exchange and check succeeded, 1 at the first that failed, 2 for a
// bad argument. Memory and descriptors are printed, not judged. Built with the asan preset's
// settings and run with a small CYCLES, it is also the LeakSanitizer run of the whole cycle.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/services/AreaContext.h"
#include "bench/BenchSupport.h"
#include "bench/area/BenchAreas.h"
#include "link/Exchange.h"
#include "link/SerialLink.h"
#include "link/TerminatorSearch.h"
#include "sim/Emulator.h"
#include "ui/Backend.h"
#include "ui/MessageLoop.h"
#include "ui/headless/Headless.h"

namespace {

using kx::bench::BenchArea;

void printUsage(long cycle, const char* note) {
    std::printf("%8ld %10ld %5d%s%s\n", cycle, kx::bench::residentKb(),
                kx::bench::openDescriptors(), *note ? "  " : "", note);
    std::fflush(stdout);
}

// One cycle of every area; false (with a message on standard error) at the first failure.
bool runCycle(long cycle, const kx::AreaContext& context) {
    const int value = static_cast<int>(cycle);
    for (const BenchArea& area : kx::bench::benchAreas()) {
        if (area.read(context) != 1) {
            std::fprintf(stderr, "cycle %ld: %s: the read failed\n", cycle, area.name);
            return false;
        }
        if (cycle > 0 && !area.holds(value - 1)) {
            std::fprintf(stderr, "cycle %ld: %s: the adapter lost the last cycle's value\n", cycle,
                         area.name);
            return false;
        }
        area.change(value);
        if (area.write(context) != 1) {
            std::fprintf(stderr, "cycle %ld: %s: the write failed\n", cycle, area.name);
            return false;
        }
    }
    return true;
}

int run(long cycles) {
    std::string error;
    auto adapter = kx::sim::Emulator::start(kx::sim::EmulatorOptions{}, error);
    if (!adapter) {
        std::fprintf(stderr, "the emulated adapter cannot start: %s\n", error.c_str());
        return 1;
    }
    const kx::OpenResult opened = kx::OpenSerialPort(adapter->ptyPath());
    if (!opened.ok()) {
        std::fprintf(stderr, "%s: %s\n", adapter->ptyPath().c_str(), opened.reason.c_str());
        return 1;
    }
    kx::ReplyBuffer reply;
    if (kx::SendCommand("ATT1\r", reply, 3000, kx::kTerminatorPrompt) != 1) {
        std::fprintf(stderr, "the adapter's command line does not answer\n");
        kx::CloseSerialPort();
        return 1;
    }
    kx::AreaContext context(reply);
    context.log = [](std::string_view) {};

    std::printf("%8s %10s %5s\n", "cycle", "rss_kb", "fds");
    printUsage(0, "start");
    const auto start = std::chrono::steady_clock::now();
    long startRss = 0;
    int startFds = 0;
    int status = 0;
    for (long cycle = 0; cycle < cycles; ++cycle) {
        if (!runCycle(cycle, context)) {
            status = 1;
            break;
        }
        // the emulator records every command line; that is the adapter's memory, not ours
        adapter->transcript().clear();
        const long done = cycle + 1;
        if (done == 1) {
            startRss = kx::bench::residentKb();
            startFds = kx::bench::openDescriptors();
            printUsage(done, "after the first cycle");
        } else if (done == cycles || done % (cycles >= 10 ? cycles / 10 : 1) == 0) {
            printUsage(done, "");
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long endRss = kx::bench::residentKb();
    const int endFds = kx::bench::openDescriptors();
    kx::CloseSerialPort();
    if (status == 0)
        std::printf(
            "%ld cycles of %zu areas in %.1f s; from cycle 1 to the end: rss %+ld KiB, "
            "descriptors %+d\n",
            cycles, kx::bench::benchAreas().size(), seconds, endRss - startRss, endFds - startFds);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    long cycles = 1000;
    char* end = nullptr;
    if (argc == 2)
        cycles = std::strtol(argv[1], &end, 10);
    if (argc > 2 || (argc == 2 && (*end != '\0' || cycles <= 0 || cycles > 100000000))) {
        std::fprintf(stderr, "usage: kx_endurance_bench [CYCLES]\n");
        return 2;
    }
    kx::ui::headless::install();
    kx::SetExchangePump(&kx::ui::pump());
    const int status = run(cycles);
    kx::SetExchangePump(nullptr);
    kx::ui::installBackend(nullptr);
    return status;
}
