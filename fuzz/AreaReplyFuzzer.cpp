// Every settings area's reader fed whatever the adapter might answer: one input is split into
// the replies of the area's "show" commands. Besides crashes and sanitizer reports it checks
// what the readers promise: no value longer than its row keeps, numbered entries trimmed, and
// reading the same replies twice gives the same records (nothing depends on what was there).

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "analog/AnalogSettings.h"
#include "arrive/ArriveSettings.h"
#include "digital/DigitalSettings.h"
#include "fuzz/FuzzCheck.h"
#include "link/TextFunctions.h"
#include "shortnum/ShortNumbers.h"

namespace {

// Answers the reader's exchanges with the given replies in turn, then fails.
int readWith(const std::vector<std::string>& replies, int (*read)(const kx::AreaContext&)) {
    kx::ReplyBuffer reply;
    kx::AreaContext context(reply);
    std::size_t next = 0;
    context.exchange = [&](std::string_view, kx::ReplyBuffer& into, int, int) {
        if (next == replies.size())
            return 0;
        into.assign(replies[next++]);
        return 1;
    };
    return read(context);
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

void checkText(const std::string& text, bool trimmed) {
    kx::fuzz::check(text.size() <= kx::kLabelValueMax, "a value longer than the reader keeps");
    kx::fuzz::check(text.find('\r') == std::string::npos, "a carriage return inside a value");
    if (trimmed && !text.empty())
        kx::fuzz::check(!isSpace(text.front()) && !isSpace(text.back()), "an entry not trimmed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<std::string> replies;
    for (int i = 0; i < 4; ++i) replies.push_back(input.ConsumeRandomLengthString(2047));

    for (int pass = 0; pass < 2; ++pass) {
        kx::analogSettings.reset();
        kx::digitalSettings.reset();
        kx::arriveSettings.reset();
        kx::shortNumbers.reset();
        readWith(replies, kx::ReadAnalogSettings);
        readWith(replies, kx::ReadDigitalSettings);
        readWith(replies, kx::ReadArriveSettings);
        readWith(replies, kx::ReadShortNumbers);
    }
    for (const kx::TelPortSettings& port : kx::analogSettings.snapshot.tel) {
        checkText(port.selfAddress, false);
        checkText(port.transferAddress, false);
    }
    for (const kx::DigitalPortSettings* port :
         {&kx::digitalSettings.snapshot.data, &kx::digitalSettings.snapshot.usb}) {
        checkText(port->selfAddress, false);
        checkText(port->transferAddress, false);
    }
    for (const kx::ArriveEntry& entry : kx::arriveSettings.snapshot.entries)
        checkText(entry.number, true);
    for (const kx::ShortNumberEntry& entry : kx::shortNumbers.snapshot)
        checkText(entry.number, true);

    // a read that succeeded leaves the working copy equal to the snapshot
    kx::fuzz::check(kx::analogSettings.working == kx::analogSettings.snapshot,
                    "analog copies differ after a read");
    kx::fuzz::check(kx::shortNumbers.working == kx::shortNumbers.snapshot,
                    "short-number copies differ after a read");
    return 0;
}
