#include "app/Options.h"

namespace kx {

OptionsResult parseOptions(const std::vector<std::string>& args) {
    Options o;
    auto fail = [](std::string why) { return OptionsResult{std::nullopt, std::move(why)}; };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) -> bool {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return false;
            out = args[++i];
            return true;
        };
        if (a == "--port") {
            if (!value(o.portDevice))
                return fail("--port needs a device, e.g. --port /dev/ttyUSB0");
        } else if (a == "--script") {
            if (!value(o.scriptPath))
                return fail("--script needs a file");
        } else if (a == "--net-port") {
            std::string text;
            if (!value(text))
                return fail("--net-port needs a TCP port, e.g. --net-port 2323");
            int port = 0;
            for (char c : text) {
                if (c < '0' || c > '9' || port > 65535) {
                    port = -1;
                    break;
                }
                port = port * 10 + (c - '0');
            }
            if (port < 1 || port > 65535)
                return fail("--net-port needs a TCP port 1..65535, not '" + text + "'");
            o.netPort = port;
        } else if (a == "--headless") {
            o.headless = true;
        } else if (a == "--demo") {
            o.demo = true;
        } else if (a == "--router") {
            o.router = true;
        } else if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else {
            return fail("unknown argument: " + a);
        }
    }
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
           "directory. COM1..COM9 are /dev/ttyS0../dev/ttyS8 unless its [DEVICES]\n"
           "section says otherwise (COM1=/dev/ttyUSB0).\n";
}

}  // namespace kx
