// The emulator's telnet machine (TelnetServerCodec::receive) on whatever a client sends. Checks:
// the answers are whole three-byte option commands (the program's telnet reader relies on it),
// cutting the bytes into other pieces changes nothing, and escaped data comes through as it was.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "sim/TelnetServerCodec.h"

using kx::sim::TelnetServerCodec;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool offerFirst = input.ConsumeBool();
    const std::size_t piece = input.ConsumeIntegralInRange<std::size_t>(1, 8);
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    TelnetServerCodec whole;
    TelnetServerCodec pieces;
    if (offerFirst) {
        whole.offer();
        pieces.offer();
    }
    std::string wholeData, wholeAnswers;
    whole.receive(bytes, wholeData, wholeAnswers);
    std::string piecesData, piecesAnswers;
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        pieces.receive(std::string_view(bytes).substr(at, piece), piecesData, piecesAnswers);

    kx::fuzz::check(wholeData == piecesData && wholeAnswers == piecesAnswers,
                    "the same bytes in other pieces gave other data or answers");
    kx::fuzz::check(wholeData.size() <= bytes.size(), "more data out than bytes in");
    kx::fuzz::check(wholeAnswers.size() % 3 == 0, "an answer that is not three bytes");
    for (std::size_t i = 0; i < wholeAnswers.size(); i += 3) {
        const auto iac = static_cast<unsigned char>(wholeAnswers[i]);
        const auto verb = static_cast<unsigned char>(wholeAnswers[i + 1]);
        kx::fuzz::check(iac == TelnetServerCodec::kIac, "an answer that does not start with IAC");
        kx::fuzz::check(verb >= TelnetServerCodec::kWill && verb <= TelnetServerCodec::kDont,
                        "an answer that is not WILL, WONT, DO or DONT");
    }
    for (unsigned char option = 0;; ++option) {
        kx::fuzz::check(whole.ours(option) == pieces.ours(option) &&
                            whole.peers(option) == pieces.peers(option),
                        "the same bytes in other pieces left other options on");
        if (option == 255)
            break;
    }

    // data the adapter sends, escaped, reads back unchanged on a fresh machine
    TelnetServerCodec fresh;
    std::string back, answers;
    fresh.receive(TelnetServerCodec::escape(bytes), back, answers);
    kx::fuzz::check(back == bytes && answers.empty(), "escaped data did not come back as it was");
    return 0;
}
