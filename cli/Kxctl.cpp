#include "cli/Kxctl.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "app/Profile.h"
#include "cli/Document.h"
#include "cli/Ports.h"
#include "cli/Session.h"
#include "link/Sjis.h"

namespace kx::cli {

namespace {

constexpr const char* kProgram = "kxctl";

struct Arguments {
    LinkOptions link;
    bool quiet = false;
    bool json = false;
    std::vector<std::string> areas;
    std::string file;
    std::vector<std::string> assignments;
};

class Run {
public:
    Run(Arguments arguments, std::ostream& out, std::ostream& err, bool terminal)
        : a_(std::move(arguments)), out_(out), err_(err) {
        if (terminal && !a_.quiet)
            a_.link.progress = [this](std::string_view text) {
                err_ << "\r\033[K" << kProgram << ": " << text << " ..." << std::flush;
                progressShown_ = true;
            };
    }

    int probe();
    int names();
    int show();
    int backup();
    int diff();
    int restore();
    int set();

private:
    int usage(const std::string& message) {
        endProgress();
        err_ << kProgram << ": " << message << "\n";
        return kExitUsage;
    }
    int adapterFailed(const std::string& message) {
        endProgress();
        err_ << kProgram << ": " << message << "\n";
        return kExitAdapter;
    }
    void endProgress() {
        if (progressShown_)
            err_ << "\r\033[K" << std::flush;
        progressShown_ = false;
    }
    bool checkAreas();
    bool openAndRead(Session& session, const std::vector<std::string>& areas, Records& records);
    // show and backup: reads the areas of the command line, closes the session, then lets
    // `report` use what was read. Its status wins over a failed close.
    int readAndReport(const std::function<int(const Session&, const Records&)>& report);
    int writeBackup(const Session& session, const Records& records);
    std::optional<std::vector<DocumentValue>> readDocument(int& status);
    int apply(const std::vector<DocumentValue>& values, bool send);

