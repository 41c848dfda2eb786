// The client telnet machine of the network link fed any byte stream. Besides crashes and
// sanitizer reports it checks its contract against a plain reference: the reply holds exactly
// the data bytes (a telnet command is three bytes from an IAC, its first byte included, so a
// doubled IAC is one data byte 255), cut at the buffer's capacity; every answer is three bytes
// starting with IAC; and a prompt is reported only for "Password: " in the data.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "link/NetTelnet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool exchange = input.ConsumeBool();
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    kx::NetTelnet telnet;
    if (exchange)
        telnet.beginExchange("#", ">");

    // the reference: data bytes as the plain collector sees them
    std::string expected;
    int inCommand = 0;
    std::string command;
    for (unsigned char byte : bytes) {
        const kx::NetByte result = telnet.NetReceiveByte(byte);
        if (inCommand == 0 && byte == kx::NetTelnet::kIac) {
            inCommand = 1;
            command.assign(1, static_cast<char>(byte));
        } else if (inCommand > 0) {
            command.push_back(static_cast<char>(byte));
            if (++inCommand == 3) {
                inCommand = 0;
                kx::fuzz::check(result == kx::NetByte::Answered, "a command not reported");
                if (static_cast<unsigned char>(command[1]) == kx::NetTelnet::kIac)
                    expected.push_back(static_cast<char>(kx::NetTelnet::kIac));
            } else if (command.size() == 2 &&
                       static_cast<unsigned char>(command[1]) == kx::NetTelnet::kIac) {
                // a doubled IAC completes as one data byte
                inCommand = 0;
                expected.push_back(static_cast<char>(kx::NetTelnet::kIac));
            }
        } else {
            expected.push_back(static_cast<char>(byte));
            if (result == kx::NetByte::PasswordPrompt)
                kx::fuzz::check(!exchange && expected.find("Password: ") != std::string::npos,
                                "a prompt without \"Password: \"");
        }
    }
    const std::string& answers = telnet.answers();
    kx::fuzz::check(answers.size() % 3 == 0, "an answer that is not three bytes");
    for (std::size_t i = 0; i < answers.size(); i += 3)
        kx::fuzz::check(static_cast<unsigned char>(answers[i]) == kx::NetTelnet::kIac,
                        "an answer that does not start with IAC");
    const std::string_view reply = telnet.reply();
    kx::fuzz::check(reply.size() < kx::kNetReplyCapacity, "the reply past its buffer");
    kx::fuzz::check(expected.compare(0, reply.size(), reply) == 0, "the reply holds other bytes");
    kx::fuzz::check(reply.size() == expected.size() ||
                        (telnet.truncated() && reply.size() == kx::kNetReplyCapacity - 1),
                    "data bytes lost before the buffer was full");
    return 0;
}
