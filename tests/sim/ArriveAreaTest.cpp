#include <gtest/gtest.h>

#include <string>

#include "sim/Areas.h"
#include "tests/sim/AreaTestSupport.h"

namespace kx::sim {
namespace {

using test::readEntry;
using test::readLabel;
using test::send;
using test::shown;

struct BasicRoundTrip {
    const char* command;
    const char* label;
    const char* value;
};

// Every setting command of the standard area, read back from "show arrive basic".
const BasicRoundTrip kBasicRoundTrips[] = {
    {"arrive ring_select pseudo", "ring select service:", "1"},
    {"arrive trouble_tel pseudo", "trouble tel service:", "1"},
    {"arrive ring_select ring3", "ntt ring:", "2"},
    {"arrive ranking default tel1 precede", "default tel1 rank:", "0"},
    {"arrive ranking default tel2 delay", "default tel2 rank:", "2"},
    {"arrive ranking default tel3 reject", "default tel3 rank:", "3"},
    {"arrive ranking default data reject", "default data rank:", "3"},
    {"arrive ranking default usb reject", "default usb rank:", "3"},
    {"arrive ranking default pna reject", "default pna rank:", "3"},
    {"arrive ring_select default ring2", "default ring:", "1"},
    {"arrive ranking noid tel1 delay", "noid tel1 rank:", "2"},
    {"arrive ranking noid tel2 reject", "noid tel2 rank:", "3"},
    {"arrive ranking noid tel3 precede", "noid tel3 rank:", "0"},
    {"arrive ranking noid data reject", "noid data rank:", "3"},
    {"arrive ranking noid usb reject", "noid usb rank:", "3"},
    {"arrive ranking noid pna reject", "noid pna rank:", "3"},
    {"arrive ring_select noid ring3", "noid ring:", "2"},
};

TEST(ArriveArea, EveryBasicCommandRoundTrips) {
    for (const BasicRoundTrip& row : kBasicRoundTrips) {
        SCOPED_TRACE(row.command);
        auto area = makeArriveArea();
        const auto set = send(*area, row.command);
        EXPECT_TRUE(set.taken);
        EXPECT_EQ(set.reply, "");
        const std::string buffer = send(*area, "show arrive basic").buffer;
        EXPECT_EQ(readLabel(buffer, row.label), row.value);
        // every other label still reads its factory value
        const std::string factory = send(*makeArriveArea(), "show arrive basic").buffer;
        for (const BasicRoundTrip& other : kBasicRoundTrips) {
            if (std::string_view(other.label) != row.label) {
                EXPECT_EQ(readLabel(buffer, other.label), readLabel(factory, other.label))
                    << other.label;
            }
        }
    }
    auto area = makeArriveArea();
    send(*area, "arrive ranking noid data reject");
    EXPECT_EQ(shown(*area, "show arrive basic", "noid data rank:"), "3");
    send(*area, "arrive ranking noid data normal");
    EXPECT_EQ(shown(*area, "show arrive basic", "noid data rank:"), "1");
}

// Entries 1, 9, 10 and 11 to 20 with every item distinct, read entry by entry as the reader
// does: entry k by the first "k: ", its labels from there on.
TEST(ArriveArea, EveryEntryCommandRoundTrips) {
    auto area = makeArriveArea();
    for (int k = 1; k <= 20; ++k) {
        const std::string n = std::to_string(k);
        for (const std::string& command : {
                 "arrive address " + n + " 03-5555-" + std::to_string(1000 + k),
                 "arrive ranking " + n + " tel1 " + (k % 2 ? "precede" : "reject"),
                 "arrive ranking " + n + " tel2 delay",
                 "arrive ranking " + n + " tel3 " + (k % 3 ? "normal" : "precede"),
                 "arrive ranking " + n + " data " + (k % 2 ? "reject" : "normal"),
                 "arrive ranking " + n + " usb " + (k % 4 ? "normal" : "reject"),
                 "arrive ranking " + n + " pna reject",
                 "arrive ring_select " + n + " ring" + std::to_string(k % 3 + 1)}) {
            ASSERT_EQ(send(*area, command).reply, "") << command;
        }
    }
    for (int k = 1; k <= 20; ++k) {
        SCOPED_TRACE(k);
        const std::string buffer = send(*area, k <= 10 ? "show arrive num1" : "show arrive num2").buffer;
        const auto entry = readEntry(buffer, k);
        ASSERT_TRUE(entry.found);
        EXPECT_EQ(entry.value, "03-5555-" + std::to_string(1000 + k));
        EXPECT_EQ(readLabel(buffer, "tel1 rank:", entry.anchor), k % 2 ? "0" : "3");
        EXPECT_EQ(readLabel(buffer, "tel2 rank:", entry.anchor), "2");
        EXPECT_EQ(readLabel(buffer, "tel3 rank:", entry.anchor), k % 3 ? "1" : "0");
        EXPECT_EQ(readLabel(buffer, "data rank:", entry.anchor), k % 2 ? "3" : "1");
        EXPECT_EQ(readLabel(buffer, "usb rank:", entry.anchor), k % 4 ? "1" : "3");
        EXPECT_EQ(readLabel(buffer, "pna rank:", entry.anchor), "3");
        EXPECT_EQ(readLabel(buffer, "ring:", entry.anchor), std::to_string(k % 3));
    }
}

TEST(ArriveArea, AnEmptyNumberDeletesTheEntryAndStillListsIt) {
    auto area = makeArriveArea();
    send(*area, "arrive address 12 0312345678");
    EXPECT_EQ(send(*area, "arrive address 12 ").reply, "");
    const std::string buffer = send(*area, "show arrive num2").buffer;
    const auto entry = readEntry(buffer, 12);
    ASSERT_TRUE(entry.found);
    EXPECT_EQ(entry.value, "");
    EXPECT_EQ(readLabel(buffer, "tel1 rank:", entry.anchor), "1");
    // the emptied entry's labels are its own, not the next entry's
    EXPECT_LT(entry.anchor, readEntry(buffer, 13).anchor);
}

TEST(ArriveArea, MalformedCommandsAnswerAnErrorAndChangeNothing) {
    const char* const kMalformed[] = {
        "arrive ring_select maybe",          "arrive ring_select ring4",
        "arrive ring_select default ring0",  "arrive ring_select 21 ring1",
        "arrive ring_select 0 ring1",        "arrive trouble_tel ring1",
        "arrive ranking default tel4 normal", "arrive ranking default data precede",
        "arrive ranking noid usb delay",     "arrive ranking 5 pna precede",
        "arrive ranking 5 tel1 urgent",      "arrive ranking 05x tel1 normal",
        "arrive ranking default tel1",       "arrive address 21 0312345678",
        "arrive address 3 03-1234-567a",     "arrive address 3 03 1234",
        "arrive address",                    "arrive",
        "show arrive num3",                  "show arrive",
    };
    for (const char* command : kMalformed) {
        SCOPED_TRACE(command);
        auto area = makeArriveArea();
        const auto before = area->save();
        const auto result = send(*area, command);
        EXPECT_TRUE(result.taken);
        EXPECT_EQ(result.reply, "Error: invalid parameter\r\n");
        EXPECT_EQ(area->save(), before);
    }
    auto area = makeArriveArea();
    std::string reply;
    EXPECT_FALSE(area->handle(test::splitWords("show shortnum num1"), "show shortnum num1", reply));
    EXPECT_FALSE(area->handle(test::splitWords("arrived 1"), "arrived 1", reply));
}

TEST(ArriveArea, SaveRestoreAndReset) {
    auto area = makeArriveArea();
    const auto factory = area->save();
    EXPECT_EQ(factory.at("arrive.entry20.ring"), "0");
    send(*area, "arrive address 20 0398765432*77");
    send(*area, "arrive ranking 20 usb reject");
    send(*area, "arrive ranking default tel2 delay");
    const auto saved = area->save();

    auto copy = makeArriveArea();
    copy->restore(saved);
    EXPECT_EQ(copy->save(), saved);
    EXPECT_EQ(readEntry(send(*copy, "show arrive num2").buffer, 20).value, "0398765432*77");
    // a port ranking code without a keyword (precede, delay) is no valid value
    copy->restore({{"arrive.entry20.usbRank", "0"}, {"arrive.basic.dataDefaultRank", "2"},
                   {"arrive.entry1.number", "12 34"}, {"arrive.entry21.number", "1"}});
    EXPECT_EQ(copy->save(), saved);

    area->reset();
    EXPECT_EQ(area->save(), factory);
}

}  // namespace
}  // namespace kx::sim
