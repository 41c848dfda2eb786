#include "link/TerminatorSearch.h"

namespace kx {

namespace {

constexpr std::string_view kTerminators[kTerminatorKindCount] = {
    "\r\nOK\r\n", " Write OK ", "READY:\r\n", "F-ROM>", " Erase OK ", "\r\n# ", "Write OK", "F0>",
};

unsigned char fold(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

}  // namespace

std::string_view TerminatorText(int kind) {
    if (kind < 0 || kind >= kTerminatorKindCount) {
        return {};
    }
    return kTerminators[kind];
}

Terminators TerminatorsOf(int kind) {
    if (kind == kTerminatorOkOrPrompt) {
        return {kTerminators[kTerminatorOk], kTerminators[kTerminatorPrompt]};
    }
    return {TerminatorText(kind), {}};
}

TerminatorSearch::TerminatorSearch(std::string_view terminator) {
    length_ = terminator.size() < kMaxLength ? terminator.size() : kMaxLength;
    for (std::size_t i = 0; i < length_; ++i) {
        pattern_[i] = fold(static_cast<unsigned char>(terminator[i]));
    }
    // Knuth-Morris-Pratt borders: after a mismatch the matched prefix falls back to its
    // longest border, so no byte is ever looked at twice across pushes.
    std::size_t border = 0;
    for (std::size_t i = 1; i < length_; ++i) {
        while (border > 0 && pattern_[i] != pattern_[border]) {
            border = failure_[border - 1];
        }
        if (pattern_[i] == pattern_[border]) {
            ++border;
        }
        failure_[i] = static_cast<unsigned char>(border);
    }
}

void TerminatorSearch::reset() {
    matched_ = 0;
    pushed_ = 0;
    found_ = false;
}

bool TerminatorSearch::push(std::string_view bytes) {
    pushed_ += bytes.size();
    if (found_ || length_ == 0) {
        return found_;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char byte = fold(static_cast<unsigned char>(bytes[i]));
        while (matched_ > 0 && byte != pattern_[matched_]) {
            matched_ = failure_[matched_ - 1];
        }
        if (byte == pattern_[matched_]) {
            ++matched_;
        }
        if (matched_ == length_) {
            found_ = true;
            break;
        }
    }
    return found_;
}

KindSearch::KindSearch(int kind)
    : first_(TerminatorsOf(kind).first), second_(TerminatorsOf(kind).second) {}

void KindSearch::reset() {
    first_.reset();
    second_.reset();
}

bool KindSearch::push(std::string_view bytes) {
    // both see every byte, so each keeps its own partial match across pushes
    const bool first = first_.push(bytes);
    const bool second = second_.push(bytes);
    return first || second;
}

std::size_t KindSearch::remaining() const {
    // a search that matches nothing reports kMaxLength, never less than a real one
    const std::size_t first = first_.remaining();
    const std::size_t second = second_.remaining();
    return first < second ? first : second;
}

}  // namespace kx
