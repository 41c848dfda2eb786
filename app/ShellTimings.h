#pragma once

#include <chrono>

namespace kx {

// The waits and time-outs of the shell's own exchanges (probe, close path, maintenance).
// The program uses these values unchanged; tests shorten the long ones so that a failing probe
// does not cost seconds each.
struct ShellTimings {
    std::chrono::milliseconds probeSettle{1000};  // after opening the port, before "ATI\r"
    int atTimeoutMs = 3000;                       // "ATI\r", "AT%I2\r", "AT%M\r", "ATT1\r"
    int probeFinalTimeoutMs = 500;                // the bare "\r" after "ATT1\r"
    int fromwrTimeoutMs = 10000;                  // "fromwr 15\r" at close
    int exitTimeoutMs = 3000;                     // "exit\r" at close
    int commandTimeoutMs = 10000;                 // "restart\r", date and time, settings
};

// The timings in force; tests may change them.
ShellTimings& shellTimings();

}  // namespace kx
