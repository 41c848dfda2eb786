#include "bench/area/BenchAreas.h"

#include <string>

#include "analog/AnalogSettings.h"
#include "arrive/ArriveSettings.h"
#include "digital/DigitalSettings.h"
#include "router/RouterSettings.h"
#include "shortnum/ShortNumbers.h"

namespace kx::bench {

namespace {

// A phone number that differs from one cycle to the next.
std::string numberOf(int cycle) {
    return "03" + std::to_string(10000000 + cycle % 1000);
}

constexpr BenchArea kAreas[] = {
    {"analog", ReadAnalogSettings,
     [](int cycle) {
         analogSettings.takeSnapshot();
         analogSettings.working.tel[0].ringSound = cycle % 3;
     },
     [](const AreaContext& c) { return WriteAnalogSettings(c, 0); },
     [](int cycle) { return analogSettings.snapshot.tel[0].ringSound == cycle % 3; }},
    {"digital", ReadDigitalSettings,
     [](int cycle) {
         digitalSettings.takeSnapshot();
         digitalSettings.working.discTime = cycle % 256;
     },
     [](const AreaContext& c) { return WriteDigitalSettings(c, kDigitalCommonArea); },
     [](int cycle) { return digitalSettings.snapshot.discTime == cycle % 256; }},
    {"arrive", ReadArriveSettings,
     [](int cycle) {
         arriveSettings.takeSnapshot();
         arriveSettings.working.entries[0].number = numberOf(cycle);
     },
     [](const AreaContext& c) { return WriteArriveSettings(c, 1); },  // entries 1-10
     [](int cycle) { return arriveSettings.snapshot.entries[0].number == numberOf(cycle); }},
    // the short-number dialog takes no snapshot: the read left both copies equal
    {"shortnum", ReadShortNumbers,
     [](int cycle) { shortNumbers.working[0].number = numberOf(cycle); }, WriteShortNumbers,
     [](int cycle) { return shortNumbers.snapshot[0].number == numberOf(cycle); }},
    // the router variant's 16 reads; the syslog facility goes out as one command
    {"router", RouterReader,
     [](int cycle) {
         routerSettings.takeSnapshot();
         routerSettings.working.syslogFacility = cycle % 24;
     },
     [](const AreaContext& c) { return RouterWriter(c, kSyslogSection); },
     [](int cycle) { return routerSettings.snapshot.syslogFacility == cycle % 24; }},
};

}  // namespace

std::span<const BenchArea> benchAreas() {
    return kAreas;
}

}  // namespace kx::bench
