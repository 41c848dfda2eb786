#include "app/AdapterSearch.h"

#include <cerrno>

#include "app/DeviceMap.h"
#include "link/DeviceHolder.h"
#include "link/SerialLink.h"
#include "link/Sjis.h"

namespace kx {

namespace {

constexpr std::string_view kProductName = "KESTRELX";

}  // namespace

std::string SearchName(std::string_view deviceName) {
    return std::string(deviceName.empty() ? kProductName : deviceName);
}

DeviceProbe ProbeDevice(const std::string& device, std::string_view deviceName, Pump& pump,
                        const ShellWait& wait, const ShellTimings& timings, const ShellLog& log) {
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
    const ProbeOutcome identified =
        identifyAdapter(exchange, wait, SearchName(deviceName), timings, log);
    link.close();
    if (identified.ok)
        out.answer = ProbeAnswer::Adapter;
    else if (identified.failure == ProbeFailure::NotTheDevice)
        out.answer = ProbeAnswer::OtherDevice;
    else
        out.answer = ProbeAnswer::NoAnswer;
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
