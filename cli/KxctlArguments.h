#pragma once

// kxctl's command line: its options and commands, parsed with CLI11 into one value, with the
// help, the version and every refusal written as kxctl writes them.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/Session.h"

namespace kx::cli {

inline constexpr const char* kProgram = "kxctl";

enum class KxctlCommand { Probe, Names, Show, Backup, Diff, Restore, Set, History, Ports };

struct Arguments {
    KxctlCommand command = KxctlCommand::Probe;
    LinkOptions link;
    bool quiet = false;
    bool json = false;
    std::vector<std::string> areas;
    std::string file;
    std::vector<std::string> assignments;
    bool exitCode = false;    // diff --exit-code
    bool noHistory = false;   // restore and set --no-history
    bool probePorts = false;  // ports --probe
};

// Parses `args` (without the program name) into `a`. Nullopt when a command is to run; else
// the exit status, once the help or the version is written to `out`, or the refusal to `err`.
std::optional<int> parseArguments(const std::vector<std::string>& args, std::ostream& out,
                                  std::ostream& err, Arguments& a);

}  // namespace kx::cli
