#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kx {

// The command line of kestrelx-setup.
struct Options {
    std::string portDevice;  // --port DEVICE: the device of the chosen COM port for this run
    bool headless = false;   // --headless: the scripted backend, no display and no Qt
    std::string scriptPath;  // --script FILE: the user session replayed headless
    int netPort = 0;         // --net-port N: the adapter's TCP port (0: the telnet port, 23)
    bool demo = false;       // --demo: the built-in emulated adapter on COM1
    bool router = false;     // --router: the router commands on the main window
    bool help = false;       // --help
    bool version = false;    // --version
};

struct OptionsResult {
    std::optional<Options> options;  // empty when the command line is wrong
    std::string error;               // what is wrong, for standard error
};

// Parses the arguments after the program name.
OptionsResult parseOptions(const std::vector<std::string>& args);

// The text printed by --help.
std::string usageText();

// The utility's own version, as the version dialog and --version show it.
inline constexpr const char* kUtilityVersionText = "Version 1.01";

}  // namespace kx
