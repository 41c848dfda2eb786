#include <gtest/gtest.h>

#include <string>

#include "sim/Areas.h"
#include "tests/sim/AreaTestSupport.h"

namespace kx::sim {
namespace {

using test::readEntry;
using test::send;

// The arrive session tests set the other standard items and entries 1, 10, 11 and 20 through
// these commands and read them back with the program's reader; these two are read back only
// here.
const test::RoundTrip kBasicRoundTrips[] = {
    {"arrive ranking default usb reject", "show arrive basic", "default usb rank:", "3"},
    {"arrive ranking noid data reject", "show arrive basic", "noid data rank:", "3"},
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
