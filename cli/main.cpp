// kxctl: the settings of a KESTRELX adapter from the command line.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/Profile.h"
#include "cli/Kxctl.h"

int main(int argc, char** argv) {
    // the settings file belongs to the folder the program was started in
    kx::StartupDirectory();
    std::vector<std::string> args(argv + 1, argv + argc);
    return kx::cli::runKxctl(args, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
