#include <gtest/gtest.h>

#include <string>

#include "link/TerminatorSearch.h"

namespace kx {
namespace {

// A terminator's search is TerminatorSearchFuzzer's, against a plain case-insensitive search of
// the whole reply, pushed in pieces of any size, for every kind and any text; the sessions meet a
// false start in every reply of the emulated adapter ("\r\n\r\n# "), the fault matrix its letters
// in lower case.
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

}  // namespace
}  // namespace kx
