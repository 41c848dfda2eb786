#pragma once

// What every harness needs besides libFuzzer: a check that stops the run with a message (an
// abort, so libFuzzer saves the input that broke it), and the case-insensitive search the
// program's terminator and label reading are measured against.

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace kx::fuzz {

[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

inline void check(bool condition, const char* what) {
    if (!condition)
        fail(what);
}

// The plain way: every start position, "A".."Z" folded. 0-based position or npos.
inline std::size_t naiveFindNoCase(std::string_view text, std::string_view pattern) {
    const auto fold = [](unsigned char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
    };
    if (pattern.size() > text.size())
        return std::string_view::npos;
    for (std::size_t at = 0; at + pattern.size() <= text.size(); ++at) {
        std::size_t i = 0;
        while (i < pattern.size() && fold(static_cast<unsigned char>(text[at + i])) ==
                                         fold(static_cast<unsigned char>(pattern[i])))
            ++i;
        if (i == pattern.size())
            return at;
    }
    return std::string_view::npos;
}

}  // namespace kx::fuzz
