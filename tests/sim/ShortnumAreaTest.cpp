#include <gtest/gtest.h>

#include <string>

#include "sim/Areas.h"
#include "tests/sim/AreaTestSupport.h"

namespace kx::sim {
namespace {

using test::readEntry;
using test::send;

std::string showFor(int k) { return k <= 10 ? "show shortnum num1" : "show shortnum num2"; }

struct RoundTrip {
    int entry;
    const char* number;
};

// The longest and the shapes the program's check lets through, in one- and two-digit entries.
const RoundTrip kRoundTrips[] = {
    {1, "0312345678"},
    {9, "03-1234-5678"},
    {10, "(03)1234#5678"},
    {11, "0123456789*0123456789012345678"},                  // 19-digit subaddress
    {19, "01234567890123456789012345678901"},                // 32 digits
    {20, "0312*1"},
    {15, "#31"},
};

TEST(ShortnumArea, EveryEntryRoundTripsAndLeavesTheOthers) {
    for (const RoundTrip& row : kRoundTrips) {
        SCOPED_TRACE(row.entry);
        auto area = makeShortnumArea();
        const std::string command = "shortnum add " + std::to_string(row.entry) + " " + row.number;
        const auto set = send(*area, command);
        EXPECT_TRUE(set.taken);
        EXPECT_EQ(set.reply, "");
        for (int k = 1; k <= 20; ++k) {
            const auto entry = readEntry(send(*area, showFor(k)).buffer, k);
            ASSERT_TRUE(entry.found) << k;
            EXPECT_EQ(entry.value, k == row.entry ? row.number : "") << k;
        }
    }
}

// 32 characters of number and 20 of subaddress with its "*" are the most a number can hold
// (52 in all), well inside the 54 bytes the reader keeps of a line.
TEST(ShortnumArea, TheLongestNumberRoundTrips) {
    auto area = makeShortnumArea();
    const std::string longest = "01234567890123456789012345678901*0123456789012345678";
    ASSERT_EQ(longest.size(), 52u);
    ASSERT_EQ(send(*area, "shortnum add 10 " + longest).reply, "");
    EXPECT_EQ(readEntry(send(*area, "show shortnum num1").buffer, 10).value, longest);
    EXPECT_EQ(send(*area, "shortnum add 10 " + longest + "9").reply,
              "Error: invalid parameter\r\n");
}

TEST(ShortnumArea, AnAddWithoutNumberEmptiesTheEntry) {
    auto area = makeShortnumArea();
    send(*area, "shortnum add 3 0311112222");
    send(*area, "shortnum add 4 0311113333");
    EXPECT_EQ(send(*area, "shortnum add 3 ").reply, "");  // the writer's form, trailing blank
    EXPECT_EQ(send(*area, "shortnum add 4").reply, "");
    const std::string buffer = send(*area, "show shortnum num1").buffer;
    EXPECT_EQ(readEntry(buffer, 3).value, "");
    EXPECT_EQ(readEntry(buffer, 4).value, "");
}

TEST(ShortnumArea, MalformedCommandsAnswerAnErrorAndChangeNothing) {
    const char* const kMalformed[] = {
        "shortnum add 0 0311112222",  "shortnum add 21 0311112222",
        "shortnum add x 0311112222",  "shortnum add 3 03 1111",
        "shortnum add 3 0311a",       "shortnum add 3 012345678901234567890123456789012",
        "shortnum add 3 0123456789*01234567890123456789",
        "shortnum add",               "shortnum del 3",
        "shortnum",                   "show shortnum num3",
        "show shortnum",
    };
    for (const char* command : kMalformed) {
        SCOPED_TRACE(command);
        auto area = makeShortnumArea();
        send(*area, "shortnum add 3 0399990000");
        const auto before = area->save();
        const auto result = send(*area, command);
        EXPECT_TRUE(result.taken);
        EXPECT_EQ(result.reply, "Error: invalid parameter\r\n");
        EXPECT_EQ(area->save(), before);
    }
    auto area = makeShortnumArea();
    std::string reply;
    EXPECT_FALSE(area->handle(test::splitWords("show arrive num1"), "show arrive num1", reply));
}

TEST(ShortnumArea, SaveRestoreAndReset) {
    auto area = makeShortnumArea();
    const auto factory = area->save();
    EXPECT_EQ(factory.size(), 20u);
    send(*area, "shortnum add 7 0312312312");
    const auto saved = area->save();
    EXPECT_EQ(saved.at("shortnum.7.number"), "0312312312");

    auto copy = makeShortnumArea();
    copy->restore(saved);
    EXPECT_EQ(copy->save(), saved);
    copy->restore({{"shortnum.7.number", "03\r\n# "}, {"shortnum.21.number", "1"}});
    EXPECT_EQ(copy->save(), saved);

    area->reset();
    EXPECT_EQ(area->save(), factory);
}

}  // namespace
}  // namespace kx::sim
