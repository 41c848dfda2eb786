#include "cli/KxctlArguments.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <utility>

#include "app/program/AllAreas.h"
#include "cli/Document.h"
#include "cli/Kxctl.h"

namespace kx::cli {

std::optional<int> parseArguments(const std::vector<std::string>& args, std::ostream& out,
                                  std::ostream& err, Arguments& a) {
    CLI::App app{"kxctl: back up, restore, compare and change the settings of a KESTRELX adapter",
                 kProgram};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string(kProgram) + " " + KX_VERSION,
                         "print the version and exit");
    auto* port = app.add_option("--port", a.link.device,
                                "the adapter's serial device; auto: the first that answers");
    auto* com = app.add_option("--com", a.link.com,
                               "COM port N (1-9), mapped to a device as the port dialog maps it")
                    ->check(CLI::Range(1, 9));
    auto* demo = app.add_flag("--demo", a.link.demo,
                              "use the in-process emulated adapter (its serial side; its network "
                              "side with --net-demo)");
    auto* net = app.add_option("--net", a.link.netAddress,
                               "the network link to ADDRESS; the passwords come from "
                               "KXCTL_LOGIN_PASSWORD and KXCTL_ADMIN_PASSWORD, else from "
                               "setutily.ini [OPTION] DATA1 and DATA2");
    auto* netDemo =
        app.add_flag("--net-demo", a.link.net, "with --demo: the emulated adapter's network side");
    auto* netPort = app.add_option("--net-port", a.link.netPort, "the TCP port (default 23)")
                        ->check(CLI::Range(1, 65535));
    port->excludes(com)->excludes(demo)->excludes(net);
    com->excludes(demo)->excludes(net);
    net->excludes(demo);
    netDemo->needs(demo);
    netPort->excludes(demo);
    auto* transcript = app.add_option("--transcript", a.link.transcriptPath,
                                      "write every exchange with its time and direction to FILE");
    app.add_flag("--quiet", a.quiet, "no progress or summary lines");

    std::string areaNames;
    std::string routerAreas;
    for (const area::AreaModule* module : allModules()) {
        areaNames += (areaNames.empty() ? "" : ", ") + std::string(module->name);
        if (module->routerOnly)
            routerAreas += (routerAreas.empty() ? "" : ", ") + std::string(module->name);
    }
    const std::string areaHelp = "the areas: " + areaNames + " (default: every area; " +
                                 routerAreas + " only with ROUTER=1 in setutily.ini [MODE])";
    CLI::App* probe = app.add_subcommand("probe", "identify the adapter: device name and firmware");
    CLI::App* show = app.add_subcommand("show", "print the settings as `name = value` lines");
    show->add_flag("--json", a.json, "one JSON object instead");
    show->add_option("AREA", a.areas, areaHelp);
    CLI::App* backup = app.add_subcommand("backup", "write a settings document");
    backup->add_option("FILE", a.file, "the document to write (-: standard output)")->required();
    backup->add_option("AREA", a.areas, areaHelp);
    CLI::App* diff =
        app.add_subcommand("diff", "print the command lines a restore would send; send nothing");
    diff->add_option("FILE", a.file, "the settings document (-: standard input)")->required();
    diff->add_flag("--exit-code", a.exitCode, "exit with 1 when there are differences, else 0");
    CLI::App* restore =
        app.add_subcommand("restore", "send what differs, then store to flash (\"fromwr 15\")");
    restore->add_option("FILE", a.file, "the settings document (-: standard input)")->required();
    const std::string noHistoryHelp =
        "do not save the settings before the change in the history (see kxctl history)";
    restore->add_flag("--no-history", a.noHistory, noHistoryHelp);
    CLI::App* set = app.add_subcommand("set", "change single items (read, change, write, store)");
    set->add_option("NAME=VALUE", a.assignments, "settings to change")->required();
    set->add_flag("--no-history", a.noHistory, noHistoryHelp);
    CLI::App* history = app.add_subcommand(
        "history",
        "list the settings saved before each change, newest first (date, device, "
        "items, document)");
    CLI::App* names = app.add_subcommand("names", "list every NAME with its type and values");
    CLI::App* ports =
        app.add_subcommand("ports",
                           "list COM1-9 with their devices (setutily.ini [DEVICES], else "
                           "the serial devices present)");
    ports->add_flag("--probe", a.probePorts,
                    "also ask each usable device whether it is the adapter");

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e, out, err) == 0 ? kExitOk : kExitUsage;
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e, out, err) == 0 ? kExitOk : kExitUsage;
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e, out, err) == 0 ? kExitOk : kExitUsage;
    } catch (const CLI::ParseError& e) {
        // the first word that is neither an option nor an option's value names the command
        const std::vector<const CLI::Option*> valued = {port, com, net, netPort, transcript};
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& word = args[i];
            if (word.starts_with("-")) {
                const bool takesNext =
                    word.find('=') == std::string::npos &&
                    std::any_of(valued.begin(), valued.end(),
                                [&](const CLI::Option* o) { return o->check_name(word); });
                i += takesNext ? 1 : 0;
                continue;
            }
            const std::vector<CLI::App*> commands = app.get_subcommands({});
            if (std::any_of(commands.begin(), commands.end(),
                            [&](const CLI::App* c) { return c->get_name() == word; }))
                break;
            std::string list;
            for (const CLI::App* c : commands) list += (list.empty() ? "" : ", ") + c->get_name();
            err << kProgram << ": unknown command \"" << messageText(word)
                << "\" (commands: " << list << ")\n";
            return kExitUsage;
        }
        err << kProgram << ": " << messageText(e.what()) << " (see kxctl --help)\n";
        return kExitUsage;
    }

    if (!a.link.netAddress.empty())
        a.link.net = true;
    const std::pair<const CLI::App*, KxctlCommand> kCommands[] = {
        {probe, KxctlCommand::Probe}, {names, KxctlCommand::Names},
        {show, KxctlCommand::Show},   {backup, KxctlCommand::Backup},
        {diff, KxctlCommand::Diff},   {restore, KxctlCommand::Restore},
        {set, KxctlCommand::Set},     {history, KxctlCommand::History},
        {ports, KxctlCommand::Ports},
    };
    for (const auto& [command, which] : kCommands)
        if (command->parsed()) {
            a.command = which;
            return std::nullopt;
        }
    return kExitUsage;
}

}  // namespace kx::cli
