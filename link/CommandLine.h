#pragma once

// What the command lines of kestrelx-setup and kestrelx-sim share. Header only: each program
// parses its options with CLI11 and links it itself; nothing in kx_link uses it.

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <utility>

namespace kx {

// A CLI11 check whose refusal is kept word for word (the first one wins), so the error line
// says what the option needs rather than CLI11's own wording.
inline CLI::Validator refusing(std::string& failure,
                               std::function<std::string(const std::string&)> test) {
    return CLI::Validator(
        [&failure, test = std::move(test)](std::string& value) {
            std::string why = test(value);
            if (!why.empty() && failure.empty())
                failure = why;
            return why;
        },
        "");
}

}  // namespace kx
