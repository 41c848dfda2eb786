#include "app/AdapterSearch.h"

#include <cerrno>

#include "app/DeviceMap.h"
#include "link/DeviceHolder.h"
#include "link/SerialLink.h"
#include "link/Sjis.h"
#include "link/TerminatorSearch.h"
#include "link/TextFunctions.h"

namespace kx {

namespace {

constexpr std::string_view kProductName = "KESTRELX";

// The probe's first step: "ATI\r", answered by an OK line that holds the device name. An
// adapter left at its command line by a session that was killed answers with its prompt
// instead; it is sent "exit\r" and asked once more.
ProbeAnswer identify(const ShellExchange& exchange, std::string_view name,
                     const ShellTimings& timings) {
    std::string_view reply;
    bool ok = exchange("ATI\r", timings.atTimeoutMs, kTerminatorOk, reply);
    if (!ok && FindText(reply, "\r\n# ", 0) > 0) {
        (void)exchange("exit\r", timings.exitTimeoutMs, kTerminatorOk, reply);
        ok = exchange("ATI\r", timings.atTimeoutMs, kTerminatorOk, reply);
    }
    if (!ok)
        return ProbeAnswer::NoAnswer;
    return FindText(reply, name, 0) > 0 ? ProbeAnswer::Adapter : ProbeAnswer::OtherDevice;
}

}  // namespace

std::string SearchName(std::string_view deviceName) {
    return std::string(deviceName.empty() ? kProductName : deviceName);
}

DeviceProbe ProbeDevice(const std::string& device, std::string_view deviceName, Pump& pump,
                        const ShellWait& wait, const ShellTimings& timings) {
    DeviceProbe out;
    switch (SerialDeviceState(device)) {
        case DeviceState::Absent:
            out.reason = "no such device";
            return out;
        case DeviceState::NoPermission:
            out.reason = OpenFailureReason(EACCES);
            return out;
        case DeviceState::Present:
            break;
    }
    // a program that has the port open (ModemManager probing it) is left alone, even when it
    // did not lock it
    if (FindDeviceHolder(device)) {
        out.reason = HeldByText(device);
        return out;
    }
    SerialLink link(pump, [](std::string_view) {});
    const OpenResult opened = link.open(device);
    if (!opened.ok()) {
        out.reason = opened.reason;
        return out;
    }
    ReplyBuffer reply;
    ShellExchange exchange = [&](std::string_view command, int timeoutMs, int kind,
                                 std::string_view& replyOut) {
        const bool ok = link.exchange(command, reply, std::chrono::milliseconds(timeoutMs), kind) ==
                        ExchangeOutcome::Ok;
        replyOut = reply.view();
        return ok;
    };
    // the adapter needs a moment after DTR rises before it takes AT commands
    wait(timings.probeSettle);
    out.answer = identify(exchange, SearchName(deviceName), timings);
    link.close();
    return out;
}

std::string ProbeAnswerText(const DeviceProbe& probe, std::string_view deviceName) {
    switch (probe.answer) {
        case ProbeAnswer::Adapter:
            return "the adapter";
        case ProbeAnswer::OtherDevice:
            return "another device (no " + SjisToUtf8(SearchName(deviceName)) +
                   " in its ATI reply)";
        case ProbeAnswer::NoAnswer:
            return "no answer";
        case ProbeAnswer::NotProbed:
            break;
    }
    return "not probed: " + probe.reason;
}

}  // namespace kx
