#include "cli/Interrupt.h"

#include <signal.h>
#include <unistd.h>

namespace kx::cli {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
volatile sig_atomic_t caught = 0;
struct sigaction earlier[3];

void onSignal(int signal) {
    if (caught != 0)
        _exit(128 + signal);  // the second one: at once
    caught = signal;
    constexpr char kNote[] =
        "kxctl: interrupted: finishing the exchange in flight, then leaving the adapter's "
        "command line (interrupt again to end at once)\n";
    (void)!::write(STDERR_FILENO, kNote, sizeof kNote - 1);
}

}  // namespace

InterruptGuard::InterruptGuard() {
    caught = 0;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // no SA_RESTART: a wait in poll() wakes, sees its deadline and goes on
    action.sa_flags = 0;
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &earlier[i]);
}

InterruptGuard::~InterruptGuard() {
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &earlier[i], nullptr);
}

int interruptSignal() {
    return caught;
}

const char* interruptName(int signal) {
    switch (signal) {
        case SIGINT:
            return "SIGINT";
        case SIGTERM:
            return "SIGTERM";
        case SIGHUP:
            return "SIGHUP";
        default:
            return "a signal";
    }
}

}  // namespace kx::cli
