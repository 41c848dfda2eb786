#pragma once

// The search for the adapter among the serial devices: each device that is present, that the
// user may open and that no other program has open is opened exclusively on a link of its own
// and asked the probe's first question ("ATI\r") only, so modems and boards on the other
// ports see one AT command at most. Used by the port dialog's "自動検出" and by kxctl.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Probe.h"
#include "app/ShellTimings.h"

namespace kx {

class Pump;

enum class ProbeAnswer {
    Adapter,      // "OK" with the device name: the adapter
    OtherDevice,  // an "OK" without the device name: some other device that speaks AT
    NoAnswer,     // nothing, or nothing that ends in "OK", within the time-out
    NotProbed,    // absent, no permission, or held by another program (see `reason`)
};

struct DeviceProbe {
    ProbeAnswer answer = ProbeAnswer::NotProbed;
    std::string reason;  // English, for NotProbed: "no such device", "held by ModemManager ..."
};

// The device name the search looks for: [MODE] KIKI, or "KESTRELX" when the settings file
// names none (an empty name would match any modem that answers "OK").
std::string SearchName(std::string_view deviceName);

// Probes one device on its own link with the probe's first step (identifyAdapter: the settling
// wait, "ATI\r", and "exit\r" for an adapter left at its command line), waiting in `pump`;
// `log` gets that step's English lines. The process-wide link is not touched.
DeviceProbe ProbeDevice(const std::string& device, std::string_view deviceName, Pump& pump,
                        const ShellWait& wait, const ShellTimings& timings,
                        const ShellLog& log = {});

// English: "the adapter", "another device (no KESTRELX in its ATI reply)", "no answer", or
// the reason it was not probed.
std::string ProbeAnswerText(const DeviceProbe& probe, std::string_view deviceName);

}  // namespace kx
