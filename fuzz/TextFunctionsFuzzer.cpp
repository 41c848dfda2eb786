// The program's reply-text functions and input checks (link/TextFunctions.h) on arbitrary bytes:
// a reply from the adapter, or what a user typed. Besides crashes and sanitizer reports it
// checks each result against its contract and against a plain reference: positions inside the
// text, copies that are what they claim, the label reader never reaching outside the reply, and
// the telephone-number check agreeing with the emulator's.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "link/TextFunctions.h"
#include "sim/AreaText.h"

namespace {

using kx::fuzz::check;

// FindText as plainly as it can be said: the first match, folding case in modes 0 to 2 and
// only at the start in mode 1, then the whole-word modes' own comparison.
int plainFindText(std::string_view text, std::string_view pattern, int mode) {
    const bool fold = mode >= 0 && mode <= 2;
    const std::size_t at = fold ? kx::fuzz::naiveFindNoCase(text, pattern) : text.find(pattern);
    if (at == std::string_view::npos || (mode == 1 && at != 0))
        return 0;
    const int found = static_cast<int>(at) + 1;
    if (mode == 0)
        return found;
    if (mode == 1) {
        std::string word;
        kx::CopyToken(text, word, 0);
        return kx::CompareNoCase(word, pattern) == 0 ? found : 0;
    }
    return kx::CompareNoCase(text, pattern) == 0 ? found : 0;
}

void checkFindText(std::string_view text, std::string_view pattern, int mode) {
    check(kx::FindText(text, pattern, mode) == plainFindText(text, pattern, mode),
          "FindText differs from the plain search");
}

void checkCopyToken(std::string_view source, int kind) {
    std::string destination = "unchanged";
    const int length = kx::CopyToken(source, destination, kind);
    if (length < 0) {
        check(length == -1 && destination == "unchanged", "CopyToken failure changed its output");
        return;
    }
    check(static_cast<std::size_t>(length) <= source.size(), "CopyToken longer than its source");
    check(destination == source.substr(0, static_cast<std::size_t>(length)),
          "CopyToken copied other bytes than the ones before the delimiter");
}

void checkReadLabelValue(std::string_view reply, std::string_view label, std::size_t maxChars) {
    const auto value = kx::ReadLabelValue(reply, label, maxChars);
    const std::size_t at = kx::fuzz::naiveFindNoCase(reply, label);
    check(value.has_value() == (at != std::string_view::npos),
          "ReadLabelValue found a label the plain search does not, or missed one");
    if (!value)
        return;
    check(value->size() <= maxChars, "ReadLabelValue longer than asked");
    check(value->find('\r') == std::string::npos, "ReadLabelValue ran past the line's end");
    const std::size_t start = std::min(at + label.size() + 1, reply.size());
    check(reply.substr(start, value->size()) == *value,
          "ReadLabelValue is not the text one byte after the label");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int mode = input.ConsumeIntegralInRange<int>(-1, 4);
    const int kind = input.ConsumeIntegralInRange<int>(-2, 20);
    const int prefixMode = input.ConsumeIntegralInRange<int>(0, 2);
    const std::size_t maxChars = input.ConsumeIntegralInRange<std::size_t>(0, 80);
    const std::string pattern = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    checkFindText(text, pattern, mode);
    checkCopyToken(text, kind);
    checkReadLabelValue(text, pattern, maxChars);

    const int ip = kx::CheckIpAddress(text, prefixMode);
    check(ip == 0 || ip == 1, "CheckIpAddress answers 0 or 1");
    const int phone = kx::CheckPhoneNumber(text);
    check(phone == 0 || phone == 1, "CheckPhoneNumber answers 0 or 1");
    check((phone == 0) == kx::sim::isPhoneNumber(text),
          "the program and the emulator disagree on a telephone number");
    const int same = kx::CompareNoCase(text, pattern);
    const int back = kx::CompareNoCase(pattern, text);
    check((same < 0) == (back > 0) && (same == 0) == (back == 0), "CompareNoCase not symmetric");
    check(kx::CompareNoCase(text, text) == 0, "CompareNoCase of a text with itself");
    kx::ReadDecimal(text);
    kx::IsPasswordPrompt(text);
    return 0;
}
