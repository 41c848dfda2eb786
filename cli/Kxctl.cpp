#include "cli/Kxctl.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "app/DocumentFile.h"
#include "app/Profile.h"
#include "app/program/AllAreas.h"
#include "cli/Document.h"
#include "cli/Interrupt.h"
#include "cli/KxctlArguments.h"
#include "cli/Ports.h"
#include "cli/Session.h"
#include "link/Exchange.h"
#include "link/Sjis.h"

namespace kx::cli {

namespace {

// "-" for a FILE: standard input or output.
constexpr std::string_view kStandardStream = "-";

std::string reason(int error) {
    return std::strerror(error);
}

class Run {
public:
    Run(Arguments arguments, std::istream& in, std::ostream& out, std::ostream& err, bool terminal)
        : a_(std::move(arguments)), in_(in), out_(out), err_(err) {
        if (terminal && !a_.quiet)
            a_.link.progress = [this](std::string_view text) {
                err_ << "\r\033[K" << kProgram << ": " << messageText(text) << " ..." << std::flush;
                progressShown_ = true;
            };
        // the link's own lines ("Serial link lost: ...") once each, as kxctl's messages
        SetLinkLogHandler([this](std::string_view line) {
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
                line.remove_suffix(1);
            if (line.empty() || line == lastLinkLine_)
                return;
            lastLinkLine_ = std::string(line);
            endProgress();
            err_ << kProgram << ": " << messageText(line) << "\n";
        });
    }
    ~Run() { SetLinkLogHandler(nullptr); }
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    int probe();
    int names();
    int show();
    int backup();
    int diff();
    int restore();
    int set();
    int history();

private:
    int usage(const std::string& message) {
        endProgress();
        err_ << kProgram << ": " << messageText(message) << "\n";
        return kExitUsage;
    }
    int adapterFailed(const std::string& message) {
        endProgress();
        err_ << kProgram << ": " << messageText(message) << "\n";
        return interruptSignal() != 0 ? 128 + interruptSignal() : kExitAdapter;
    }
    void notice(const std::string& message) {
        endProgress();
        err_ << kProgram << ": " << messageText(message) << "\n";
    }
    // A failed session: after an interruption it still leaves the command line ("exit").
    int sessionFailed(Session& session) {
        const std::string failure = session.error();
        if (interruptSignal() != 0)
            session.close();
        return adapterFailed(failure + (interruptSignal() != 0 ? "; nothing was written" : ""));
    }
    // The status of a command that went through although a signal came meanwhile.
    int finished(int status) {
        if (status != kExitOk || interruptSignal() == 0)
            return status;
        notice(std::string("interrupted by ") + interruptName(interruptSignal()));
        return 128 + interruptSignal();
    }
    // Standard output took everything (a full disk or a closed pipe is an error).
    int outputWritten() {
        out_.flush();
        if (out_)
            return kExitOk;
        return adapterFailed("cannot write standard output" +
                             (errno != 0 ? ": " + reason(errno) : std::string()));
    }
    void reportMissing(const Session& session);
    int writeFile(const std::string& path, const std::string& text);
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
    // The adapter's values of `areas` before a change, saved as a document of the history.
    void saveBeforeChange(const Session& session, const Records& snapshot,
                          const std::vector<std::string>& areas, const char* command);
    std::optional<std::vector<DocumentValue>> readDocument(int& status);
    int apply(const std::vector<DocumentValue>& values, bool send);

