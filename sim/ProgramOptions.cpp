#include "sim/ProgramOptions.h"

#include <charconv>
#include <string_view>

namespace kx::sim {
namespace {

// A text that goes into the adapter's replies or is compared with a received line: printable,
// so it can neither end a line early nor be impossible to type.
bool printable(std::string_view text) {
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F)
            return false;
    }
    return true;
}

// The options that set one text of the adapter: the longest text each may be, and whether it
// may be empty (an empty password is typed as an empty line).
struct TextOption {
    std::string_view name;
    std::string AdapterOptions::*field;
    std::size_t limit;
    bool allowEmpty;
};

constexpr TextOption kTextOptions[] = {
    {"--name", &AdapterOptions::name, 64, false},
    {"--version", &AdapterOptions::version, 16, false},
    {"--ident", &AdapterOptions::identification, 64, false},
    {"--login", &AdapterOptions::loginPassword, 34, true},
    {"--admin", &AdapterOptions::adminPassword, 34, true},
};

const TextOption* findTextOption(std::string_view name) {
    for (const TextOption& option : kTextOptions) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

}  // namespace

std::string usageText() {
    return R"(Usage: kestrelx-sim [OPTION]...
The emulated KESTRELX adapter: the AT probe and command line on a pseudo-terminal, the
two-password telnet login on a TCP port, or one session on standard input/output.

Serving (until SIGINT or SIGTERM):
  --pty PATH          also make PATH a symlink to the pseudo-terminal (removed at exit)
  --no-pty            no pseudo-terminal (with --telnet)
  --telnet PORT       serve telnet on TCP PORT (2323 for tests, 23 for the real thing, 0: any)
  --listen-all        listen on every interface (default: the loopback only)
  --stdio             one login session on standard input/output, as a telnet server's
                      login program
  --stdio-serial      one serial session (AT probe first) on standard input/output
The pty path and the telnet port are printed on standard output as "pty: PATH" and
"telnet: PORT".

The adapter:
  --name NAME         device name in the ATI reply and the prompts (default KESTRELX)
  --version TEXT      firmware version after "Version " in the AT%I2 reply (default 2.10a)
  --ident TEXT        the AT%M reply (default KXTA-100 SN-00042)
  --login PW          login password of the network side (default: empty)
  --admin PW          administrator password (default: empty)
  --state FILE        keep the flash copy in FILE: loaded at start, written by "fromwr 15"
                      and "restart"
  --paced             send at the line speed of 115200 bit/s (about 87 us a byte)
  --echo typed|line   echo each typed byte at once (typed), or the whole line before its
                      reply (line); default: typed when standard input is a terminal in the
                      stdio modes, otherwise line
  --transcript FILE   write every command line received to FILE, one a line, as received
                      without its line end (the bare CR of the probe is an empty line)
  --fault SPEC        inject a fault (repeatable), SPEC = KIND[=VALUE][/COUNT][:PATTERN]
  --help              this text

Faults (VALUE in bytes or milliseconds):
  silent              no reply at all
  cut=N               the reply stops after N bytes
  delay=MS            wait MS ms before replying
  drip=MS             one byte at a time, MS ms apart
  lower               terminators in lower case ("\r\nok\r\n", "write ok")
  long[=N]            filler lines before the prompt: the reply is at least N bytes (2600)
  garbage             a line of NUL, 0xFF and bytes above 0x7F after the echo
  nolabel=LABEL:      leave out the reply lines that begin with LABEL (its colon ends it)
  drop[=N]            hang up after N bytes of the reply (0): the pty closes and a new one
                      replaces it, the TCP connection is reset
  refuse-login        refuse every login password (no pattern)
PATTERN is matched against the received command line, letters without regard to case: with
* or ? a glob over the whole line, otherwise a command prefix ending at a word boundary; none
or * means every command. /COUNT limits the fault to the next COUNT matching commands.
Examples: --fault silent:ATI  --fault cut=40:show analog  --fault delay=500:*
          --fault nolabel=ring sound::show analog tel1  --fault drop/1:fromwr 15
)";
}

bool parseProgramOptions(int argc, const char* const* argv, ProgramOptions& options,
                         std::string& error) {
    options = ProgramOptions{};
    EmulatorOptions& emu = options.emulator;
    bool noPty = false;
    bool stdio = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = std::string(arg) + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        auto text = [&](std::string& out, std::size_t limit, bool allowEmpty) {
            if (!value(out))
                return false;
            if ((!allowEmpty && out.empty()) || out.size() > limit || !printable(out)) {
                error = std::string(arg) + " takes " + (allowEmpty ? "" : "a non-empty ") +
                        "text of printable characters, at most " + std::to_string(limit) + " bytes";
                return false;
            }
            return true;
        };
        std::string v;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--pty") {
            if (!value(emu.ptyLink))
                return false;
            if (emu.ptyLink.empty()) {
                error = "--pty needs a path";
                return false;
            }
        } else if (arg == "--no-pty") {
            noPty = true;
        } else if (arg == "--telnet") {
            if (!value(v))
                return false;
            int port = -1;
            auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), port);
            if (ec != std::errc() || ptr != v.data() + v.size() || port < 0 || port > 65535) {
                error = "--telnet takes a TCP port 0..65535, not \"" + v + "\"";
                return false;
            }
            emu.telnetPort = port;
        } else if (arg == "--listen-all") {
            emu.listenAll = true;
        } else if (arg == "--stdio") {
            options.mode = ProgramOptions::Mode::Stdio;
            stdio = true;
        } else if (arg == "--stdio-serial") {
            options.mode = ProgramOptions::Mode::StdioSerial;
            stdio = true;
        } else if (const TextOption* option = findTextOption(arg)) {
            if (!text(emu.adapter.*option->field, option->limit, option->allowEmpty))
                return false;
        } else if (arg == "--paced") {
            emu.paced = true;
        } else if (arg == "--echo") {
            if (!value(v))
                return false;
            if (v != "typed" && v != "line") {
                error = "--echo takes typed or line, not \"" + v + "\"";
                return false;
            }
            emu.adapter.typedEcho = v == "typed";
            options.echoGiven = true;
        } else if (arg == "--transcript") {
            if (!value(emu.transcriptFile))
                return false;
        } else if (arg == "--state") {
            if (!value(emu.stateFile))
                return false;
        } else if (arg == "--fault") {
            if (!value(v))
                return false;
            FaultRule rule;
            std::string why;
            if (!parseFault(v, rule, why)) {
                error = "--fault " + v + ": " + why;
                return false;
            }
            emu.faults.push_back(rule);
        } else {
            error = "unknown option " + std::string(arg) + " (see --help)";
            return false;
        }
    }
    if (stdio && (!emu.ptyLink.empty() || emu.telnetPort >= 0)) {
        error = "--stdio and --stdio-serial serve standard input/output only: no --pty or --telnet";
        return false;
    }
    if (noPty && !emu.ptyLink.empty()) {
        error = "--no-pty and --pty contradict each other";
        return false;
    }
    emu.pty = !noPty && !stdio;
    if (!stdio && !emu.pty && emu.telnetPort < 0) {
        error = "--no-pty leaves nothing to serve: add --telnet PORT";
        return false;
    }
    return true;
}

}  // namespace kx::sim
