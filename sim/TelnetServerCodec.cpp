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
            if (local_[opt] == State::Yes)
                break;
            if (local_[opt] == State::Asked || weOffer(opt)) {
                if (local_[opt] != State::Asked)
                    command(answers, kWill, opt);
                local_[opt] = State::Yes;
            } else {
                command(answers, kWont, opt);
            }
            break;
        case kDont:
            // a refusal of our offer needs no answer; switching off a live option does
            if (local_[opt] == State::Yes)
                command(answers, kWont, opt);
            local_[opt] = State::No;
            break;
        case kWill:  // the peer offers to do it
            if (remote_[opt] == State::Yes)
                break;
            if (remote_[opt] == State::Asked || weAsk(opt)) {
                if (remote_[opt] != State::Asked)
                    command(answers, kDo, opt);
                remote_[opt] = State::Yes;
            } else {
                command(answers, kDont, opt);
            }
            break;
        case kWont:
            if (remote_[opt] == State::Yes)
                command(answers, kDont, opt);
            remote_[opt] = State::No;
            break;
        default:
            break;
    }
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
