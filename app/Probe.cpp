#include "app/Probe.h"

#include "link/Sjis.h"
#include "link/TerminatorSearch.h"
#include "link/TextFunctions.h"

namespace kx {

namespace {
constexpr int kOkLine = 0;                 // "\r\nOK\r\n"
constexpr int kPrompt = 5;                 // "\r\n# "
constexpr size_t kVersionTextLength = 13;  // "Version " and five characters

// The reply of a command the adapter took at its command line rather than at its AT stage:
// its prompt, and no OK line.
bool atCommandLine(std::string_view reply) {
    return FindText(reply, TerminatorText(kPrompt), 0) > 0 &&
           FindText(reply, TerminatorText(kOkLine), 0) <= 0;
}
}  // namespace

std::string notConnectedMessage(std::string_view deviceName) {
    return SjisToUtf8(deviceName) + "が接続されていません。";
}

ProbeOutcome identifyAdapter(const ShellExchange& exchange, const ShellWait& wait,
                             std::string_view deviceName, const ShellTimings& timings,
                             const ShellLog& log) {
    ProbeOutcome out;
    std::string_view reply;
    for (int attempt = 0;; ++attempt) {
        // the adapter needs a moment after DTR rises before it takes AT commands
        wait(timings.probeSettle);
        if (exchange("ATI\r", timings.atTimeoutMs, kOkLine, reply))
            break;
        if (attempt == 0 && atCommandLine(reply)) {
            if (log)
                log("the adapter is at its command line (\"ATI\" answered by its prompt): "
                    "leaving it with \"exit\" and probing again");
            (void)exchange("exit\r", timings.exitTimeoutMs, kOkLine, reply);
            out.recovered = true;
            continue;
        }
        out.message = "機器が接続されていません。";
        out.failure = ProbeFailure::NoReply;
        out.failedCommand = "ATI";
        out.failedTimeoutMs = timings.atTimeoutMs;
        return out;
    }
    if (FindText(reply, deviceName, 0) <= 0) {
        out.message = notConnectedMessage(deviceName);
        out.failure = ProbeFailure::NotTheDevice;
        out.failedCommand = "ATI";
        return out;
    }
    out.ok = true;
    return out;
}

ProbeOutcome runProbe(const ShellExchange& exchange, const ShellWait& wait,
                      std::string_view deviceName, const ShellTimings& timings,
                      const ShellLog& log) {
    ProbeOutcome out = identifyAdapter(exchange, wait, deviceName, timings, log);
    if (!out.ok)
        return out;
    out.ok = false;
    std::string_view reply;
    auto fail = [&](std::string command, ProbeFailure failure) {
        out.message = notConnectedMessage(deviceName);
        out.failure = failure;
        out.failedCommand = std::move(command);
        out.failedTimeoutMs = timings.atTimeoutMs;
        return out;
    };

    if (!exchange("AT%I2\r", timings.atTimeoutMs, kOkLine, reply))
        return fail("AT%I2", ProbeFailure::NoReply);
    int p = FindText(reply, "Version ", 0);
    if (p <= 0)
        return fail("AT%I2", ProbeFailure::NoVersion);
    std::string version(reply.substr(static_cast<size_t>(p - 1), kVersionTextLength));

    if (!exchange("AT%M\r", timings.atTimeoutMs, kOkLine, reply))
        return fail("AT%M", ProbeFailure::NoReply);
    if (!exchange("ATT1\r", timings.atTimeoutMs, kPrompt, reply))
        return fail("ATT1", ProbeFailure::NoReply);
    // a bare line end settles the command line; whether it answers in time does not matter.
    // The adapter answers it with its prompt, so the step ends there (or at an OK line) rather
    // than always waiting out its time.
    (void)exchange("\r", timings.probeFinalTimeoutMs, kTerminatorOkOrPrompt, reply);

    out.ok = true;
    out.firmwareVersionText = std::move(version);
    return out;
}

}  // namespace kx
