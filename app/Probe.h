#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "app/ShellTimings.h"

namespace kx {

// One exchange into the main window's reply buffer: sends `command`, waits up to `timeoutMs`
// for the terminator of `kind`; true when it arrived. `reply` then views what was received
// (also after a failure: whatever did arrive).
using ShellExchange =
    std::function<bool(std::string_view command, int timeoutMs, int kind, std::string_view& reply)>;
// Waits the given time while the user interface keeps running.
using ShellWait = std::function<void(std::chrono::milliseconds)>;

struct ProbeOutcome {
    bool ok = false;
    std::string message;              // UTF-8 message box text when !ok
    std::string firmwareVersionText;  // "Version " and five more bytes, as the adapter sent them
};

// The device probe on the freshly opened serial port: a settling wait, then "ATI\r" (the reply
// must contain deviceName, letters without regard to case), "AT%I2\r" (must contain "Version "),
// "AT%M\r", "ATT1\r" (answers with the command prompt) and a bare "\r" whose result does not
// matter (it ends at an OK line or the prompt, kTerminatorOkOrPrompt, or at its time-out).
// Stops at the first failed step. deviceName is in the adapter's bytes (CP932).
ProbeOutcome runProbe(const ShellExchange& exchange, const ShellWait& wait,
                      std::string_view deviceName, const ShellTimings& timings);

// "%sが接続されていません。" with the device name (CP932 bytes, shown as UTF-8).
std::string notConnectedMessage(std::string_view deviceName);

}  // namespace kx
