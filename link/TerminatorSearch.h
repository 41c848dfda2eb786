#pragma once

// The end-of-reply test of an exchange: the terminator text of its kind, found anywhere in the
// reply without regard to case. Bytes are pushed in as they arrive; each byte is examined once
// (a matcher state carries the last terminator-length - 1 bytes), so a reply that trickles in
// byte by byte costs no rescans. No I/O, no locking: the owner serialises the calls.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace kx {

// Terminator kinds of SendCommand. The command prompt (kind 5) ends every settings command.
inline constexpr int kTerminatorOk = 0;         // "\r\nOK\r\n": AT commands, "exit\r"
inline constexpr int kTerminatorPrompt = 5;     // "\r\n# ": the adapter's command line
inline constexpr int kTerminatorWriteOk = 6;    // "Write OK": "fromwr 15\r"
inline constexpr int kTerminatorKindCount = 8;  // kinds 0..7

// A kind of this program's own, beyond the adapter's eight: an OK line or the command prompt,
// whichever arrives first. The bare "\r" at the end of the probe takes it: the adapter answers
// that line with its prompt, not with an OK line.
inline constexpr int kTerminatorOkOrPrompt = 8;

// The terminator text of a kind, or an empty view for a kind outside 0..7 (such an exchange
// never completes and ends by its time-out). kTerminatorOkOrPrompt has two: see Terminators.
std::string_view TerminatorText(int kind);

// The texts that complete an exchange of `kind`: the one of a kind 0..7 (second empty), the OK
// line and the prompt for kTerminatorOkOrPrompt, none for any other kind.
struct Terminators {
    std::string_view first;
    std::string_view second;
    bool empty() const { return first.empty() && second.empty(); }
};
Terminators TerminatorsOf(int kind);

class TerminatorSearch {
public:
    // Matches nothing: push() never reports a terminator.
    TerminatorSearch() = default;
    // Looks for `terminator` (letters "A".."Z" folded; every other byte compared as it is).
    // An empty terminator matches nothing. Terminators are at most kMaxLength bytes; a longer
    // one is cut there.
    explicit TerminatorSearch(std::string_view terminator);

    static constexpr std::size_t kMaxLength = 32;

    // Forgets the bytes seen so far (the terminator stays).
    void reset();

    // Examines `bytes`, which follow every byte pushed since the last reset(). Returns found().
    bool push(std::string_view bytes);

    // True once the terminator has been complete anywhere in the pushed bytes; stays true until
    // reset().
    bool found() const { return found_; }

    // The fewest further bytes that could complete the terminator (0 once found; for a search
    // that matches nothing, kMaxLength).
    std::size_t remaining() const {
        return found_ ? 0 : length_ == 0 ? kMaxLength : length_ - matched_;
    }

    // Total bytes pushed since the last reset() (for diagnostics and tests).
    std::size_t pushed() const { return pushed_; }

private:
    std::array<unsigned char, kMaxLength> pattern_{};
    // failure_[i]: length of the longest proper border of pattern_[0..i].
    std::array<unsigned char, kMaxLength> failure_{};
    std::size_t length_ = 0;
    std::size_t matched_ = 0;  // bytes of the terminator matched at the end of the input so far
    std::size_t pushed_ = 0;
    bool found_ = false;
};

// The end-of-reply test of an exchange kind: its terminator, or either of its two
// (TerminatorsOf). Same contract as TerminatorSearch.
class KindSearch {
public:
    KindSearch() = default;  // matches nothing
    explicit KindSearch(int kind);

    void reset();
    bool push(std::string_view bytes);
    bool found() const { return first_.found() || second_.found(); }
    // The fewest further bytes that could complete either terminator (0 once found).
    std::size_t remaining() const;

private:
    TerminatorSearch first_;
    TerminatorSearch second_;  // matches nothing for a kind with one terminator
};

}  // namespace kx
