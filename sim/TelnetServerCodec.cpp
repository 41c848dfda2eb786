#include "sim/TelnetServerCodec.h"

namespace kx::sim {
namespace {

void command(std::string& out, unsigned char verb, unsigned char option) {
    out += static_cast<char>(TelnetServerCodec::kIac);
    out += static_cast<char>(verb);
    out += static_cast<char>(option);
}

}  // namespace

std::string TelnetServerCodec::offer() {
    std::string out;
    for (unsigned char opt : {kEcho, kSga, kStatus}) {
        local_[opt] = State::Asked;
        command(out, kWill, opt);
    }
    for (unsigned char opt : {kWindowSize, kFlowControl}) {
        remote_[opt] = State::Asked;
        command(out, kDo, opt);
    }
    return out;
}

void TelnetServerCodec::receive(std::string_view bytes, std::string& data, std::string& answers) {
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        switch (parse_) {
            case Parse::Data:
                if (c == kIac) {
                    parse_ = Parse::Iac;
                } else {
                    data += ch;
                }
                break;
            case Parse::Iac:
                if (c == kIac) {
                    data += ch;
                    parse_ = Parse::Data;
                } else if (c >= kWill && c <= kDont) {
                    verb_ = c;
                    parse_ = Parse::Verb;
                } else if (c == kSb) {
                    parse_ = Parse::Sub;
                } else {
                    parse_ = Parse::Data;  // NOP, GA, AYT and the like: nothing to do
                }
                break;
            case Parse::Verb:
                option(verb_, c, answers);
                parse_ = Parse::Data;
                break;
            case Parse::Sub:
                if (c == kIac)
                    parse_ = Parse::SubIac;
                break;
            case Parse::SubIac:
                parse_ = c == kSe ? Parse::Data : Parse::Sub;
                break;
        }
    }
}

void TelnetServerCodec::option(unsigned char verb, unsigned char opt, std::string& answers) {
    switch (verb) {
        case kDo:  // the peer wants us to do it
            askedOn(local_[opt], weOffer(opt), kWill, kWont, opt, answers);
            break;
        case kWill:  // the peer offers to do it
            askedOn(remote_[opt], weAsk(opt), kDo, kDont, opt, answers);
            break;
        case kDont:
            askedOff(local_[opt], kWont, opt, answers);
            break;
        case kWont:
            askedOff(remote_[opt], kDont, opt, answers);
            break;
        default:
            break;
    }
}

void TelnetServerCodec::askedOn(State& state, bool wanted, unsigned char agree,
                                unsigned char refuse, unsigned char opt, std::string& answers) {
    if (state == State::Yes)
        return;
    if (state == State::Asked || wanted) {
        if (state != State::Asked)
            command(answers, agree, opt);  // the peer agreeing to our request needs no answer
        state = State::Yes;
    } else {
        command(answers, refuse, opt);
    }
}

void TelnetServerCodec::askedOff(State& state, unsigned char off, unsigned char opt,
                                 std::string& answers) {
    // a refusal of our request needs no answer; switching off a live option does
    if (state == State::Yes)
        command(answers, off, opt);
    state = State::No;
}

std::string TelnetServerCodec::escape(std::string_view data) {
    std::string out;
    out.reserve(data.size());
    for (char c : data) {
        out += c;
        if (static_cast<unsigned char>(c) == kIac)
            out += c;
    }
    return out;
}

}  // namespace kx::sim
