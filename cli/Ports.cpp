#include "cli/Ports.h"

#include <climits>
#include <cstdlib>
#include <map>
#include <thread>
#include <vector>

#include "app/AdapterSearch.h"
#include "app/DeviceMap.h"
#include "app/Profile.h"
#include "link/DeviceHolder.h"
#include "link/Exchange.h"

namespace kx::cli {

namespace {

// "[MODE] KIKI" is read into a buffer of this size, as kxctl's session does.
constexpr std::size_t kModeTextBuffer = 64;

std::string deviceName() {
    return Profile(SettingsFilePath(StartupDirectory()))
        .readText("MODE", "KIKI", "", kModeTextBuffer);
}

std::string canonical(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

DeviceProbe probe(const std::string& device, const std::string& name) {
    const ShellWait sleep = [](std::chrono::milliseconds d) { std::this_thread::sleep_for(d); };
    return ProbeDevice(device, name, ExchangePump(), sleep, shellTimings());
}

std::string accessText(const std::string& device, DeviceState state) {
    switch (state) {
        case DeviceState::Absent:
            return "-";
        case DeviceState::NoPermission:
            return "no (not in the dialout group)";
        case DeviceState::Present:
            break;
    }
    return FindDeviceHolder(device) ? HeldByText(device) : "yes";
}

std::string answerText(const DeviceProbe& p) {
    switch (p.answer) {
        case ProbeAnswer::Adapter:
            return "yes";
        case ProbeAnswer::OtherDevice:
            return "another device";
        case ProbeAnswer::NoAnswer:
            return "no answer";
        case ProbeAnswer::NotProbed:
            break;
    }
    return "-";
}

}  // namespace

int listPorts(bool probeAll, std::ostream& out) {
    const Profile settings(SettingsFilePath(StartupDirectory()));
    const DeviceMap map(settings, "");
    const std::string name = deviceName();
    std::vector<std::vector<std::string>> rows{{"PORT", "DEVICE", "STATE", "ACCESS", "BY-ID"}};
    if (probeAll)
        rows[0].push_back("ADAPTER");
    std::map<std::string, DeviceProbe> asked;  // each device is asked once
    const std::vector<std::string> devices = map.devices();
    for (int port = DeviceMap::kFirstPort; port <= DeviceMap::kLastPort; ++port) {
        const std::string& device = devices[port - 1];
        const DeviceState state = SerialDeviceState(device);
        const std::string byId = ByIdName(device);
        std::vector<std::string> row{DeviceMap::portName(port),
                                     state == DeviceState::Absent ? device : canonical(device),
                                     state == DeviceState::Absent ? "absent" : "present",
                                     accessText(device, state), byId.empty() ? "-" : byId};
        if (probeAll) {
            const std::string key = canonical(device);
            if (!asked.count(key))
                asked[key] = probe(device, name);
            row.push_back(answerText(asked[key]));
        }
        rows.push_back(std::move(row));
    }
    std::vector<std::size_t> widths(rows[0].size(), 0);
    for (const auto& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size())
                line += std::string(widths[i] - row[i].size() + 2, ' ');
        }
        out << line << "\n";
    }
    return 0;
}

std::string findAdapterDevice(std::string& error) {
    const Profile settings(SettingsFilePath(StartupDirectory()));
    const DeviceMap map(settings, "");
    const std::string name = deviceName();
    std::map<std::string, bool> asked;
    for (const std::string& device : map.devices()) {
        if (SerialDeviceState(device) != DeviceState::Present || asked[canonical(device)])
            continue;
        asked[canonical(device)] = true;
        if (probe(device, name).answer == ProbeAnswer::Adapter)
            return device;
    }
    error =
        "no serial device of COM1 to COM9 answers as the adapter (kxctl ports --probe "
        "lists what each one said)";
    return {};
}

}  // namespace kx::cli
