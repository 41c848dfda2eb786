// Time from the program's start to its main window being ready for the user, against the
// emulated adapter paced at 115200 bit/s, headless. The probe's fixed settling wait after
// opening the port (1000 ms) is left out; everything else is counted, the bare "\r" at the
// probe's end too (it ends at the adapter's prompt; until it did, it always waited its 500 ms).
//
//   kx_app_bench
// Counters: ready_ms (start -> main window takes the first click).

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/AreaRegistry.h"
#include "app/Profile.h"
#include "app/SetupApp.h"
#include "app/ShellTimings.h"
#include "app/services/AppState.h"
#include "res/ShellIds.h"
#include "sim/Emulator.h"
#include "ui/headless/Headless.h"

namespace {

using Clock = std::chrono::steady_clock;

void BM_StartToMainWindowReady(benchmark::State& state) {
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / "kx-app-bench";
    fs::create_directories(folder);
    fs::current_path(folder);
    kx::StartupDirectory();
    std::ofstream(kx::SettingsFilePath(folder.string()))
        << "[MODE]\nKIKI=KESTRELX\n[PORTSEL]\nPORT=0\nCOM=1\n";

    kx::sim::EmulatorOptions options;
    options.paced = true;
    std::string error;
    auto adapter = kx::sim::Emulator::start(options, error);
    if (!adapter) {
        state.SkipWithError(error.c_str());
        return;
    }
    kx::shellTimings().probeSettle = std::chrono::milliseconds(0);

    // the first click on the main window marks it ready
    Clock::time_point ready;
    kx::AreaHandlers mark;
    mark.read = [&ready](kx::AreaContext&) {
        ready = Clock::now();
        return 0;
    };
    mark.run = [](kx::ui::Dialog&, kx::AreaContext&) { return 2; };
    kx::registerArea(kx::IDC_MAIN_ANALOG, mark);

    double totalMs = 0;
    for (auto _ : state) {
        kx::resetAppState();
        auto user = kx::ui::headless::ScriptUser::fromText(
            "dialog 129\nclick 1\ndialog 102\nclick 1539\nclick 1590\n");
        std::ostringstream sink;
        user->setOutput(sink);
        kx::ui::headless::install(std::shared_ptr<kx::ui::headless::ScriptUser>(std::move(user)));
        kx::CMainDlg::Config config;
        config.runDevice = adapter->ptyPath();
        kx::CSetupApp app(config);
        Clock::time_point start = Clock::now();
        app.InitInstance();
        double ms = std::chrono::duration<double, std::milli>(ready - start).count();
        state.SetIterationTime(ms / 1000.0);
        totalMs += ms;
    }
    state.counters["ready_ms"] = totalMs / static_cast<double>(state.iterations());
    kx::clearAreas();
    fs::current_path("/");
    fs::remove_all(folder);
}
BENCHMARK(BM_StartToMainWindowReady)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
