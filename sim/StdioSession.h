#pragma once

#include <string>

#include "sim/Emulator.h"
#include "sim/Session.h"

namespace kx::sim {

// Serves one session on standard input/output until end of input or `stop`: the login
// session (`serial` false) or the serial one (AT probe first). A terminal on standard input is
// put in raw mode for the session and restored afterwards; without --echo given the echo is
// per typed byte on a terminal and per line otherwise. Returns false with `error` set when the
// state or transcript file cannot be used.
bool serveStdio(EmulatorOptions options, bool serial, bool echoGiven, const StopSignal& stop,
                std::string& error);

}  // namespace kx::sim
