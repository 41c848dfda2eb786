// The emulated adapter's byte machine (Adapter::feed) with every area behind it, fed whatever
// arrives on the line. Besides crashes and sanitizer reports it checks that the way the bytes
// are cut into reads does not matter: fed whole and fed in pieces, the adapter must receive the
// same command lines.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "sim/Adapter.h"

namespace {

using kx::sim::Adapter;

// The two devices live as long as the harness (making one costs more than most inputs) and
// are renewed for each input, so nothing carries over from the one before.
kx::sim::Device& device(int which) {
    static kx::sim::Device devices[2];
    kx::sim::Device& chosen = devices[which];
    chosen.renew();
    return chosen;
}

struct Run {
    kx::sim::Transcript transcript;
    Adapter adapter;

    Run(int which, Adapter::Start start, bool typedEcho)
        : adapter(device(which), options(typedEcho), start, &transcript) {
        adapter.greet();
    }

    static kx::sim::AdapterOptions options(bool typedEcho) {
        kx::sim::AdapterOptions o;
        o.loginPassword = "lp";
        o.adminPassword = "ap";
        o.typedEcho = typedEcho;
        return o;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto start = input.ConsumeBool() ? Adapter::Start::Login : Adapter::Start::AtProbe;
    const bool typedEcho = input.ConsumeBool();
    const std::size_t piece = input.ConsumeIntegralInRange<std::size_t>(1, 16);
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    Run whole(0, start, typedEcho);
    whole.adapter.feed(bytes);

    Run pieces(1, start, typedEcho);
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        pieces.adapter.feed(std::string_view(bytes).substr(at, piece));

    kx::fuzz::check(whole.transcript.lines() == pieces.transcript.lines(),
                    "the same bytes in other pieces gave other command lines");
    kx::fuzz::check(whole.adapter.finished() == pieces.adapter.finished(),
                    "the same bytes in other pieces ended the session differently");
    return 0;
}
