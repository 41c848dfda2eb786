#pragma once

// kxctl's command line and commands, callable in process (the program's main and the tests).

#include <iostream>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace kx::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitAdapter = 1;  // the link or the adapter failed
inline constexpr int kExitUsage = 2;    // a usage or document error; nothing was sent
// Ended by a signal (SIGINT, SIGTERM, SIGHUP): 128 plus its number, after leaving the adapter's
// command line.

// Runs kxctl with `args` (without the program name); standard output goes to `out`, messages
// and progress lines to `err`; a FILE of "-" is read from `in`. `terminal` tells whether `err`
// is a terminal (progress lines are written only then, and not with --quiet).
int runKxctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             bool terminal = false, std::istream& in = std::cin);

}  // namespace kx::cli
