// The table-driven reader and writer every area stands on, over a small record of its own.

// g++ 12 at -O2 takes the strings of the tables below for maybe uninitialized (a false positive
// of that compiler in std::string's inlined destructor); the check stays on everywhere else.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ < 13
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <gtest/gtest.h>

#include "app/services/AreaContext.h"
#include "area/SettingsDlg.h"
#include "area/TableIO.h"

namespace kx::area {
namespace {

struct Port {
    std::string number;
    int mode = 0;
    int delay = 0;
    int service = 0;
    int rank = 0;
};

constexpr std::string_view kModes[] = {"voice", "", "audio"};  // index 1 has no keyword
constexpr std::string_view kServices[] = {"ntt", "pseudo"};
constexpr std::string_view kRanks[] = {"normal", "reject"};

// "pseudo" for anything but 0; a rank reported as code 1 is normal, any other code rejects
int anyOtherIsPseudo(int value) {
    return value == 0 ? 0 : 1;
}
int normalOrReject(int code) {
    return code == 1 ? 0 : 1;
}

constexpr Item<Port> kItems[] = {
    phone("number", &Port::number, "  address:", "demo address {}"),
    choice("mode", &Port::mode, "mode:", kModes, "demo mode {}"),
    number("delay", &Port::delay, "delay:", 3, 15, "demo delay {} now"),
    choice("service", &Port::service, "service:", kServices, "demo service")
        .withEncode(anyOtherIsPseudo),
    choice("rank", &Port::rank, "rank:", kRanks, "demo rank {}")
        .withDecode(normalOrReject)
        .withSerialOnly(),
};

// What the reader makes of a reply is the round trip's (every item read back, through its
// decoder), the fault matrix's missing-label column and KxctlEdgeTest's (a missing label keeps
// the value), and TextFunctions.ReadLabelValue's (any case, the value cut, no line end).
TEST(TableIO, CommandsForChangedItemsInTableOrder) {
    const Port snapshot{"031", 0, 3, 0, 0};
    struct Row {
        const char* name;
        Port working;
        std::vector<std::string> commands;
    } rows[] = {
        {"nothing changed", snapshot, {}},
        {"all changed, table order",
         {"", 2, 7, 1, 1},
         {"demo address p2 \r", "demo mode p2 audio\r", "demo delay p2 now 7\r",
          "demo service pseudo\r", "demo rank p2 reject\r"}},
        {"no keyword for the value sends nothing", {"031", 1, 3, 0, 0}, {}},
        {"out of the table sends nothing", {"031", -1, 3, 0, 2}, {}},
        {"any other service value is pseudo", {"031", 0, 3, 42, 0}, {"demo service pseudo\r"}},
        {"text compared byte for byte", {"031 ", 0, 3, 0, 0}, {"demo address p2 031 \r"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(changedCommands<Port>(kItems, row.working, snapshot, "p2"), row.commands);
    }
    // over the network link the serial-only rank is left out
    EXPECT_EQ(changedCommands<Port>(kItems, {"031", 2, 3, 0, 1}, snapshot, "p2", true),
              std::vector<std::string>{"demo mode p2 audio\r"});
}

TEST(TableIO, SendAllStopsAtTheFirstFailedExchange) {
    ReplyBuffer reply;
    AreaContext context(reply);
    std::vector<std::string> sent;
    std::size_t capacity = 0;
    context.exchange = [&](std::string_view command, ReplyBuffer& into, int timeoutMs, int kind) {
        sent.emplace_back(command);
        capacity = into.capacity();
        EXPECT_EQ(timeoutMs, 10000);
        EXPECT_EQ(kind, 5);  // the prompt
        return command == "b\r" ? 0 : 1;
    };
    EXPECT_EQ(context.sendAll({"a\r", "b\r", "c\r"}), 0);
    EXPECT_EQ(sent, (std::vector<std::string>{"a\r", "b\r"}));
    EXPECT_EQ(capacity, kWriterReplyCapacity);
    sent.clear();
    EXPECT_EQ(context.sendAll({}), 1);
    EXPECT_TRUE(sent.empty());
}

TEST(TableIO, NumberedEntries) {
    const std::string reply =
        "show shortnum num2\r\n11: 0311\r\n12:  0312 \r\n13: \r\n21: 9\r\n1: one\r\n"
        "3: 192.168.1.3\n, x\r\n# ";
    struct Row {
        int entry;
        const char* text;
    } rows[] = {
        {11, "0311"},
        {12, "0312"},  // blanks around the number trimmed
        {13, ""},
        {14, ""},    // an empty entry, and one not listed
        {1, "one"},  // never taken from the lines of 11 or 21
        {2, ""},
        {3, "192.168.1.3"},  // a stray LF ends the entry: nothing of the next line joins it
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entry);
        EXPECT_EQ(readEntryText(reply, row.entry), row.text);
    }
    EXPECT_EQ(readEntryText("5: " + std::string(60, '1'), 5), std::string(53, '1'))
        << "54 bytes kept, the leading blank included";

    // an entry's items end where the next numbered line starts
    const std::string list = "1: 031\r\nrank: 3\r\n 2: 032\r\nmode: 2\r\n3: \r\n# ";
    EXPECT_EQ(entryLines(list, 1), "1: 031\r\nrank: 3\r\n");
    EXPECT_EQ(entryLines(list, 2), "2: 032\r\nmode: 2\r\n");
    EXPECT_EQ(entryLines(list, 3), "3: \r\n# ");
    EXPECT_EQ(entryLines(list, 4), "");
    Port port{"old", 1, 4, 5, 9};
    readItems<Port>(entryLines(list, 1), kItems, port);
    EXPECT_EQ(port.mode, 1) << "not taken from entry 2";
    EXPECT_EQ(port.rank, 1);
}

// The spin arrows' wrap is Bindings.SpinArrowsWrapByTheDialogsRuleAndTheTextFollows'.
TEST(TableIO, RowChecks) {
    static constexpr Item<Port> kName = text("name", &Port::number, "name:", 8, "demo name {}");
    static constexpr Item<Port> kPlain = address("lan", &Port::number, "lan:", 0, "demo lan");
    static constexpr Item<Port> kPrefixed = address("wan", &Port::number, "wan:", 1, "demo wan");
    struct Row {
        const ItemRule& rule;
        const char* text;
        int invalid;
    } rows[] = {
        // the values taken are set in the round trip of every item; control characters are
        // typed into every field of every dialog; what a telephone number, a number and an
        // address take is TextFunctions' (CheckPhoneNumber, CheckNumber, CheckIpAddress)
        {kItems[0], "03 1234", 1},
        {kItems[2], "2", 1},
        {kItems[2], "16", 1},
        {kItems[1], "1", 1},  // an index without a keyword
        {kItems[1], "3", 1},
        {kName, "router-1", 0},
        {kName, "nine char", 1},
        // an address goes out as it is: nothing past its fourth field, a prefix only where one
        // is asked for
        {kPlain, "", 0},
        {kPlain, "192.168.1.1.5", 1},
        {kPlain, "192.168.1.1/24", 1},
        {kPrefixed, "192.168.1.1", 1},
        {kPrefixed, "192.168.1.1.5/24", 1},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.rule.checkText(row.text), row.invalid) << row.rule.name << " " << row.text;
}

}  // namespace
}  // namespace kx::area
