#include "app/Probe.h"

#include "link/Sjis.h"
#include "link/TerminatorSearch.h"
#include "link/TextFunctions.h"

namespace kx {

namespace {
constexpr int kOkLine = 0;                 // "\r\nOK\r\n"
constexpr int kPrompt = 5;                 // "\r\n# "
constexpr size_t kVersionTextLength = 13;  // "Version " and five characters
}  // namespace

std::string notConnectedMessage(std::string_view deviceName) {
    return SjisToUtf8(deviceName) + "が接続されていません。";
}

ProbeOutcome runProbe(const ShellExchange& exchange, const ShellWait& wait,
                      std::string_view deviceName, const ShellTimings& timings) {
    ProbeOutcome out;
    std::string_view reply;
    auto fail = [&](std::string message) {
        out.message = std::move(message);
        return out;
    };

    // the adapter needs a moment after DTR rises before it takes AT commands
    wait(timings.probeSettle);

    if (!exchange("ATI\r", timings.atTimeoutMs, kOkLine, reply))
        return fail("機器が接続されていません。");
    if (FindText(reply, deviceName, 0) <= 0)
        return fail(notConnectedMessage(deviceName));

    if (!exchange("AT%I2\r", timings.atTimeoutMs, kOkLine, reply))
        return fail(notConnectedMessage(deviceName));
    int p = FindText(reply, "Version ", 0);
    if (p <= 0)
        return fail(notConnectedMessage(deviceName));
    std::string version(reply.substr(static_cast<size_t>(p - 1), kVersionTextLength));

    if (!exchange("AT%M\r", timings.atTimeoutMs, kOkLine, reply))
        return fail(notConnectedMessage(deviceName));
    if (!exchange("ATT1\r", timings.atTimeoutMs, kPrompt, reply))
        return fail(notConnectedMessage(deviceName));
    // a bare line end settles the command line; whether it answers in time does not matter.
    // The adapter answers it with its prompt, so the step ends there (or at an OK line) rather
    // than always waiting out its time.
    (void)exchange("\r", timings.probeFinalTimeoutMs, kTerminatorOkOrPrompt, reply);

    out.ok = true;
    out.firmwareVersionText = std::move(version);
    return out;
}

}  // namespace kx
