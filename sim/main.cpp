// kestrelx-sim: the emulated KESTRELX adapter as a program (see --help).

#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <mutex>

#include "sim/Emulator.h"
#include "sim/ProgramOptions.h"
#include "sim/StdioSession.h"

namespace {

kx::sim::StopSignal* stdioStop = nullptr;

void onSignal(int) {
    if (stdioStop != nullptr)
        stdioStop->raise();
}

std::mutex logMutex;

void logLine(const std::string& text) {
    std::lock_guard lock(logMutex);
    std::fprintf(stderr, "kestrelx-sim: %s\n", text.c_str());
}

int serve(kx::sim::EmulatorOptions options) {
    // the serving threads inherit this mask, so the signals come to sigwait below
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    options.log = logLine;
    std::string error;
    auto emulator = kx::sim::Emulator::start(options, error);
    if (!emulator) {
        logLine(error);
        return 1;
    }
    if (!emulator->ptyPath().empty()) {
        std::printf("pty: %s\n", emulator->ptyPath().c_str());
        if (!options.ptyLink.empty())
            std::printf("link: %s\n", options.ptyLink.c_str());
    }
    if (emulator->telnetPort() >= 0)
        std::printf("telnet: %d\n", emulator->telnetPort());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&signals, &signal);
    logLine(signal == SIGINT ? "interrupted, stopping" : "terminated, stopping");
    emulator->stop();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    kx::sim::ProgramOptions options;
    std::string error;
    if (!kx::sim::parseProgramOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "kestrelx-sim: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(kx::sim::usageText().c_str(), stdout);
        return 0;
    }
    if (options.mode == kx::sim::ProgramOptions::Mode::Serve)
        return serve(options.emulator);

    kx::sim::StopSignal stop;
    stdioStop = &stop;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    const bool serial = options.mode == kx::sim::ProgramOptions::Mode::StdioSerial;
    if (!kx::sim::serveStdio(options.emulator, serial, options.echoGiven, stop, error)) {
        std::fprintf(stderr, "kestrelx-sim: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
