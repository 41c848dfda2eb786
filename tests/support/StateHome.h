#pragma once

// Every test process keeps the program's and kxctl's state (the pre-change history) in a
// folder of its own, removed at its end, so no test writes into the home folder. Included by
// the harness and by the test programs that run kxctl; the programs a test starts inherit it.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace kx::test {

inline std::string& stateHome() {
    static std::string folder;
    return folder;
}

inline const bool kStateHomeSet = [] {
    std::error_code error;
    stateHome() =
        (std::filesystem::temp_directory_path(error) / ("kx_state_" + std::to_string(::getpid())))
            .string();
    ::setenv("XDG_STATE_HOME", stateHome().c_str(), 1);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(stateHome(), ignored);
    });
    return true;
}();

}  // namespace kx::test
