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
// One line for the log pane, in English, without its line end. May be empty (no log).
using ShellLog = std::function<void(const std::string& line)>;

// Which step of the probe failed, for callers that word their own messages (kxctl's English).
enum class ProbeFailure {
    None,
    NoReply,       // `failedCommand` got no complete reply within its time-out
    NotTheDevice,  // the "ATI" reply lacks the device name
    NoVersion,     // the "AT%I2" reply lacks "Version "
};

struct ProbeOutcome {
    bool ok = false;
    std::string message;              // UTF-8 message box text when !ok
    std::string firmwareVersionText;  // "Version " and five more bytes, as the adapter sent them
    ProbeFailure failure = ProbeFailure::None;
    std::string failedCommand;  // the command of the failed step, without its CR ("ATI", ...)
    int failedTimeoutMs = 0;    // its time-out
    bool recovered = false;     // the adapter was found at its command line and left it
};

// Is there a KESTRELX on this freshly opened serial port? The first step of the probe, and the
// whole test of a port that is only being looked at:
//   - waits timings.probeSettle (the adapter takes AT commands a moment after DTR rises);
//   - sends "ATI\r" and waits up to timings.atTimeoutMs for the OK line; the reply must contain
//     deviceName (CP932 bytes, letters without regard to case).
//   - An adapter left at its command line by a session that ended without "exit" (a killed
//     program, a lost line) answers "ATI" with its command prompt "\r\n# " and no OK line. Then
//     it is taken back the way the close path leaves the command line ("exit\r", kTerminatorOk,
//     timings.exitTimeoutMs; its result does not matter), this is logged, and the step runs
//     again from its settling wait, once. Nothing else is sent: the text of the adapter's
//     reply to an unknown command is not relied on.
// On success `ok` is set (and `recovered` when the command line was left); on failure
// `message` holds the dialogs' Japanese text and `failure`/`failedCommand` say what failed.
// The port stays open either way; closing it is the caller's.
ProbeOutcome identifyAdapter(const ShellExchange& exchange, const ShellWait& wait,
                             std::string_view deviceName, const ShellTimings& timings,
                             const ShellLog& log);

// The device probe on the freshly opened serial port: identifyAdapter, then "AT%I2\r" (must
// contain "Version "), "AT%M\r", "ATT1\r" (answers with the command prompt) and a bare "\r"
// whose result does not matter (it ends at an OK line or the prompt, kTerminatorOkOrPrompt, or
// at its time-out). Stops at the first failed step. deviceName is in the adapter's bytes
// (CP932).
ProbeOutcome runProbe(const ShellExchange& exchange, const ShellWait& wait,
                      std::string_view deviceName, const ShellTimings& timings,
                      const ShellLog& log = {});

// "%sが接続されていません。" with the device name (CP932 bytes, shown as UTF-8).
std::string notConnectedMessage(std::string_view deviceName);

}  // namespace kx
