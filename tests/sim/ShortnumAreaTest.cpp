#include <gtest/gtest.h>

#include <string>

#include "sim/Areas.h"
#include "tests/sim/AreaTestSupport.h"

namespace kx::sim {
namespace {

using test::readEntry;
using test::send;

// Among them numbers of 33 digits, a subaddress of 21 characters (with its "*") and 53
// characters in all.
const char* const kRefused[] = {
    "shortnum add 0 0311112222",
    "shortnum add 21 0311112222",
    "shortnum add x 0311112222",
    "shortnum add 3 03 1111",
    "shortnum add 3 0311a",
    "shortnum add 3 012345678901234567890123456789012",
    "shortnum add 3 0123456789*01234567890123456789",
    "shortnum add 3 01234567890123456789012345678901*0123456789012345678901",
    "shortnum add",
    "shortnum del 3",
    "shortnum",
    "show shortnum num3",
    "show shortnum"};

const char* const kOthers[] = {"show arrive num1", "arrive address 1 03", "shortnums add 1 03"};

TEST(ShortnumArea, MalformedCommandsAreRefused) {
    test::expectRefused(makeShortnumArea, kRefused);
}
TEST(ShortnumArea, OtherCommandsAreLeftAlone) {
    test::expectNotTaken(makeShortnumArea, kOthers);
}

// Every entry set to a number of its own (the longest one fits: 32 characters of number and 20
// of subaddress with its "*"), two of them emptied again, read as the reader does.
TEST(ShortnumArea, EveryEntryRoundTrips) {
    const std::string longest = "01234567890123456789012345678901*0123456789012345678";
    const auto numberOf = [&](int k) {
        return k == 10 ? longest : "(03)" + std::to_string(1000 + k) + (k % 2 ? "#*" : "-9");
    };
    auto area = makeShortnumArea();
    for (int k = 1; k <= 20; ++k) {
        ASSERT_EQ(send(*area, "shortnum add " + std::to_string(k) + " " + numberOf(k)).reply, "");
    }
    EXPECT_EQ(send(*area, "shortnum add 3 ").reply, "");  // the writer's form: a trailing blank
    EXPECT_EQ(send(*area, "shortnum add 17").reply, "");
    for (int k = 1; k <= 20; ++k) {
        const auto entry =
            readEntry(send(*area, k <= 10 ? "show shortnum num1" : "show shortnum num2").buffer, k);
        ASSERT_TRUE(entry.found) << k;
        EXPECT_EQ(entry.value, k == 3 || k == 17 ? "" : numberOf(k)) << k;
    }
}

TEST(ShortnumArea, SaveRestoreAndReset) {
    const char* const commands[] = {"shortnum add 7 0312312312"};
    test::expectSaveRestore(makeShortnumArea, commands,
                            {{"7.number", "03\r\n# "}, {"21.number", "1"}});
}

}  // namespace
}  // namespace kx::sim