    Arguments a_;
    std::ostream& out_;
    std::ostream& err_;
    bool progressShown_ = false;
};

bool Run::checkAreas() {
    for (const std::string& area : a_.areas) {
        if (!isAreaName(area)) {
            usage("unknown area " + area + " (analog, digital, arrive, shortnum, router)");
            return false;
        }
    }
    if (a_.areas.empty()) {
        // every area of the adapter: the router's only on the router variant, which the
        // settings file names as the program reads it ("MODE"/"ROUTER" = 1)
        const bool router =
            Profile(SettingsFilePath(StartupDirectory())).readInt("MODE", "ROUTER", 0) == 1;
        for (std::string_view area : kAreaNames)
            if (area != "router" || router)
                a_.areas.emplace_back(area);
    }
    return true;
}

bool Run::openAndRead(Session& session, const std::vector<std::string>& areas, Records& records) {
    if (!session.open(a_.link) || !session.read(areas, records)) {
        adapterFailed(session.error());
        return false;
    }
    return true;
}

int Run::readAndReport(const std::function<int(const Session&, const Records&)>& report) {
    if (!checkAreas())
        return kExitUsage;
    Session session;
    Records records;
    if (!openAndRead(session, a_.areas, records))
        return kExitAdapter;
    const bool closed = session.close();
    endProgress();
    if (const int status = report(session, records); status != kExitOk)
        return status;
    return closed ? kExitOk : adapterFailed(session.error());
}

int Run::probe() {
    Session session;
    if (!session.open(a_.link))
        return adapterFailed(session.error());
    const bool closed = session.close();
    endProgress();
    out_ << "device: "
         << (session.deviceName().empty() ? "(not named in setutily.ini)"
                                          : SjisToUtf8(session.deviceName()))
         << "\n";
    out_ << "firmware: " << SjisToUtf8(session.firmwareVersionText()) << "\n";
    return closed ? kExitOk : adapterFailed(session.error());
}

int Run::names() {
    for (const Field& field : allFields()) out_ << field.name << "\t" << describe(field) << "\n";
    return kExitOk;
}

int Run::show() {
    return readAndReport([this](const Session&, const Records& records) {
        if (!a_.json) {
            out_ << showLines(records, a_.areas);
            return kExitOk;
        }
        nlohmann::ordered_json object = nlohmann::ordered_json::object();
        for (const Field& field : allFields()) {
            if (!inAreas(field, a_.areas))
                continue;
            const std::string value =
                isSecret(field) ? std::string(kMasked) : valueText(field, records);
            if (!field.isText() && field.rule->kind == area::ItemKind::Number && !isSecret(field))
                object[field.name] = std::stoi(value);
            else
                object[field.name] = value;
        }
        out_ << object.dump(2) << "\n";
        return kExitOk;
    });
}

int Run::backup() {
    return readAndReport([this](const Session& session, const Records& records) {
        return writeBackup(session, records);
    });
}

int Run::writeBackup(const Session& session, const Records& records) {
    char date[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &local);
    const std::string text = writeDocument(
        records, a_.areas,
        {"KESTRELX settings document (kxctl backup)", "device: " + SjisToUtf8(session.deviceName()),
         "firmware: " + SjisToUtf8(session.firmwareVersionText()), std::string("date: ") + date});
    // written beside the target and renamed, so a failed write never leaves half a document
    const std::string temporary = a_.file + ".tmp";
    {
        // readable by its owner only: a document holds the dial-up and line passwords
        if (const int fd =
                ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
            fd >= 0) {
            (void)::fchmod(fd, 0600);
            ::close(fd);
        }
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << text;
        file.close();
        if (!file) {
            std::remove(temporary.c_str());
            return usage("cannot write " + a_.file);
        }
    }
    if (std::rename(temporary.c_str(), a_.file.c_str()) != 0) {
        const int error = errno;
        std::remove(temporary.c_str());
        return usage("cannot write " + a_.file + ": " + std::strerror(error));
    }
    return kExitOk;
}

std::optional<std::vector<DocumentValue>> Run::readDocument(int& status) {
    std::ifstream file(a_.file, std::ios::binary);
    if (!file) {
        status = usage("cannot read " + a_.file);
        return std::nullopt;
    }
    // a settings document is a few kilobytes; anything far larger is not one
    constexpr std::size_t kLargestDocument = 1 << 20;
    std::string text(kLargestDocument + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(file.gcount()));
    if (text.size() > kLargestDocument) {
        status = usage(a_.file + " is not a settings document (over 1 MiB)");
        return std::nullopt;
    }
    DocumentError error;
    std::optional<std::vector<DocumentValue>> values = parseDocument(text, error);
    if (!values)
        status = usage(a_.file + ":" + std::to_string(error.line) + ": " + error.message);
    return values;
}

// Reads the areas the values belong to, lays the values over a copy and prints (send false) or
// writes (send true) what differs.
int Run::apply(const std::vector<DocumentValue>& values, bool send) {
    std::vector<std::string> areas;
    for (const DocumentValue& value : values)
        if (std::find(areas.begin(), areas.end(), value.field->area) == areas.end())
            areas.push_back(value.field->area);
    if (areas.empty())
        return kExitOk;  // nothing to compare
    Session session;
    Records snapshot;
    if (!openAndRead(session, areas, snapshot))
        return kExitAdapter;
    Records working = snapshot;
    for (const DocumentValue& value : values) storeValue(*value.field, value.value, working);
    if (std::optional<std::string> error = recordsError(working, snapshot)) {
        session.close();
        endProgress();
        return usage(*error + " (nothing was sent)");
    }
    if (session.overNetwork()) {
        // the writers leave the serial-only items out over the network: say which
        const std::vector<std::string> all = Session::commands(working, snapshot, false);
        const std::vector<std::string> sendable = Session::commands(working, snapshot, true);
        for (const std::string& command : all)
            if (std::find(sendable.begin(), sendable.end(), command) == sendable.end()) {
                endProgress();
                err_ << kProgram << ": not written over the network link: " << printable(command)
                     << "\n";
            }
    }
    if (!send) {
        const bool closed = session.close();
        endProgress();
        for (const std::string& command :
             Session::commands(working, snapshot, session.overNetwork()))
            out_ << printable(command) << "\n";
        return closed ? kExitOk : adapterFailed(session.error());
    }
    std::size_t sent = 0;
    if (!session.write(working, snapshot, sent)) {
        const std::string failure = session.error();
        session.close();
        return adapterFailed(failure + " (" + std::to_string(sent) +
                             " command(s) sent before it, not stored to flash)");
    }
    const bool restarted = session.restartedByAddress();
    if (!session.close())
        return adapterFailed(session.error());
    endProgress();
    if (restarted) {
        if (!a_.quiet)
            err_ << kProgram << ": " << sent
                 << " command(s) sent; the router address changed and the adapter restarts with "
                    "it (nothing more was said to it)\n";
        return kExitOk;
    }
    if (!a_.quiet)
        err_ << kProgram << ": " << sent << " command(s) sent"
             << (sent > 0 ? " and stored to flash" : "") << "\n";
    return kExitOk;
}

int Run::diff() {
    int status = kExitOk;
    std::optional<std::vector<DocumentValue>> values = readDocument(status);
    return values ? apply(*values, false) : status;
}

int Run::restore() {
    int status = kExitOk;
    std::optional<std::vector<DocumentValue>> values = readDocument(status);
    return values ? apply(*values, true) : status;
}

int Run::set() {
    std::vector<DocumentValue> values;
    for (std::size_t i = 0; i < a_.assignments.size(); ++i) {
        DocumentError error;
        std::optional<DocumentValue> value = parseAssignment(a_.assignments[i], error);
        if (!value)
            return usage("argument " + std::to_string(i + 1) + ": " + error.message);
        for (const DocumentValue& earlier : values)
            if (earlier.field == value->field)
                return usage(value->field->name + " is given twice");
        values.push_back(std::move(*value));
    }
    return apply(values, true);
}

}  // namespace

int runKxctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             bool terminal) {
    CLI::App app{"kxctl: back up, restore, compare and change the settings of a KESTRELX adapter",
                 kProgram};
    app.require_subcommand(1);
    Arguments a;
    auto* port = app.add_option("--port", a.link.device,
                                "the adapter's serial device; auto: the first that answers");
    auto* com = app.add_option("--com", a.link.com,
                               "COM port N (1-9), mapped to a device as the port dialog maps it")
                    ->check(CLI::Range(1, 9));
    auto* demo = app.add_flag("--demo", a.link.demo,
                              "use the in-process emulated adapter (with --net, its network side)");
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
    app.add_option("--transcript", a.link.transcriptPath,
                   "write every exchange with its time and direction to FILE");
    app.add_flag("--quiet", a.quiet, "no progress or summary lines");

    const std::string areaHelp = "analog digital arrive shortnum";
    CLI::App* probe = app.add_subcommand("probe", "identify the adapter: device name and firmware");
    CLI::App* show = app.add_subcommand("show", "print the settings as `name = value` lines");
    show->add_flag("--json", a.json, "one JSON object instead");
    show->add_option("AREA", a.areas, areaHelp);
    CLI::App* backup = app.add_subcommand("backup", "write a settings document");
    backup->add_option("FILE", a.file, "the document to write")->required();
    backup->add_option("AREA", a.areas, areaHelp);
    CLI::App* diff =
        app.add_subcommand("diff", "print the command lines a restore would send; send nothing");
    diff->add_option("FILE", a.file, "the settings document")->required();
    CLI::App* restore =
        app.add_subcommand("restore", "send what differs, then store to flash (\"fromwr 15\")");
    restore->add_option("FILE", a.file, "the settings document")->required();
    CLI::App* set = app.add_subcommand("set", "change single items (read, change, write, store)");
    set->add_option("NAME=VALUE", a.assignments, "settings to change")->required();
    CLI::App* names = app.add_subcommand("names", "list every NAME with its type and values");
    bool probePorts = false;
    CLI::App* ports =
        app.add_subcommand("ports",
                           "list COM1-9 with their devices (setutily.ini [DEVICES], else "
                           "the serial devices present)");
    ports->add_flag("--probe", probePorts, "also ask each usable device whether it is the adapter");

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, out, err);
        return code == 0 ? kExitOk : kExitUsage;
    }

    if (!a.link.netAddress.empty())
        a.link.net = true;
    if (ports->parsed())
        return listPorts(probePorts, out);
    if (a.link.device == "auto") {
        std::string error;
        a.link.device = findAdapterDevice(error);
        if (a.link.device.empty()) {
            err << kProgram << ": " << error << "\n";
            return kExitAdapter;
        }
    }
    Run run(std::move(a), out, err, terminal);
    if (probe->parsed())
        return run.probe();
    if (names->parsed())
        return run.names();
    if (show->parsed())
        return run.show();
    if (backup->parsed())
        return run.backup();
    if (diff->parsed())
        return run.diff();
    if (restore->parsed())
        return run.restore();
    if (set->parsed())
        return run.set();
    return kExitUsage;
}

}  // namespace kx::cli
