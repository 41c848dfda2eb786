#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kx::sim {

// The adapter's side of telnet: a byte-pushed machine without I/O. It offers WILL ECHO,
// WILL SUPPRESS-GO-AHEAD, WILL STATUS, DO window size and DO remote flow control, takes the
// peer's answers without answering them again, refuses every other option, skips
// subnegotiations and passes data bytes on (IAC IAC is a data byte 255).
//
// It only ever sends three-byte option commands (IAC, verb, option): the program's telnet
// machine reads every IAC as the start of exactly three bytes.
class TelnetServerCodec {
public:
    static constexpr unsigned char kIac = 255, kDont = 254, kDo = 253, kWont = 252, kWill = 251,
                                   kSb = 250, kSe = 240;
    static constexpr unsigned char kEcho = 1, kSga = 3, kStatus = 5, kWindowSize = 31,
                                   kFlowControl = 33;

    // The opening offers, sent once when the connection is accepted.
    std::string offer();

    // Feeds received bytes: data bytes are appended to `data`, protocol answers to `answers`.
    void receive(std::string_view bytes, std::string& data, std::string& answers);

    // Data to send: every 255 doubled.
    static std::string escape(std::string_view data);

    // Whether the option is on: ours (WILL side) or the peer's (DO side).
    bool ours(unsigned char option) const { return local_[option] == State::Yes; }
    bool peers(unsigned char option) const { return remote_[option] == State::Yes; }

private:
    enum class State : unsigned char { No, Yes, Asked };
    enum class Parse { Data, Iac, Verb, Sub, SubIac };

    std::array<State, 256> local_{};
    std::array<State, 256> remote_{};
    Parse parse_ = Parse::Data;
    unsigned char verb_ = 0;

    static bool weOffer(unsigned char option) {
        return option == kEcho || option == kSga || option == kStatus;
    }
    static bool weAsk(unsigned char option) {
        return option == kWindowSize || option == kFlowControl;
    }
    void option(unsigned char verb, unsigned char option, std::string& answers);
    // The peer asks to turn one side of an option on (DO for ours, WILL for its own) or off
    // (DONT, WONT); `agree`, `refuse` and `off` are the verbs of our answer on that side.
    static void askedOn(State& state, bool wanted, unsigned char agree, unsigned char refuse,
                        unsigned char option, std::string& answers);
    static void askedOff(State& state, unsigned char off, unsigned char option,
                         std::string& answers);
};

}  // namespace kx::sim
