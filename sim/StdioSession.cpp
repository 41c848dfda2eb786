#include "sim/StdioSession.h"

#include <termios.h>
#include <unistd.h>

#include "sim/Transports.h"

namespace kx::sim {

bool serveStdio(EmulatorOptions options, bool serial, bool echoGiven, const StopSignal& stop,
                std::string& error) {
    Device device;
    Transcript transcript;
    FaultSet faults;
    if (!options.stateFile.empty() && !device.useStateFile(options.stateFile, error))
        return false;
    if (!options.transcriptFile.empty() && !transcript.writeTo(options.transcriptFile, error))
        return false;
    for (const FaultRule& rule : options.faults) faults.add(rule);

    termios saved{};
    const bool terminal = ::isatty(STDIN_FILENO) && ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios raw = saved;
        ::cfmakeraw(&raw);
        raw.c_oflag |= OPOST | ONLCR;  // our "\r\n" stays as it is; a stray "\n" still works
        ::tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    }
    if (!echoGiven)
        options.adapter.typedEcho = terminal;

    Adapter adapter(device, options.adapter,
                    serial ? Adapter::Start::AtProbe : Adapter::Start::Login, &transcript, &faults);
    StdioTransport transport(STDIN_FILENO, STDOUT_FILENO, stop, options.paced);
    runSession(adapter, transport, stop);

    if (terminal)
        ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    return true;
}

}  // namespace kx::sim
