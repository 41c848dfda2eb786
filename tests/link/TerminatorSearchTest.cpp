#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "link/TerminatorSearch.h"

namespace kx {
namespace {

TEST(TerminatorText, EveryKindAndOutside) {
    const char* expected[] = {"\r\nOK\r\n", " Write OK ", "READY:\r\n", "F-ROM>",
                              " Erase OK ", "\r\n# ",     "Write OK",   "F0>"};
    ASSERT_EQ(kTerminatorKindCount, 8);
    for (int kind = 0; kind < kTerminatorKindCount; ++kind) {
        EXPECT_EQ(TerminatorText(kind), expected[kind]) << kind;
    }
    for (int kind : {-1, 8, 9}) {
        EXPECT_TRUE(TerminatorText(kind).empty()) << kind;
    }
}

// Upper- and lower-case spellings of each terminator inside a reply with echo before and
// text after, fed in two pieces split at every position: found exactly when complete.
TEST(TerminatorSearch, EveryKindSplitAnywhereAnyCase) {
    for (int kind = 0; kind < kTerminatorKindCount; ++kind) {
        const std::string term(TerminatorText(kind));
        std::string lower = term;
        std::transform(term.begin(), term.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
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

// The cases the split test above cannot meet. Each reply is pushed whole and byte by byte: a
// partial match must survive every boundary.
TEST(TerminatorSearch, Table) {
    // clang-format off
    const struct Row { int kind; std::string reply; bool found; } rows[] = {
        {kTerminatorOk, "exit\r\n# ", false},  // a prompt is no OK line
        {kTerminatorOk, "\r\nOK\r", false},    // line end missing
        {kTerminatorOk, "\r\n\r\n\r\nOK\r\n", true},  // false starts
        {kTerminatorOk, "\r\nO\r\nOK\r\n", true},
        {kTerminatorOk, "\r\noK\r\n", true}, {4, "x ERASE ok y", true},  // mixed case
        {kTerminatorPrompt, "\r\n#", false}, {1, "Write OK\r\n", false},  // blanks matter
        {9, "\r\nOK\r\n\r\n# ", false}, {kTerminatorPrompt, "", false},
        {3, "\xC6-ROM>", false},  // upper-half bytes are not letters
    };
    // clang-format on
    for (const Row& row : rows) {
        TerminatorSearch whole(TerminatorText(row.kind)), bytes(TerminatorText(row.kind));
        EXPECT_EQ(whole.push(row.reply), row.found) << row.kind << " " << row.reply;
        for (char c : row.reply) {
            bytes.push(std::string_view(&c, 1));
        }
        EXPECT_EQ(bytes.found(), row.found) << row.kind << " " << row.reply;
        EXPECT_EQ(bytes.pushed(), row.reply.size()) << row.kind << " " << row.reply;
    }
    EXPECT_FALSE(TerminatorSearch().push("\r\nOK\r\n\r\n# "));  // a default search finds nothing
}

// A kind's search: the adapter's kinds as their one text, kTerminatorOkOrPrompt as either of
// two; each reply pushed whole and byte by byte. `remaining` is checked after the whole reply.
TEST(KindSearch, Table) {
    // clang-format off
    const struct Row { int kind; std::string reply; bool found; std::size_t remaining; } rows[] = {
        {kTerminatorOkOrPrompt, "\r\n# ", true, 0},
        {kTerminatorOkOrPrompt, "\r\nok\r\n", true, 0},       // letters in any case
        {kTerminatorOkOrPrompt, "\r\nOK\r\n\r\n# ", true, 0},
        {kTerminatorOkOrPrompt, "\r\nO\r\n#", false, 1},     // the prompt one byte short
        {kTerminatorOkOrPrompt, "\r\nERROR\r\n", false, 2},  // the nearer of the two
        {kTerminatorOkOrPrompt, "", false, 4},
        {kTerminatorPrompt, "\r\nOK\r\n", false, 2},        // one text only
        {kTerminatorOk, "\r\n# ", false, 6},
        {kTerminatorWriteOk, "x Write ok", true, 0},
        {9, "\r\nOK\r\n\r\n# ", false, TerminatorSearch::kMaxLength},
        {-1, "\r\n# ", false, TerminatorSearch::kMaxLength},
    };
    // clang-format on
    for (const Row& row : rows) {
        KindSearch whole(row.kind), bytes(row.kind);
        EXPECT_EQ(whole.push(row.reply), row.found) << row.kind << " " << row.reply;
        for (char c : row.reply) {
            bytes.push(std::string_view(&c, 1));
        }
        EXPECT_EQ(bytes.found(), row.found) << row.kind << " " << row.reply;
        EXPECT_EQ(whole.remaining(), row.remaining) << row.kind << " " << row.reply;
        EXPECT_EQ(bytes.remaining(), row.remaining) << row.kind << " " << row.reply;
    }
    const Terminators both = TerminatorsOf(kTerminatorOkOrPrompt);
    EXPECT_EQ(both.first, TerminatorText(kTerminatorOk));
    EXPECT_EQ(both.second, TerminatorText(kTerminatorPrompt));
    EXPECT_TRUE(TerminatorsOf(9).empty());
    EXPECT_FALSE(KindSearch().push("\r\nOK\r\n\r\n# "));
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

}  // namespace
}  // namespace kx
