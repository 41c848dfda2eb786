// Every item of every area, set with kxctl against the emulated adapter and read back with a
// backup: every keyword of a choice, both ends of a number's range, the longest text. The
// emulator keeps its own tables, so a keyword, a range or a command the program's tables have
// wrong is refused there (or reads back as another value) and fails here.
//
// Left out, since they cannot round-trip: the read-only items (no command sets them) and the
// router's own address (the adapter restarts with it). A NAT or host entry's two items go with
// its in-use flag; a password is read back from the backup, which holds it (show masks it).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/ShellTimings.h"
#include "app/program/AllAreas.h"
#include "cli/Fields.h"
#include "cli/Kxctl.h"
#include "sim/Emulator.h"

namespace kx::cli {
namespace {

// What the dialogs' rules that span items need beside a value: when a field ending in `item`
// takes `value`, the field of the same block ending in `other` takes `otherValue`.
struct Companion {
    std::string_view item;
    std::string_view value;
    std::string_view other;
    std::string_view otherValue;
};
constexpr Companion kCompanions[] = {
    {"protocol", "chap", "mode", "64k"},      // CHAP works on the 64k line use only
    {"timeLimit", "743", "timePeriod", "2"},  // 743 hours fit a month only
    // an entry in use needs both of its items: the longest valid ones
    {"inUse", "enable", "lanAddress", "192.168.100.200"},
    {"inUse", "enable", "wanAddress", "*abcdefghijklmnopqrstuvwxyz01234"},
    {"inUse", "enable", "hostAddress", "192.168.100.201"},
    {"inUse", "enable", "hostName", "host"},
};

// The longest host name, in entry 1 only: a table of 32 such entries is longer than the serial
// link keeps of a reply (2047 bytes), and the read of a cut table fails.
constexpr std::string_view kLongestHostName =
    "abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz01";

// The BACP/BAP answers are bit masks of which the adapter takes bits 0 to 2 (each "auto" or
// "reject"); the others are carried as they are, never sent.
constexpr std::string_view kThreeBitMasks[] = {"digital.departMask", "digital.arriveMask",
                                               "router.bacpDepart", "router.bacpArrive"};

std::string block(const std::string& name) {
    return name.substr(0, name.rfind('.') + 1);
}
std::string item(const std::string& name) {
    return name.substr(name.rfind('.') + 1);
}

// The values a field is set to, in order: every keyword, both ends of a range, the longest
// text; the first once more at the end, so that it is sent even when the adapter held it.
std::vector<std::string> valuesOf(const Field& field) {
    const area::ItemRule& rule = *field.rule;
    std::vector<std::string> values;
    switch (rule.kind) {
        case area::ItemKind::Choice:
            for (std::string_view keyword : rule.keywords)
                if (!keyword.empty())
                    values.emplace_back(keyword);
            break;
        case area::ItemKind::Number:
            values = {std::to_string(rule.lowest * rule.scale),
                      std::to_string(rule.highest * rule.scale)};
            if (std::find(std::begin(kThreeBitMasks), std::end(kThreeBitMasks), field.name) !=
                std::end(kThreeBitMasks))
                values[1] = "7";
            break;
        case area::ItemKind::Phone:
            // a number of 32 characters and a subaddress of 19
            values = {"(03)1234-5678#" + std::string(18, '9') + "*" + std::string(19, '8')};
            break;
        case area::ItemKind::Address:
            values = {rule.lowest == 1 ? "192.168.100.200/24" : "192.168.100.200"};
            break;
        case area::ItemKind::Text: {
            // the longest the reader keeps of a reply, where that is shorter than a dialog takes
            std::string text;
            for (std::size_t i = 0; i < std::min(rule.maxLength, rule.readLimit); ++i)
                text += static_cast<char>('a' + i % 26);
            text[text.size() / 2] = ' ';  // a blank inside is kept
            values = {text};
            break;
        }
    }
    if (values.size() > 1)
        values.push_back(values.front());
    return values;
}

// A NAT or host entry's item: set through its entry's in-use flag only.
bool goesWithItsEntry(const Field& field) {
    return field.check != nullptr;
}

bool roundTrips(const Field& field) {
    return !field.readOnly && field.name != "router.routerAddress" && !goesWithItsEntry(field);
}

// The `name = value` lines of a document.
std::map<std::string, std::string> valuesIn(const std::string& document) {
    std::map<std::string, std::string> out;
    std::istringstream lines(document);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = line.find(" = ");
        if (line.empty() || line.front() == '#' || at == std::string::npos)
            continue;
        out[line.substr(0, at)] = line.substr(at + 3);
    }
    return out;
}

TEST(RoundTripTest, EveryValueOfEveryItemIsSetAndReadBack) {
    shellTimings().probeSettle = std::chrono::milliseconds(10);
    std::string error;
    std::unique_ptr<sim::Emulator> adapter = sim::Emulator::start(sim::EmulatorOptions{}, error);
    ASSERT_TRUE(adapter) << error;
    const auto kxctl = [&](std::vector<std::string> args, std::string& out) {
        args.insert(args.begin(), {"--port", adapter->ptyPath(), "--quiet"});
        std::ostringstream outText, errText;
        const int status = runKxctl(args, outText, errText);
        out = outText.str();
        return status == kExitOk ? std::string() : std::to_string(status) + ": " + errText.str();
    };

    // what is left to set of each field
    std::map<std::string, std::vector<std::string>> pending;
    std::vector<std::string> areaNames;
    for (const Field& field : allFields()) {
        if (std::find(areaNames.begin(), areaNames.end(), field.area) == areaNames.end())
            areaNames.push_back(field.area);
        if (roundTrips(field))
            pending[field.name] = valuesOf(field);
    }
    std::size_t tried = 0;
    for (int round = 0; !pending.empty(); ++round) {
        ASSERT_LT(round, 20) << "values left that never went out";
        // each field's next value, the companions' first; a field a companion takes keeps its
        // own value for a later round
        std::map<std::string, std::string> given;
        for (const auto& [name, values] : pending)
            for (const Companion& companion : kCompanions)
                if (item(name) == companion.item && values.front() == companion.value &&
                    findField(block(name) + std::string(companion.other)))
                    given[block(name) + std::string(companion.other)] =
                        block(name) == "router.host1." && companion.other == "hostName"
                            ? kLongestHostName
                            : companion.otherValue;
        std::vector<std::string> consumed;
        for (const auto& [name, values] : pending) {
            if (given.contains(name))
                continue;
            given[name] = values.front();
            consumed.push_back(name);
        }
        std::vector<std::string> args{"set"};
        for (const auto& [name, value] : given) args.push_back(name + "=" + value);
        std::string out;
        ASSERT_EQ(kxctl(args, out), "") << "round " << round;

        std::vector<std::string> backup{"backup", "-"};
        backup.insert(backup.end(), areaNames.begin(), areaNames.end());
        ASSERT_EQ(kxctl(backup, out), "") << "round " << round;
        const std::map<std::string, std::string> read = valuesIn(out);
        for (const auto& [name, value] : given) {
            const auto found = read.find(name);
            ASSERT_NE(found, read.end()) << name << " is not in the backup";
            EXPECT_EQ(found->second, value) << name << " in round " << round;
        }
        for (const std::string& name : consumed) {
            ++tried;
            std::vector<std::string>& values = pending[name];
            values.erase(values.begin());
            if (values.empty())
                pending.erase(name);
        }
    }
    // every area's items took part
    EXPECT_GT(tried, 1000u);
}

// A record restored through a module becomes its own copies, as after a read: the dialogs show
// what was written.
TEST(RoundTripTest, AModuleAdoptsARecordAsItsCopies) {
    for (const area::AreaModule* module : allModules()) {
        SCOPED_TRACE(std::string(module->name));
        area::AreaRecord record = module->blank();
        std::vector<area::ItemField> fields = module->fields();
        if (fields.front().text)
            *fields.front().text(record) = "0312345678";
        else
            *fields.front().number(record) = 1;
        module->reset();
        module->adopt(record);
        EXPECT_TRUE(module->snapshot() == record);
        EXPECT_TRUE(module->working() == record);
        module->reset();
        EXPECT_TRUE(module->snapshot() == module->blank());
    }
}

}  // namespace
}  // namespace kx::cli
