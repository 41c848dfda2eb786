// Every settings area's reader fed whatever the adapter might answer: one input is split into
// the replies of the area's "show" commands. Besides crashes and sanitizer reports it checks
// what the readers promise: only "show" lines go out, no value longer than its row keeps,
// numbered entries trimmed, a successful read leaves the working copy equal to the snapshot, and
// reading the same replies twice gives the same records (nothing depends on what was there).
//
// The areas are the registry's modules; a module's own value checks stand in one table by name.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analog/AnalogSettings.h"
#include "app/program/AllAreas.h"
#include "arrive/ArriveSettings.h"
#include "digital/DigitalSettings.h"
#include "fuzz/FuzzCheck.h"
#include "link/TextFunctions.h"
#include "router/RouterModule.h"
#include "shortnum/ShortNumbers.h"

namespace {

// Answers the reader's exchanges with the given replies in turn, then fails.
int readWith(const std::vector<std::string>& replies,
             const std::function<int(const kx::AreaContext&)>& read) {
    kx::ReplyBuffer reply;
    kx::AreaContext context(reply);
    std::size_t next = 0;
    context.exchange = [&](std::string_view command, kx::ReplyBuffer& into, int, int) {
        // a reader asks; it never changes a setting
        kx::fuzz::check(command.starts_with("show ") && command.ends_with("\r") &&
                            command.find_first_of("\r\n") == command.size() - 1,
                        "a reader sent something other than one show line");
        if (next == replies.size())
            return 0;
        into.assign(replies[next++]);
        return 1;
    };
    return read(context);
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// A text the reader took from a reply: within `max` bytes, no CR in it (a value ends at the CR
// of its line); a table entry, taken from its own line only, holds no LF either.
void checkLine(const std::string& text, std::size_t max, bool tableEntry = false) {
    kx::fuzz::check(text.size() <= max, "a value longer than the reader keeps");
    kx::fuzz::check(text.find('\r') == std::string::npos, "a carriage return inside a value");
    if (tableEntry)
        kx::fuzz::check(text.find('\n') == std::string::npos, "a line end inside a table entry");
}

void checkText(const std::string& text, bool trimmed) {
    checkLine(text, kx::kLabelValueMax);
    if (trimmed && !text.empty())
        kx::fuzz::check(!isSpace(text.front()) && !isSpace(text.back()), "an entry not trimmed");
}

constexpr int kReplies = 16;

void checkAnalog(const kx::AnalogSettings& settings) {
    for (const kx::TelPortSettings& port : settings.tel) {
        checkText(port.selfAddress, false);
        checkText(port.transferAddress, false);
    }
}

void checkDigital(const kx::DigitalSettings& settings) {
    for (const kx::DigitalPortSettings* port : {&settings.data, &settings.usb}) {
        checkText(port->selfAddress, false);
        checkText(port->transferAddress, false);
    }
}

void checkArrive(const kx::ArriveSettings& settings) {
    for (const kx::ArriveEntry& entry : settings.entries) checkText(entry.number, true);
}

void checkShortNumbers(const kx::ShortNumberTable& table) {
    for (const kx::ShortNumberEntry& entry : table) checkText(entry.number, true);
}

// The router's texts: values as any other area's, user ids and provider names 64 bytes, the
// table entries within their fields.
void checkRouter(const kx::RouterRecord& record) {
    const kx::RouterSettings& settings = record.router;
    constexpr std::size_t kLong = 64;
    constexpr std::size_t kEntry = 32;
    for (const std::string* text :
         {&settings.hardwareAddress, &settings.defaultAddress, &settings.routerName,
          &settings.masqueradeAddress, &settings.dnsPrimaryServer, &settings.dnsSecondaryServer,
          &settings.dhcpStartAddress, &settings.dhcpGateway, &settings.dhcpDnsServer,
          &settings.dhcpDomainName, &settings.syslogAddress, &settings.ras.wanAddress,
          &settings.ras.partnerAddress, &settings.network.remoteAddress,
          &settings.network.dnsPrimary, &settings.network.dnsSecondary})
        checkLine(*text, kx::kLabelValueMax);
    // "address/prefix", joined from two labels
    checkLine(settings.routerAddress, 2 * kx::kLabelValueMax + 1);
    checkLine(settings.network.networkAddress, 2 * kx::kLabelValueMax + 1);
    checkLine(settings.ras.userId, kLong);
    checkLine(settings.network.userId, kLong);
    for (const kx::DialupProfile& profile : settings.dialup) {
        for (const std::string* text :
             {&profile.dialNumber1, &profile.dialNumber2, &profile.dialNumber3, &profile.dnsPrimary,
              &profile.dnsSecondary, &profile.address})
            checkLine(*text, kx::kLabelValueMax);
        checkLine(profile.providerName, kLong);
        checkLine(profile.userId, kLong);
    }
    for (const kx::NatEntry& entry : settings.nat) {
        checkLine(entry.lanAddress, kEntry, true);
        checkLine(entry.wanAddress, kEntry, true);
    }
    for (const kx::HostEntry& entry : settings.hosts) {
        checkLine(entry.hostAddress, kEntry, true);
        checkLine(entry.hostName, kLong, true);
    }
}

// A module's own checks of the values its reader took.
template <class Record, void (*check)(const Record&)>
void checkAs(const kx::area::AreaRecord& record) {
    check(record.as<Record>());
}

struct ValueChecks {
    std::string_view module;
    void (*check)(const kx::area::AreaRecord&);
};
constexpr ValueChecks kValueChecks[] = {
    {"analog", checkAs<kx::AnalogSettings, checkAnalog>},
    {"digital", checkAs<kx::DigitalSettings, checkDigital>},
    {"arrive", checkAs<kx::ArriveSettings, checkArrive>},
    {"shortnum", checkAs<kx::ShortNumberTable, checkShortNumbers>},
    {"router", checkAs<kx::RouterRecord, checkRouter>},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<std::string> replies;
    // as many replies as the longest read asks for (the router's); the others take the first
    for (int i = 0; i < kReplies; ++i) replies.push_back(input.ConsumeRandomLengthString(2047));

    for (const kx::area::AreaModule* module : kx::allModules()) {
        kx::area::AreaRecord first;
        kx::area::AreaRecord snapshot;
        for (int pass = 0; pass < 2; ++pass) {
            snapshot = module->blank();
            readWith(replies, [&](const kx::AreaContext& c) { return module->read(c, snapshot); });
            if (pass == 0)
                first = snapshot;
        }
        if (!(first == snapshot)) {
            std::fprintf(stderr, "area %s:\n", module->name.data());
            kx::fuzz::fail("the same replies read twice gave different records");
        }
        for (const ValueChecks& checks : kValueChecks)
            if (checks.module == module->name)
                checks.check(snapshot);
        // the area's button reads into the module's own copies: a successful read leaves the
        // working copy equal to the snapshot
        module->reset();
        if (readWith(replies, module->entries.front().read) == 1 &&
            !(module->working() == module->snapshot())) {
            std::fprintf(stderr, "area %s:\n", module->name.data());
            kx::fuzz::fail("the working copy differs from the snapshot after a read");
        }
    }
    return 0;
}
