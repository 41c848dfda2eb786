// The program's incremental end-of-reply search (kx::TerminatorSearch) against the plain search
// of the whole reply: for every kind of SendCommand and for a terminator taken from the input,
// pushed in pieces of any size, found() must say what a case-insensitive search says.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "link/TerminatorSearch.h"

namespace {

void expectSameAsPlainSearch(std::string_view terminator, const std::string& reply,
                             std::size_t piece) {
    kx::TerminatorSearch search(terminator);
    const std::string_view used = terminator.substr(0, kx::TerminatorSearch::kMaxLength);
    // all matches are equally long, so the first one to start is the first one complete
    const std::size_t first =
        used.empty() ? std::string_view::npos : kx::fuzz::naiveFindNoCase(reply, used);
    std::size_t pushed = 0;
    for (std::size_t at = 0; at < reply.size(); at += piece) {
        const std::string_view part = std::string_view(reply).substr(at, piece);
        const bool found = search.push(part);
        pushed += part.size();
        const bool expected = first != std::string_view::npos && first + used.size() <= pushed;
        kx::fuzz::check(found == expected, "found() differs from the plain search");
        kx::fuzz::check(found == search.found(), "push() and found() disagree");
        kx::fuzz::check(found ? search.remaining() == 0 : search.remaining() > 0,
                        "remaining() does not fit found()");
        kx::fuzz::check(used.empty() || search.remaining() <= used.size(),
                        "remaining() beyond the terminator's length");
    }
    kx::fuzz::check(search.pushed() == reply.size(), "pushed() lost count");
    search.reset();
    kx::fuzz::check(!search.found() && search.pushed() == 0, "reset() kept what was seen");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int kind = input.ConsumeIntegralInRange<int>(-1, kx::kTerminatorKindCount);
    const std::size_t piece = input.ConsumeIntegralInRange<std::size_t>(1, 64);
    const std::string own = input.ConsumeRandomLengthString(40);
    const std::string reply = input.ConsumeRemainingBytesAsString();

    expectSameAsPlainSearch(kx::TerminatorText(kind), reply, piece);
    expectSameAsPlainSearch(own, reply, piece);
    return 0;
}
