#include "app/Options.h"

#include <CLI/CLI.hpp>
#include <functional>
#include <utility>

#include "link/CommandLine.h"

namespace kx {
namespace {

// The TCP port of --net-port: decimal digits only, 1..65535; -1 for anything else.
int tcpPort(const std::string& text) {
    int port = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || port > 65535)
            return -1;
        port = port * 10 + (c - '0');
    }
    return port >= 1 && port <= 65535 ? port : -1;
}

}  // namespace

OptionsResult parseOptions(const std::vector<std::string>& args) {
    Options o;
    auto fail = [](std::string why) { return OptionsResult{std::nullopt, std::move(why)}; };

    // the text printed by --help is usageText(); CLI11's own help flag is not used
    CLI::App app{"The settings utility of the KESTRELX ISDN terminal adapter.", "kestrelx-setup"};
    app.set_help_flag();
    app.allow_extras();  // reported below as "unknown argument", as the first of them
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

    std::string failure;
    std::string netPortText;
    CLI::Option* port =
        app.add_option("--port", o.portDevice, "the device of the chosen COM port for this run")
            ->check(refusing(failure, [](const std::string& v) {
                return v.empty() ? "--port needs a device, e.g. --port /dev/ttyUSB0"
                                 : std::string();
            }));
    CLI::Option* script =
        app.add_option("--script", o.scriptPath, "the user session replayed headless")
            ->check(refusing(failure, [](const std::string& v) {
                return v.empty() ? "--script needs a file" : std::string();
            }));
    CLI::Option* netPort =
        app.add_option("--net-port", netPortText, "the adapter's TCP port")
            ->check(refusing(failure, [](const std::string& v) {
                if (v.empty())
                    return std::string("--net-port needs a TCP port, e.g. --net-port 2323");
                if (tcpPort(v) < 0)
                    return "--net-port needs a TCP port 1..65535, not '" + v + "'";
                return std::string();
            }));
    app.add_flag("--headless", o.headless, "the scripted backend, no display and no Qt");
    app.add_flag("--demo", o.demo, "the built-in emulated adapter on COM1");
    app.add_flag("--router", o.router, "the router commands on the main window");
    app.add_flag("-h,--help", o.help, "show the usage text");
    app.add_flag("--version", o.version, "show the version");

    // what an option given last without its value is told
    const std::pair<CLI::Option*, const char*> needsValue[] = {
        {port, "--port needs a device, e.g. --port /dev/ttyUSB0"},
        {script, "--script needs a file"},
        {netPort, "--net-port needs a TCP port, e.g. --net-port 2323"},
    };

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ArgumentMismatch& e) {
        const std::string what = e.what();
        for (const auto& [option, message] : needsValue) {
            if (what.rfind(option->get_name() + ":", 0) == 0)
                return fail(message);
        }
        return fail(what);
    } catch (const CLI::ParseError& e) {
        return fail(failure.empty() ? std::string(e.what()) : failure);
    }
    const std::vector<std::string> extra = app.remaining();
    if (!extra.empty())
        return fail("unknown argument: " + extra.front());
    if (!netPortText.empty())
        o.netPort = tcpPort(netPortText);

    if (o.help || o.version)
        return {o, {}};
    if (o.headless && o.scriptPath.empty())
        return fail("--headless needs --script FILE");
    if (!o.scriptPath.empty() && !o.headless)
        return fail("--script is only used with --headless");
    if (o.demo && !o.portDevice.empty())
        return fail("--demo and --port cannot be combined");
    if (o.demo && o.netPort != 0)
        return fail("--demo and --net-port cannot be combined");
    return {o, {}};
}

std::string usageText() {
    return "Usage: kestrelx-setup [OPTION]...\n"
           "The settings utility of the KESTRELX ISDN terminal adapter.\n"
           "\n"
           "  --port DEVICE        use DEVICE (e.g. /dev/ttyUSB0) for the COM port chosen\n"
           "                       in the port dialog, for this run only\n"
           "  --headless --script FILE\n"
           "                       replay the user session in FILE without a display;\n"
           "                       prints 'message: TEXT' and 'log: TEXT' lines\n"
           "  --net-port N         reach the adapter's HomePNA side at TCP port N instead\n"
           "                       of the telnet port 23\n"
           "  --demo               run against the built-in emulated adapter (on COM1, or\n"
           "                       on the loopback when the network link is chosen)\n"
           "  --router             show the router commands of the router variant\n"
           "  --help               show this text\n"
           "  --version            show the version\n"
           "\n"
           "The settings file setutily.ini is read from and written to the current\n"
           "directory. COM1..COM9 are the devices its [DEVICES] section names\n"
           "(COM1=/dev/ttyUSB0), else the serial devices present (/dev/serial/by-id,\n"
           "then other ttyUSB and ttyACM, then ttyS with a UART), else /dev/ttyS<n-1>.\n";
}

}  // namespace kx