    Arguments a_;
    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    bool progressShown_ = false;
    std::string lastLinkLine_;
    const char* changeCommand_ = "restore";  // the command a change came from
};

bool Run::checkAreas() {
    for (const std::string& area : a_.areas) {
        if (!isAreaName(area)) {
            std::string names;
            for (const area::AreaModule* module : allModules())
                names += (names.empty() ? "" : ", ") + std::string(module->name);
            usage("unknown area \"" + area + "\" (" + names + ")");
            return false;
        }
    }
    if (a_.areas.empty()) {
        // every area of the adapter: the router's only on the router variant, which the
        // settings file names as the program reads it ("MODE"/"ROUTER" = 1)
        const bool router =
            Profile(SettingsFilePath(StartupDirectory())).readInt("MODE", "ROUTER", 0) == 1;
        for (const area::AreaModule* module : allModules())
            if (!module->routerOnly || router)
                a_.areas.emplace_back(module->name);
    }
    return true;
}

bool Run::openAndRead(Session& session, const std::vector<std::string>& areas, Records& records) {
    if (!session.open(a_.link) || !session.read(areas, records)) {
        sessionFailed(session);
        return false;
    }
    return true;
}

void Run::reportMissing(const Session& session) {
    std::string names;
    for (const Field& field : allFields())
        if (session.missing().contains(&field))
            names += (names.empty() ? "" : ", ") + field.name;
    if (!names.empty())
        notice("not reported by the adapter, so left out: " + names);
}

int Run::readAndReport(const std::function<int(const Session&, const Records&)>& report) {
    if (!checkAreas())
        return kExitUsage;
    Session session;
    Records records;
    if (!openAndRead(session, a_.areas, records))
        return interruptSignal() != 0 ? 128 + interruptSignal() : kExitAdapter;
    const bool closed = session.close();
    endProgress();
    if (interruptSignal() != 0)
        return finished(kExitOk);
    reportMissing(session);
    if (const int status = report(session, records); status != kExitOk)
        return status;
    return closed ? kExitOk : adapterFailed(session.error());
}

int Run::probe() {
    Session session;
    if (!session.open(a_.link))
        return sessionFailed(session);
    const bool closed = session.close();
    endProgress();
    if (interruptSignal() != 0)
        return finished(kExitOk);
    out_ << "device: "
         << (session.deviceName().empty() ? "(not named in setutily.ini)"
                                          : SjisToUtf8(session.deviceName()))
         << "\n";
    out_ << "firmware: " << messageText(SjisToUtf8(session.firmwareVersionText())) << "\n";
    if (const int status = outputWritten(); status != kExitOk)
        return status;
    return closed ? kExitOk : adapterFailed(session.error());
}

int Run::names() {
    for (const Field& field : allFields())
        out_ << field.name << "\t" << describe(field) << (field.readOnly ? " (read-only)" : "")
             << "\n";
    return outputWritten();
}

int Run::show() {
    return readAndReport([this](const Session& session, const Records& records) {
        if (!a_.json) {
            out_ << showLines(records, a_.areas, session.missing());
            return outputWritten();
        }
        nlohmann::ordered_json object = nlohmann::ordered_json::object();
        for (const Field& field : allFields()) {
            if (!inAreas(field, a_.areas))
                continue;
            if (session.missing().contains(&field)) {
                object[field.name] = nullptr;  // not reported: unknown
                continue;
            }
            const std::string value =
                isSecret(field) ? std::string(kMasked) : valueText(field, records);
            if (!field.isText() && field.rule->kind == area::ItemKind::Number && !isSecret(field))
                object[field.name] = std::stoi(value);
            else
                object[field.name] = value;
        }
        // a text the adapter sent that is not valid UTF-8 is escaped, never refused
        out_ << object.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
             << "\n";
        return outputWritten();
    });
}

int Run::backup() {
    return readAndReport([this](const Session& session, const Records& records) {
        return writeBackup(session, records);
    });
}

// The local date and time as a document's header gives it.
std::string documentDate() {
    char date[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &local);
    return date;
}

int Run::writeBackup(const Session& session, const Records& records) {
    const std::string text = writeDocument(
        records, a_.areas,
        {"KESTRELX settings document (kxctl backup)", "device: " + SjisToUtf8(session.deviceName()),
         "firmware: " + SjisToUtf8(session.firmwareVersionText()), "date: " + documentDate()},
        session.missing());
    if (a_.file == kStandardStream) {
        out_ << text;
        return outputWritten();
    }
    return writeFile(a_.file, text);
}

// The document is written as app/DocumentFile writes every document: atomically, readable by
// its owner only, a device or /dev/stdout written into, never replaced.
int Run::writeFile(const std::string& path, const std::string& text) {
    const int error = writeDocumentFile(path, text);
    return error == 0 ? kExitOk : usage("cannot write " + path + ": " + reason(error));
}

std::optional<std::vector<DocumentValue>> Run::readDocument(int& status) {
    const bool standardInput = a_.file == kStandardStream;
    const std::string name = standardInput ? "standard input" : a_.file;
    std::string text;
    if (standardInput) {
        text.resize(kLargestDocument + 1);
        in_.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(in_.gcount()));
        if (in_.bad()) {
            status = usage("cannot read standard input");
            return std::nullopt;
        }
    } else if (const int error = readDocumentFile(a_.file, text); error != 0) {
        status = usage("cannot read " + a_.file + ": " + reason(error));
        return std::nullopt;
    }
    if (text.size() > kLargestDocument) {
        status = usage(name + " is not a settings document (over 1 MiB)");
        return std::nullopt;
    }
    DocumentError error;
    std::optional<std::vector<DocumentValue>> values = readDocumentText(text, error);
    if (!values)
        status = usage(name + (error.line == 0 ? " " : ":" + std::to_string(error.line) + ": ") +
                       error.message);
    return values;
}

void Run::saveBeforeChange(const Session& session, const Records& snapshot,
                           const std::vector<std::string>& areas, const char* command) {
    const std::string device = SjisToUtf8(session.deviceName());
    const std::string text = writeDocument(
        snapshot, areas,
        {std::string("KESTRELX settings document (before kxctl ") + command + ")",
         "device: " + device, "firmware: " + SjisToUtf8(session.firmwareVersionText()),
         "date: " + documentDate()},
        session.missing());
    std::string error;
    // the change goes on without it: the history is a help, never a condition
    if (saveHistory(text, device, error).empty())
        notice("the settings before the change were not saved in the history: " + error);
}

int Run::history() {
    for (const HistoryEntry& entry : listHistory())
        out_ << entry.date << "\t" << (entry.device.empty() ? "-" : messageText(entry.device))
             << "\t" << entry.items << (entry.items == 1 ? " item" : " items") << "\t"
             << messageText(entry.path) << "\n";
    return outputWritten();
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
        return interruptSignal() != 0 ? 128 + interruptSignal() : kExitAdapter;
    const Records read = snapshot;
    const auto refuse = [&](const std::string& why) {
        session.close();
        endProgress();
        return usage(why + " (nothing was sent)");
    };
    // a read-only item is accepted only as the adapter has it, so a show output restores
    for (const DocumentValue& value : values) {
        if (!value.field->readOnly || session.missing().contains(value.field))
            continue;
        Records given = snapshot;
        storeValue(*value.field, value.value, given);
        if (valueText(*value.field, given) != valueText(*value.field, snapshot))
            return refuse(value.field->name + " is read-only (no command sets it), and \"" +
                          valueText(*value.field, given) + "\" is not the adapter's \"" +
                          valueText(*value.field, snapshot) + "\"");
    }
    Records working = snapshot;
    std::string masked;
    for (const DocumentValue& value : values) {
        if (value.masked) {
            masked += (masked.empty() ? "" : ", ") + value.field->name;
            continue;
        }
        if (value.field->readOnly)
            continue;
        storeValue(*value.field, value.value, working);
        if (!session.missing().contains(value.field))
            continue;
        // the adapter's value is unknown: the document's goes out even when it equals the
        // zero the record holds
        if (value.field->isText())
            *value.field->text(snapshot) = *value.field->text(working) + '\x01';
        else
            *value.field->number(snapshot) = *value.field->number(working) + 1;
    }
    if (!masked.empty())
        notice("the mask " + std::string(kMasked) +
               " is not a password; the adapter's are left as they are: " + masked);
    if (std::optional<area::Reason> error = recordsError(working, snapshot))
        return refuse(error->english);
    if (session.overNetwork()) {
        // the writers leave the serial-only items out over the network: say which
        const std::vector<std::string> all = Session::commands(working, snapshot, false);
        const std::vector<std::string> sendable = Session::commands(working, snapshot, true);
        for (const std::string& command : all)
            if (std::find(sendable.begin(), sendable.end(), command) == sendable.end())
                notice("not written over the network link: " + printable(command));
    }
    const std::vector<std::string> commands =
        Session::commands(working, snapshot, session.overNetwork());
    if (!send) {
        const bool closed = session.close();
        endProgress();
        if (interruptSignal() != 0)
            return finished(kExitOk);
        for (const std::string& command : commands) out_ << printable(command) << "\n";
        if (const int status = outputWritten(); status != kExitOk)
            return status;
        if (!closed)
            return adapterFailed(session.error());
        return a_.exitCode && !commands.empty() ? kExitAdapter : kExitOk;
    }
    if (!commands.empty() && !a_.noHistory)
        saveBeforeChange(session, read, areas, changeCommand_);
    std::size_t sent = 0;
    if (!session.write(working, snapshot, sent)) {
        const std::string failure = session.error();
        const bool flash = session.flashUnconfirmed();
        session.close();
        if (flash)
            return adapterFailed(failure + " (" + std::to_string(sent) +
                                 " command(s) sent; the adapter did not confirm the flash "
                                 "write, so they may or may not be stored to flash)");
        const std::size_t notSent = commands.size() > sent ? commands.size() - sent : 0;
        return adapterFailed(
            failure + " (" + std::to_string(sent) + " command(s) sent before it, " +
            (interruptSignal() != 0 ? std::to_string(notSent) + " not sent, " : std::string()) +
            "not stored to flash)");
    }
    const bool restarted = session.restartedByAddress();
    if (!session.close())
        return adapterFailed(session.error());
    endProgress();
    if (restarted) {
        if (!a_.quiet || interruptSignal() != 0)
            err_ << kProgram << ": " << sent
                 << " command(s) sent; the router address changed and the adapter restarts with "
                    "it (nothing more was said to it)\n";
        return finished(kExitOk);
    }
    if (!a_.quiet || interruptSignal() != 0)
        err_ << kProgram << ": " << sent << " command(s) sent"
             << (sent > 0 ? " and stored to flash" : "") << "\n";
    return finished(kExitOk);
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
    changeCommand_ = "set";
    std::vector<DocumentValue> values;
    for (std::size_t i = 0; i < a_.assignments.size(); ++i) {
        DocumentError error;
        std::optional<DocumentValue> value = parseAssignment(a_.assignments[i], error);
        if (!value)
            return usage("argument " + std::to_string(i + 1) + ": " + error.message);
        if (value->field->readOnly)
            return usage(value->field->name +
                         " is read-only: the adapter has no command that sets it");
        for (const DocumentValue& earlier : values)
            if (earlier.field == value->field)
                return usage(value->field->name + " is given twice");
        values.push_back(std::move(*value));
    }
    return apply(values, true);
}

}  // namespace

int runKxctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             bool terminal, std::istream& in) {
    Arguments a;
    if (const std::optional<int> status = parseArguments(args, out, err, a))
        return *status;
    if (a.command == KxctlCommand::Ports)
        return listPorts(a.probePorts, out);
    if (a.link.device == "auto") {
        std::string error;
        a.link.device = findAdapterDevice(error);
        if (a.link.device.empty()) {
            err << kProgram << ": " << error << "\n";
            return kExitAdapter;
        }
    }
    InterruptGuard interruptions;
    Run run(std::move(a), in, out, err, terminal);
    switch (a.command) {
        case KxctlCommand::Probe:
            return run.probe();
        case KxctlCommand::Names:
            return run.names();
        case KxctlCommand::Show:
            return run.show();
        case KxctlCommand::Backup:
            return run.backup();
        case KxctlCommand::Diff:
            return run.diff();
        case KxctlCommand::Restore:
            return run.restore();
        case KxctlCommand::Set:
            return run.set();
        case KxctlCommand::History:
            return run.history();
        case KxctlCommand::Ports:
            break;
    }
    return kExitUsage;
}

}  // namespace kx::cli
