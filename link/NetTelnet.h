#pragma once

// The client side of the adapter's telnet: a byte-pushed machine without I/O. Bytes received
// from the socket go in one at a time (NetReceiveByte); out come the data bytes (kept in a
// bounded reply buffer), the answers to the adapter's option negotiation, the login prompt and
// the end of a waiting exchange. The socket, the tests and the fuzzer all drive the same code.
//
// Not thread-safe: the owner (the UI thread) serialises the calls.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "link/TerminatorSearch.h"

namespace kx {

// What one received byte amounted to (the classic result numbers).
enum class NetByte {
    Taken = 1,           // part of a telnet command, or a data byte after the login
    Answered = 2,        // a three-byte telnet command completed (its answer, if any, queued)
    PasswordPrompt = 3,  // "Password: " has arrived and the login is still due
    Data = 4,            // an ordinary data byte
};

// Terminator kinds of the login exchanges (NetSendCommand).
inline constexpr int kNetTerminatorUser = 0;       // ">": the user prompt after the login
inline constexpr int kNetTerminatorPassword = 1;   // "Password:"
inline constexpr int kNetTerminatorAdmin = 2;      // "#": the administrator's prompt
inline constexpr int kNetTerminatorAnyPrompt = 3;  // ">" or "#"

// Bytes the network link keeps (one of them for the terminating zero, as a C text).
inline constexpr std::size_t kNetReplyCapacity = 2048;

class NetTelnet {
public:
    static constexpr unsigned char kIac = 255, kDont = 254, kDo = 253, kWont = 252, kWill = 251;

    // The answer to the command IAC `verb` `option`: three bytes, or empty for none.
    static std::string answerFor(unsigned char verb, unsigned char option);

    // Pushes one received byte. Telnet commands never enter the reply; a doubled IAC (255 255)
    // is one data byte 255.
    NetByte NetReceiveByte(unsigned char byte);

    // Answers to send, in order; the owner sends them and clears the text.
    std::string& answers() { return answers_; }

    // Starts an exchange that ends when one of the terminators (at most two, letters
    // compared without regard to case; empty ones are ignored) is in the bytes received from
    // now on. Clears the reply. With no terminator the exchange only ends by its time-out.
    void beginExchange(std::string_view first, std::string_view second = {});
    // Ends it: later bytes are tested for the login prompt again (until the login is done).
    void endExchange();
    bool exchangeActive() const { return exchangeActive_; }
    // The terminator has arrived since beginExchange().
    bool complete() const { return complete_; }

    // The data bytes kept: at most kNetReplyCapacity - 1 of them; later ones are dropped (an
    // exchange still sees them for its terminator, and truncated() is set).
    std::string_view reply() const { return {reply_.data(), length_}; }
    bool truncated() const { return dropped_ > 0; }
    void clearReply();

    // Set once the login password was accepted: password prompts are no longer reported.
    void setLoginDone(bool done) { loginDone_ = done; }
    bool loginDone() const { return loginDone_; }

    // Back to the state of a fresh connection.
    void reset();

    // The terminators of a login exchange kind (kNetTerminator...); empty for any other kind.
    static void terminatorsOf(int kind, std::string_view& first, std::string_view& second);

private:
    void append(unsigned char byte);

    std::array<unsigned char, 3> command_{};
    int iacCount_ = 0;
    bool iacActive_ = false;
    std::array<char, kNetReplyCapacity> reply_{};
    std::size_t length_ = 0;
    std::size_t dropped_ = 0;
    bool exchangeActive_ = false;
    bool complete_ = false;
    bool loginDone_ = false;
    TerminatorSearch first_;
    TerminatorSearch second_;
    std::string answers_;
};

}  // namespace kx
