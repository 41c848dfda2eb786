// CPU time of the process during a 2-second nested wait with nothing happening, the way the
// link's exchange waits for a reply that does not come: Pump::waitFor in a loop until the
// deadline. Reported as cpu_ms_per_s (goal: under 10). Runs the headless backend, and the Qt
// backend on the offscreen platform when it is built.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>

#include "ui/Backend.h"
#include "ui/Dialog.h"
#include "ui/MessageLoop.h"
#include "ui/TemplateBuilder.h"
#include "ui/headless/Headless.h"
#ifdef KX_BENCH_QT
#include "ui/qt/QtBackend.h"
#endif

namespace {

using namespace std::chrono_literals;

double processCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void idleWait(benchmark::State& state) {
    constexpr auto kWait = 2s;
    double cpuMs = 0;
    for (auto _ : state) {
        double before = processCpuMs();
        auto deadline = kx::ui::Clock::now() + kWait;
        // an exchange's wait: the reply never completes, the deadline ends it
        while (kx::ui::Clock::now() < deadline)
            kx::ui::pump().waitFor(
                std::chrono::ceil<std::chrono::milliseconds>(deadline - kx::ui::Clock::now()));
        cpuMs += processCpuMs() - before;
    }
    double seconds =
        std::chrono::duration<double>(kWait).count() * static_cast<double>(state.iterations());
    state.counters["cpu_ms_per_s"] = cpuMs / seconds;
}

void headlessIdleWait(benchmark::State& state) {
    kx::ui::headless::install();
    idleWait(state);
    kx::ui::installBackend(nullptr);
}
BENCHMARK(headlessIdleWait)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

#ifdef KX_BENCH_QT
void qtIdleWait(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "kx_ui_bench";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    kx::ui::qt::install(argc, argv);
    {
        // a wait window on the screen and a timer in the background, as during a settings read
        static const kx::ui::Template kWait{
            1,
            "",
            0,
            0,
            kx::ui::kNoCaption,
            0,
            {},
            {kx::ui::tpl::label("しばらくお待ちください！", kx::ui::kCentred)}};
        kx::ui::Dialog wait(kWait);
        wait.Create();
        kx::ui::setTimer(1, 1h, [] {});
        idleWait(state);
    }
    kx::ui::installBackend(nullptr);
}
BENCHMARK(qtIdleWait)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
