#include "link/TerminatorSearch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kx {
namespace {

TEST(TerminatorText, EveryKindAndOutside) {
    const std::vector<std::string> expected = {"\r\nOK\r\n", " Write OK ", "READY:\r\n",
                                               "F-ROM>",     " Erase OK ", "\r\n# ",
                                               "Write OK",   "F0>"};
    for (int kind = 0; kind < kTerminatorKindCount; ++kind) {
        EXPECT_EQ(TerminatorText(kind), expected[static_cast<std::size_t>(kind)]) << kind;
    }
    EXPECT_TRUE(TerminatorText(-1).empty());
    EXPECT_TRUE(TerminatorText(8).empty());
    EXPECT_TRUE(TerminatorText(9).empty());
}

// Upper- and lower-case spellings of each terminator inside a reply with echo before and
// text after, fed in two pieces split at every position: found exactly when complete.
TEST(TerminatorSearch, EveryKindSplitAnywhereAnyCase) {
    for (int kind = 0; kind < kTerminatorKindCount; ++kind) {
        const std::string term(TerminatorText(kind));
        std::string lower = term;
        for (char& c : lower) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        for (const std::string& spelling : {term, lower}) {
            const std::string reply = "show x\r\nlabel: value\r\n" + spelling + "tail";
            const std::size_t end = reply.size() - 4;  // one past the terminator's last byte
            for (std::size_t split = 0; split <= reply.size(); ++split) {
                TerminatorSearch search(term);
                const bool first = search.push(std::string_view(reply).substr(0, split));
                EXPECT_EQ(first, split >= end) << "kind " << kind << " split " << split;
                EXPECT_TRUE(search.push(std::string_view(reply).substr(split)))
                    << "kind " << kind << " split " << split;
            }
        }
    }
}

TEST(TerminatorSearch, ByteByByteFoundAtLastByte) {
    const std::string reply = "ATI\r\r\nKESTRELX\r\n\r\nOK\r\n";
    TerminatorSearch search(TerminatorText(kTerminatorOk));
    for (std::size_t i = 0; i < reply.size(); ++i) {
        EXPECT_EQ(search.push(reply.substr(i, 1)), i + 1 == reply.size()) << i;
    }
    EXPECT_EQ(search.pushed(), reply.size());
}

struct Row {
    const char* name;
    int kind;
    std::string reply;
    bool found;
};

TEST(TerminatorSearch, Table) {
    const std::vector<Row> rows = {
        {"prompt is not an OK line", kTerminatorOk, "exit\r\n# ", false},
        {"OK without its line end", kTerminatorOk, "\r\nOK\r", false},
        {"overlapping starts", kTerminatorOk, "\r\n\r\n\r\nOK\r\n", true},
        {"false start then OK", kTerminatorOk, "\r\nO\r\nOK\r\n", true},
        {"mixed case", kTerminatorOk, "\r\noK\r\n", true},
        {"prompt after echo", kTerminatorPrompt, "analog ring_sound tel1 ring2\r\n# ", true},
        {"hash without blank", kTerminatorPrompt, "\r\n#", false},
        {"write ok lower", kTerminatorWriteOk, "fromwr 15\r\nwrite ok\r\n", true},
        {"blanks matter", 1, "Write OK\r\n", false},
        {"blank-framed", 1, "x Write OK y", true},
        {"ready", 2, "ready:\r\n", true},
        {"f-rom", 3, "f-rom>", true},
        {"erase", 4, " ERASE ok ", true},
        {"f0", 7, "f0>", true},
        {"kind 9 never", 9, "\r\nOK\r\n\r\n# ", false},
        {"empty reply", kTerminatorPrompt, "", false},
        {"upper-half bytes are not letters", 3, "\xC6-ROM>", false},
    };
    for (const Row& row : rows) {
        TerminatorSearch search(TerminatorText(row.kind));
        EXPECT_EQ(search.push(row.reply), row.found) << row.name;
    }
}

TEST(TerminatorSearch, StaysFoundUntilReset) {
    TerminatorSearch search(TerminatorText(kTerminatorPrompt));
    EXPECT_TRUE(search.push("\r\n# "));
    EXPECT_TRUE(search.push("more"));
    search.reset();
    EXPECT_FALSE(search.found());
    EXPECT_EQ(search.pushed(), 0u);
    EXPECT_FALSE(search.push("\r\n"));  // the bytes before the reset do not count
    EXPECT_TRUE(search.push("# "));
}

TEST(TerminatorSearch, DefaultMatchesNothing) {
    TerminatorSearch search;
    EXPECT_FALSE(search.push("\r\nOK\r\n"));
}

}  // namespace
}  // namespace kx
