#include "link/NetTelnet.h"

#include "link/TextFunctions.h"

namespace kx {

namespace {

struct AnswerRow {
    unsigned char verb;
    unsigned char option;
    unsigned char answerVerb;
};

// The adapter's offers and requests we agree to or refuse; any other command goes unanswered.
constexpr AnswerRow kAnswers[] = {
    {NetTelnet::kWill, 1, NetTelnet::kDo},     // echo: the adapter echoes
    {NetTelnet::kWill, 3, NetTelnet::kDo},     // suppress go-ahead
    {NetTelnet::kWill, 5, NetTelnet::kDont},   // status
    {NetTelnet::kWont, 34, NetTelnet::kDont},  // linemode
    {NetTelnet::kDo, 1, NetTelnet::kWill},     // echo
    {NetTelnet::kDo, 31, NetTelnet::kWont},    // window size
    {NetTelnet::kDo, 33, NetTelnet::kWont},    // remote flow control
    {NetTelnet::kDont, 1, NetTelnet::kWont},   // echo
};

}  // namespace

std::string NetTelnet::answerFor(unsigned char verb, unsigned char option) {
    for (const AnswerRow& row : kAnswers)
        if (row.verb == verb && row.option == option)
            return std::string{static_cast<char>(kIac), static_cast<char>(row.answerVerb),
                               static_cast<char>(option)};
    return {};
}

void NetTelnet::terminatorsOf(int kind, std::string_view& first, std::string_view& second) {
    first = second = {};
    switch (kind) {
        case kNetTerminatorUser:
            first = ">";
            break;
        case kNetTerminatorPassword:
            first = "Password:";
            break;
        case kNetTerminatorAdmin:
            first = "#";
            break;
        case kNetTerminatorAnyPrompt:
            first = ">";
            second = "#";
            break;
        default:
            break;
    }
}

NetByte NetTelnet::NetReceiveByte(unsigned char byte) {
    if (iacActive_ && iacCount_ == 1 && byte == kIac) {
        // IAC IAC: an escaped data byte 255, not the start of a command
        iacActive_ = false;
        iacCount_ = 0;
    } else {
        if (byte == kIac && !iacActive_)
            iacActive_ = true;
        if (iacActive_) {
            command_[static_cast<std::size_t>(iacCount_++)] = byte;
            if (iacCount_ < 3)
                return NetByte::Taken;
            answers_ += answerFor(command_[1], command_[2]);
            iacCount_ = 0;
            iacActive_ = false;
            return NetByte::Answered;
        }
    }

    append(byte);
    if (exchangeActive_)
        return NetByte::Data;
    if (loginDone_)
        return NetByte::Taken;
    return IsPasswordPrompt(reply()) == 1 ? NetByte::PasswordPrompt : NetByte::Data;
}

void NetTelnet::append(unsigned char byte) {
    if (length_ + 1 < reply_.size())
        reply_[length_++] = static_cast<char>(byte);
    else
        ++dropped_;  // bounded: the rest of an over-long reply (or of an idle chatter) goes
    if (exchangeActive_ && !complete_) {
        const std::string_view one(reinterpret_cast<const char*>(&byte), 1);
        // both searches see every byte; either completes the exchange
        bool a = first_.push(one);
        bool b = second_.push(one);
        complete_ = a || b;
    }
}

void NetTelnet::beginExchange(std::string_view first, std::string_view second) {
    clearReply();
    first_ = TerminatorSearch(first);
    second_ = TerminatorSearch(second);
    complete_ = false;
    exchangeActive_ = true;
}

void NetTelnet::endExchange() {
    exchangeActive_ = false;
}

void NetTelnet::clearReply() {
    length_ = 0;
    dropped_ = 0;
    reply_.fill(0);
}

void NetTelnet::reset() {
    *this = NetTelnet{};
}

}  // namespace kx
