#pragma once

#include <string>

#include "sim/Emulator.h"

namespace kx::sim {

// The command line of the kestrelx-sim program.
struct ProgramOptions {
    enum class Mode {
        Serve,        // the pty and/or the telnet listener, until SIGINT/SIGTERM
        Stdio,        // one login session on standard input/output (a telnet server's login
                      // program)
        StdioSerial,  // one serial session (AT probe first) on standard input/output
    };
    Mode mode = Mode::Serve;
    bool help = false;
    bool echoGiven = false;  // --echo was given (else: typed echo when stdin is a terminal)
    EmulatorOptions emulator;
};

// Parses argv; on a bad option returns false with a message naming it.
bool parseProgramOptions(int argc, const char* const* argv, ProgramOptions& options,
                         std::string& error);

std::string usageText();

}  // namespace kx::sim
