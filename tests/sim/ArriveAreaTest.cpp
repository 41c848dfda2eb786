#include <gtest/gtest.h>

#include <string>

#include "sim/Areas.h"
#include "tests/sim/AreaTestSupport.h"

namespace kx::sim {
namespace {

using test::readEntry;
using test::readLabel;
using test::send;

// Every setting command of the standard area, each with a value of its own.
const test::RoundTrip kBasicRoundTrips[] = {
    {"arrive ring_select pseudo", "show arrive basic", "ring select service:", "1"},
    {"arrive trouble_tel pseudo", "show arrive basic", "trouble tel service:", "1"},
    {"arrive ring_select ring3", "show arrive basic", "ntt ring:", "2"},
    {"arrive ranking default tel1 precede", "show arrive basic", "default tel1 rank:", "0"},
    {"arrive ranking default tel2 delay", "show arrive basic", "default tel2 rank:", "2"},
    {"arrive ranking default tel3 reject", "show arrive basic", "default tel3 rank:", "3"},
    {"arrive ranking default data reject", "show arrive basic", "default data rank:", "3"},
    {"arrive ranking default usb reject", "show arrive basic", "default usb rank:", "3"},
    {"arrive ranking default pna reject", "show arrive basic", "default pna rank:", "3"},
    {"arrive ring_select default ring2", "show arrive basic", "default ring:", "1"},
    {"arrive ranking noid tel1 delay", "show arrive basic", "noid tel1 rank:", "2"},
    {"arrive ranking noid tel2 reject", "show arrive basic", "noid tel2 rank:", "3"},
    {"arrive ranking noid tel3 precede", "show arrive basic", "noid tel3 rank:", "0"},
    {"arrive ranking noid data reject", "show arrive basic", "noid data rank:", "3"},
    {"arrive ranking noid usb reject", "show arrive basic", "noid usb rank:", "3"},
    {"arrive ranking noid pna reject", "show arrive basic", "noid pna rank:", "3"},
    {"arrive ranking noid pna normal", "show arrive basic", "noid pna rank:", "1"},
    {"arrive ring_select noid ring3", "show arrive basic", "noid ring:", "2"},
};

const char* const kRefused[] = {"arrive ring_select maybe",
                                "arrive ring_select ring4",
                                "arrive ring_select default ring0",
                                "arrive ring_select 21 ring1",
                                "arrive ring_select 0 ring1",
                                "arrive trouble_tel ring1",
                                "arrive ranking default tel4 normal",
                                "arrive ranking default data precede",
                                "arrive ranking noid usb delay",
                                "arrive ranking 5 pna precede",
                                "arrive ranking 5 tel1 urgent",
                                "arrive ranking 05x tel1 normal",
                                "arrive ranking default tel1",
                                "arrive address 21 0312345678",
                                "arrive address 3 03-1234-567a",
                                "arrive address 3 03 1234",
                                "arrive address",
                                "arrive",
                                "show arrive num3",
                                "show arrive"};

const char* const kOthers[] = {"show shortnum num1", "arrived 1", "shortnum add 1 03"};

TEST(ArriveArea, BasicCommandsRoundTrip) {
    test::expectRoundTrips(makeArriveArea, kBasicRoundTrips);
}
TEST(ArriveArea, MalformedCommandsAreRefused) {
    test::expectRefused(makeArriveArea, kRefused);
}
TEST(ArriveArea, OtherCommandsAreLeftAlone) {
    test::expectNotTaken(makeArriveArea, kOthers);
}

// All 20 entries with items that differ from entry to entry, read as the reader does: entry k
// by the first "k: " of its reply, its labels from there on.
TEST(ArriveArea, EntryCommandsRoundTrip) {
    auto area = makeArriveArea();
    const char* const rank[] = {"precede", "normal", "delay", "reject"};
    for (int k = 1; k <= 20; ++k) {
        const std::string n = std::to_string(k);
        for (const std::string& command :
             {"arrive address " + n + " 03-5555-" + std::to_string(1000 + k),
              "arrive ranking " + n + " tel1 " + rank[k % 4],
              "arrive ranking " + n + " tel2 " + rank[(k + 1) % 4],
              "arrive ranking " + n + " tel3 " + rank[(k + 2) % 4],
              "arrive ranking " + n + " data " + (k % 2 ? "reject" : "normal"),
              "arrive ranking " + n + " usb " + (k % 3 ? "normal" : "reject"),
              "arrive ranking " + n + " pna reject",
              "arrive ring_select " + n + " ring" + std::to_string(k % 3 + 1)}) {
            ASSERT_EQ(send(*area, command).reply, "") << command;
        }
    }
    send(*area, "arrive address 12 ");  // an emptied entry is still listed, with its items
    for (int k = 1; k <= 20; ++k) {
        SCOPED_TRACE(k);
        const std::string buffer =
            send(*area, k <= 10 ? "show arrive num1" : "show arrive num2").buffer;
        const auto entry = readEntry(buffer, k);
        ASSERT_TRUE(entry.found);
        EXPECT_EQ(entry.value, k == 12 ? "" : "03-5555-" + std::to_string(1000 + k));
        EXPECT_EQ(readLabel(buffer, "tel1 rank:", entry.anchor), std::to_string(k % 4));
        EXPECT_EQ(readLabel(buffer, "tel2 rank:", entry.anchor), std::to_string((k + 1) % 4));
        EXPECT_EQ(readLabel(buffer, "tel3 rank:", entry.anchor), std::to_string((k + 2) % 4));
        EXPECT_EQ(readLabel(buffer, "data rank:", entry.anchor), k % 2 ? "3" : "1");
        EXPECT_EQ(readLabel(buffer, "usb rank:", entry.anchor), k % 3 ? "1" : "3");
        EXPECT_EQ(readLabel(buffer, "pna rank:", entry.anchor), "3");
        EXPECT_EQ(readLabel(buffer, "ring:", entry.anchor), std::to_string(k % 3));
    }
}

// Ten entries with the longest numbers still fit the program's 2048-byte reply buffer.
TEST(ArriveArea, AFullListFitsTheReplyBuffer) {
    auto area = makeArriveArea();
    for (int k = 1; k <= 20; ++k) {
        send(*area, "arrive address " + std::to_string(k) +
                        " 01234567890123456789012345678901*0123456789012345678");
    }
    for (const char* show : {"show arrive num1", "show arrive num2"}) {
        const std::string buffer = send(*area, show).buffer;
        EXPECT_LT(buffer.size(), 2048u) << show;
        EXPECT_EQ(readEntry(buffer, std::string_view(show).ends_with("1") ? 10 : 20).value.size(),
                  52u)
            << show;
    }
}

TEST(ArriveArea, SaveRestoreAndReset) {
    const char* const commands[] = {"arrive address 20 0398765432*77",
                                    "arrive ranking 20 usb reject",
                                    "arrive ranking default tel2 delay"};
    // a port ranking code without a keyword (precede, delay) is no valid value
    test::expectSaveRestore(makeArriveArea, commands,
                            {{"entry20.usbRank", "0"},
                             {"basic.dataDefaultRank", "2"},
                             {"entry1.number", "12 34"},
                             {"entry21.number", "1"}});
}

}  // namespace
}  // namespace kx::sim
