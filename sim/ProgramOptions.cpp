#include "sim/ProgramOptions.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "link/CommandLine.h"

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

// The TCP port of --telnet: 0..65535, the whole text a decimal number; -1 for anything else.
int tcpPort(const std::string& text) {
    int port = -1;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (ec != std::errc() || ptr != text.data() + text.size() || port < 0 || port > 65535)
        return -1;
    return port;
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
  --at-command-line   the serial side starts at the command line, not the AT probe, as
                      when an earlier session was killed before its "exit"
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

    // the text printed by --help is usageText(); CLI11's own help flag is not used
    CLI::App app{"The emulated KESTRELX adapter.", "kestrelx-sim"};
    app.set_help_flag();
    app.allow_extras();  // reported below as "unknown option", as the first of them
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

    std::string failure;
    std::vector<CLI::Option*> valued;  // the options that take a value

    app.add_flag("-h,--help", options.help, "this text");
    valued.push_back(app.add_option("--pty", emu.ptyLink, "also make PATH a symlink to the pty")
                         ->check(refusing(failure, [](const std::string& v) {
                             return v.empty() ? "--pty needs a path" : std::string();
                         })));
    bool noPty = false;
    app.add_flag("--no-pty", noPty, "no pseudo-terminal (with --telnet)");
    std::string telnet;
    valued.push_back(app.add_option("--telnet", telnet, "serve telnet on TCP PORT")
                         ->check(refusing(failure, [](const std::string& v) {
                             return tcpPort(v) < 0
                                        ? "--telnet takes a TCP port 0..65535, not \"" + v + "\""
                                        : std::string();
                         })));
    app.add_flag("--listen-all", emu.listenAll, "listen on every interface");
    CLI::Option* stdioOption =
        app.add_flag("--stdio")->description("one login session on standard input/output");
    CLI::Option* stdioSerialOption =
        app.add_flag("--stdio-serial")->description("one serial session on standard input/output");
    for (const TextOption& text : kTextOptions) {
        valued.push_back(
            app.add_option(std::string(text.name), emu.adapter.*text.field, "a text of the adapter")
                ->check(refusing(failure, [&text](const std::string& v) {
                    if ((text.allowEmpty || !v.empty()) && v.size() <= text.limit && printable(v))
                        return std::string();
                    return std::string(text.name) + " takes " +
                           (text.allowEmpty ? "" : "a non-empty ") +
                           "text of printable characters, at most " + std::to_string(text.limit) +
                           " bytes";
                })));
    }
    valued.push_back(app.add_option("--state", emu.stateFile, "keep the flash copy in FILE"));
    app.add_flag("--at-command-line", emu.adapter.atCommandLine,
                 "the serial side starts at the command line");
    app.add_flag("--paced", emu.paced, "send at the line speed of 115200 bit/s");
    std::string echo;
    valued.push_back(app.add_option("--echo", echo, "typed or line")
                         ->check(refusing(failure, [](const std::string& v) {
                             return v == "typed" || v == "line"
                                        ? std::string()
                                        : "--echo takes typed or line, not \"" + v + "\"";
                         })));
    valued.push_back(app.add_option("--transcript", emu.transcriptFile,
                                    "write every command line received to FILE"));
    std::vector<std::string> faults;
    valued.push_back(app.add_option("--fault", faults, "inject a fault (repeatable)")
                         ->allow_extra_args(false)
                         ->check(refusing(failure, [](const std::string& v) {
                             FaultRule rule;
                             std::string why;
                             return parseFault(v, rule, why) ? std::string()
                                                             : "--fault " + v + ": " + why;
                         })));

    try {
        app.parse(argc, argv);
    } catch (const CLI::ArgumentMismatch& e) {
        // an option given last without its value
        error = e.what();
        for (const CLI::Option* option : valued) {
            if (error.rfind(option->get_name() + ":", 0) == 0) {
                error = option->get_name() + " needs a value";
                break;
            }
        }
        return false;
    } catch (const CLI::ParseError& e) {
        error = failure.empty() ? std::string(e.what()) : failure;
        return false;
    }
    const std::vector<std::string> extra = app.remaining();
    if (!extra.empty()) {
        error = "unknown option " + extra.front() + " (see --help)";
        return false;
    }

    if (!telnet.empty())
        emu.telnetPort = tcpPort(telnet);
    if (!echo.empty()) {
        emu.adapter.typedEcho = echo == "typed";
        options.echoGiven = true;
    }
    for (const std::string& spec : faults) {
        FaultRule rule;
        std::string why;
        parseFault(spec, rule, why);  // checked above
        emu.faults.push_back(rule);
    }
    // the last of --stdio and --stdio-serial chooses the mode
    bool stdio = false;
    for (const CLI::Option* given : app.parse_order()) {
        if (given == stdioOption || given == stdioSerialOption) {
            options.mode = given == stdioOption ? ProgramOptions::Mode::Stdio
                                                : ProgramOptions::Mode::StdioSerial;
            stdio = true;
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
