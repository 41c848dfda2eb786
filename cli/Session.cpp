#include "cli/Session.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>

#include "app/DeviceMap.h"
#include "app/FirmwareVersion.h"
#include "app/Probe.h"
#include "app/Profile.h"
#include "app/ShellTimings.h"
#include "app/program/AllAreas.h"
#include "app/services/AppState.h"
#include "cli/Interrupt.h"
#include "cli/PollPump.h"
#include "link/Exchange.h"
#include "link/NetLink.h"
#include "link/SerialLink.h"
#include "link/Sjis.h"
#include "link/TerminatorSearch.h"
#include "sim/Emulator.h"

namespace kx::cli {

namespace {

// "[MODE] KIKI" and "VER" are read into buffers of this size, as the program does.
constexpr std::size_t kModeTextBuffer = 64;

std::string timestamp() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    char withMillis[48];
    std::snprintf(withMillis, sizeof withMillis, "%s.%03d", text, static_cast<int>(millis));
    return withMillis;
}

// Control bytes shown as escapes, so a transcript line is one line.
std::string escaped(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else if (byte < 0x20 || byte == 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", byte);
            out += hex;
        } else
            out += c;
    }
    return out;
}

// The settings file's passwords are read into buffers of this size, as the port dialog does.
constexpr std::size_t kPasswordBuffer = 35;

PollPump& netPump() {
    static PollPump pump;
    return pump;
}

}  // namespace

std::string withoutSecrets(std::string_view bytes) {
    // a line holds a secret after its word "password" ("dialup password num1 ...", a reply's
    // "password: ..."); the rest of that line is masked
    constexpr std::string_view kWord = "password";
    std::string out;
    while (!bytes.empty()) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n"), bytes.size());
        const std::string_view line = bytes.substr(0, end);
        const std::size_t at = line.find(kWord);
        if (at == std::string_view::npos) {
            out += line;
        } else {
            std::size_t keep = at + kWord.size();
            if (keep < line.size() && line[keep] == ':')
                ++keep;
            // a dial-up profile's password command names its block before the secret
            if (const std::string_view rest = line.substr(keep); rest.starts_with(" num")) {
                std::size_t digits = 4;
                while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') ++digits;
                if (digits > 4 && digits < rest.size() && rest[digits] == ' ')
                    keep += digits;
            }
            out += line.substr(0, keep);
            if (keep < line.size())
                out += " ********";
        }
        const std::size_t breaks = bytes.find_first_not_of("\r\n", end);
        out += bytes.substr(end, (breaks == std::string_view::npos ? bytes.size() : breaks) - end);
        bytes.remove_prefix(breaks == std::string_view::npos ? bytes.size() : breaks);
    }
    return out;
}

std::string printable(std::string_view command) {
    if (!command.empty() && command.back() == '\r')
        command.remove_suffix(1);
    return messageText(SjisToUtf8(withoutSecrets(command)));
}

Session::Session() : context_(reply_) {
    context_.exchange = [this](std::string_view command, ReplyBuffer& reply, int timeoutMs,
                               int kind) { return exchange(command, reply, timeoutMs, kind); };
    context_.timeoutMs = shellTimings().commandTimeoutMs;
}

Session::~Session() {
    if (net_) {
        net_->NetClose();
        net_.reset();
        SetExchangePump(nullptr);
    }
    if (open_)
        CloseSerialPort();
    if (transcript_)
        std::fclose(transcript_);
}

bool Session::fail(std::string message) {
    error_ = std::move(message);
    return false;
}

void Session::note(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (transcript_) {
        std::fprintf(transcript_, "%s # %s\n", timestamp().c_str(), escaped(line).c_str());
        std::fflush(transcript_);
    }
    lastNote_ = std::string(line);
}

void Session::progress(std::string_view text) const {
    if (options_.progress)
        options_.progress(text);
}

int Session::exchange(std::string_view command, ReplyBuffer& reply, int timeoutMs, int kind) {
    lastCommand_ = std::string(command);
    if (const int signal = interruptSignal(); signal != 0 && !closing_) {
        // nothing more is written once interrupted: this command is not sent
        if (transcript_) {
            std::fprintf(transcript_, "%s # interrupted by %s: not sent: %s\n", timestamp().c_str(),
                         interruptName(signal), escaped(withoutSecrets(command)).c_str());
            std::fflush(transcript_);
        }
        error_ = std::string("interrupted by ") + interruptName(signal) + " before \"" +
                 printable(command) + "\"";
        lastSent_ = false;
        return 0;
    }
    lastSent_ = true;
    if (transcript_) {
        std::fprintf(transcript_, "%s > %s\n", timestamp().c_str(),
                     escaped(withoutSecrets(command)).c_str());
        // the line is on record before it goes out, even if kxctl is ended during its wait
        std::fflush(transcript_);
    }
    const ExchangeOutcome outcome = Exchange(command, reply, timeoutMs, kind);
    lastOutcome_ = outcome;
    if (transcript_) {
        std::fprintf(transcript_, "%s < %s%s\n", timestamp().c_str(),
                     escaped(withoutSecrets(reply.view())).c_str(),
                     outcome == ExchangeOutcome::Ok
                         ? ""
                         : (std::string(" [") + ExchangeOutcomeText(outcome) + "]").c_str());
        std::fflush(transcript_);
    }
    if (outcome != ExchangeOutcome::Ok) {
        error_ = "the adapter did not acknowledge \"" + printable(command) +
                 "\": " + ExchangeOutcomeText(outcome);
        return 0;
    }
    return 1;
}

bool Session::open(const LinkOptions& options) {
    options_ = options;
    if (!options.transcriptPath.empty()) {
        // readable by its owner only: it holds the settings read and written
        const int fd =
            ::open(options.transcriptPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const int error = errno;
        if (fd >= 0) {
            (void)::fchmod(fd, 0600);
            transcript_ = ::fdopen(fd, "w");
            if (!transcript_)
                ::close(fd);
        }
        if (!transcript_)
            return fail("cannot write the transcript " + messageText(options.transcriptPath) +
                        ": " + std::strerror(fd < 0 ? error : errno));
    }
    Profile settings(SettingsFilePath(StartupDirectory()));
    deviceName_ = settings.readText("MODE", "KIKI", "", kModeTextBuffer);
    const double minimumFirmware =
        leadingDecimal(settings.readText("MODE", "VER", "", kModeTextBuffer));

    if (options.net) {
        std::string address = options.netAddress;
        int port = options.netPort != 0 ? options.netPort : kTelnetPort;
        if (options.demo) {
            sim::EmulatorOptions demo;
            demo.pty = false;
            demo.telnetPort = 0;
            std::string error;
            emulator_ = sim::Emulator::start(demo, error);
            if (!emulator_)
                return fail("the emulated adapter cannot start: " + error);
            address = "127.0.0.1";
            port = emulator_->telnetPort();
        }
        return openNetwork(address, port);
    }

    std::string device = options.device;
    if (options.demo) {
        std::string error;
        emulator_ = sim::Emulator::start(sim::EmulatorOptions{}, error);
        if (!emulator_)
            return fail("the emulated adapter cannot start: " + error);
        device = emulator_->ptyPath();
    } else if (device.empty()) {
        const int com = options.com != 0 ? options.com : 1;
        device = DeviceMap(settings, "").device(com);
        if (device.empty())
            return fail("there is no port COM" + std::to_string(com) + " (COM1 to COM9)");
    }

    OpenResult opened = OpenSerialPort(device);
    if (!opened.ok())
        return fail("cannot open " + device + ": " + opened.reason);
    open_ = true;

    progress("probing the adapter");
    ShellExchange probeExchange = [this](std::string_view command, int timeoutMs, int kind,
                                         std::string_view& replyOut) {
        const bool ok = exchange(command, reply_, timeoutMs, kind) == 1;
        replyOut = reply_.view();
        return ok;
    };
    ShellWait wait = [](std::chrono::milliseconds duration) {
        std::this_thread::sleep_for(duration);
    };
    ShellLog log = [this](const std::string& line) {
        note(line);
        progress(line);
    };
    ProbeOutcome probe = runProbe(probeExchange, wait, deviceName_, shellTimings(), log);
    if (!probe.ok) {
        if (interruptSignal() != 0)
            return false;  // error_ names the command not sent
        return fail(probeFailure(probe, messageText(device)));
    }
    atCommandLine_ = true;
    firmwareVersionText_ = probe.firmwareVersionText;
    if (!firmwareAccepted(firmwareVersionText_, minimumFirmware))
        return fail("the firmware " + SjisToUtf8(firmwareVersionText_) +
                    " is older than the settings file's minimum");
    return true;
}

bool Session::openNetwork(const std::string& address, int port) {
    Profile settings(SettingsFilePath(StartupDirectory()));
    // where each password came from, for the message when the adapter refuses it
    std::string origins[2];
    const auto password = [&settings, &origins](int which, const char* variable, const char* key) {
        const char* value = std::getenv(variable);
        std::string text =
            value ? std::string(value) : settings.readText("OPTION", key, "", kPasswordBuffer);
        const std::string file = std::string("setutily.ini [OPTION] ") + key;
        origins[which] = value ? std::string("from ") + variable
                         : text.empty()
                             ? std::string("none was given: set ") + variable + " or " + file
                             : "from " + file;
        return text;
    };
    // the link keeps the pump it is opened with: the network's must watch the socket
    SetExchangePump(&netPump());
    net_ =
        std::make_unique<NetLink>(netPump().hooks(), [this](std::string_view line) { note(line); });
    context_.networkMode = 1;
    progress("logging in");
    note("login to " + address + " port " + std::to_string(port) + " (passwords not shown)");
    std::string login = password(0, "KXCTL_LOGIN_PASSWORD", "DATA1");
    std::string admin = password(1, "KXCTL_ADMIN_PASSWORD", "DATA2");
    if (!net_->NetConnect(address, port, std::move(login), std::move(admin)))
        return fail("the network link cannot start: " + lastNote_);
    // the login runs inside the socket's notifications: wait until it is done or failed
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kNetLoginTimeoutMs * 4);
    // every failure of the link or the login is told in a log line of its own
    const auto failed = [this] {
        return lastNote_.starts_with("Network link") ||
               lastNote_.find("ERROR") != std::string::npos;
    };
    while (!net_->administrator() && !net_->lost() && !failed() && interruptSignal() == 0) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            break;
        netPump().waitFor(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now));
    }
    if (!net_->administrator()) {
        const std::string where = address + " port " + std::to_string(port);
        if (const int signal = interruptSignal(); signal != 0)
            return fail(std::string("interrupted by ") + interruptName(signal) +
                        " while logging in to " + where);
        if (lastNote_ + "\r\n" == kLogLoginError)
            return fail("the adapter at " + where + " refused the login password (" + origins[0] +
                        ")");
        if (lastNote_ + "\r\n" == kLogAdminError)
            return fail("the adapter at " + where + " refused the administrator password (" +
                        origins[1] + ")");
        return fail("the network login to " + where + " failed" +
                    (lastNote_.empty() ? "" : ": " + messageText(lastNote_)));
    }
    return true;
}

std::string Session::probeFailure(const ProbeOutcome& probe, const std::string& device) const {
    const std::string name = deviceName_.empty() ? "KESTRELX" : SjisToUtf8(deviceName_);
    const std::string waited = probe.failedTimeoutMs % 1000 == 0
                                   ? std::to_string(probe.failedTimeoutMs / 1000) + " s"
                                   : std::to_string(probe.failedTimeoutMs) + " ms";
    const std::string why =
        lastOutcome_ == ExchangeOutcome::TimedOut
            ? "no reply to \"" + probe.failedCommand + "\" within " + waited
            : "\"" + probe.failedCommand + "\": " + ExchangeOutcomeText(lastOutcome_);
    switch (probe.failure) {
        case ProbeFailure::NotTheDevice:
            return "the adapter on " + device + " is not a " + name +
                   " (ATI reply lacks the device name)";
        case ProbeFailure::NoVersion:
            return "the adapter on " + device +
                   " did not report its firmware (AT%I2 reply lacks \"Version \")";
        case ProbeFailure::NoReply:
            if (probe.failedCommand == "ATI")
                return "no adapter answered on " + device + " (" + why + ")";
            return "the adapter on " + device + " stopped answering the probe (" + why + ")";
        case ProbeFailure::None:
            break;
    }
    return "the probe on " + device + " failed";
}

bool Session::read(const std::vector<std::string>& areas, Records& records) {
    addressChanged = false;
    missing_.clear();
    const std::span<const area::AreaModule* const> modules = allModules();
    for (std::size_t i = 0; i < modules.size(); ++i) {
        const area::AreaModule& module = *modules[i];
        if (!areas.empty() && std::find(areas.begin(), areas.end(), module.name) == areas.end())
            continue;
        progress("reading " + std::string(module.name));
        if (readArea(context_, i, records, missing_) != 1) {
            // every exchange was answered, but the reader could not take the last reply (a
            // table longer than the link keeps of a reply)
            if (lastSent_ && lastOutcome_ == ExchangeOutcome::Ok)
                error_ = "the adapter's reply to \"" + printable(lastCommand_) +
                         "\" is longer than the link keeps of a reply; the " +
                         std::string(module.name) + " area cannot be read whole";
            return false;
        }
    }
    return true;
}

std::vector<std::string> Session::commands(const Records& working, const Records& snapshot,
                                           bool overNetwork) {
    std::vector<std::string> out;
    const std::span<const area::AreaModule* const> modules = allModules();
    for (std::size_t i = 0; i < modules.size(); ++i)
        for (int section : modules[i]->sections) {
            std::vector<std::string> more =
                modules[i]->commands(working.areas[i], snapshot.areas[i], section, overNetwork);
            out.insert(out.end(), more.begin(), more.end());
        }
    return out;
}

bool Session::write(const Records& working, const Records& snapshot, std::size_t& sent) {
    sent = 0;
    const auto counted = [&](const std::vector<std::string>& lines, auto writeFn) {
        if (writeFn() == 1) {
            sent += lines.size();
            return true;
        }
        // the writer stopped at the failed command; those before it were acknowledged
        for (const std::string& line : lines) {
            if (line == lastCommand_)
                break;
            ++sent;
        }
        return false;
    };
    // every module's writer on kxctl's own records, in the registry's order (the router's
    // sections last, its own section 0 at the very end)
    const std::span<const area::AreaModule* const> modules = allModules();
    for (std::size_t i = 0; i < modules.size(); ++i) {
        const area::AreaModule& module = *modules[i];
        const area::AreaRecord& now = working.areas[i];
        const area::AreaRecord& before = snapshot.areas[i];
        if (now == before)
            continue;
        progress("writing " + std::string(module.name));
        for (int section : module.sections)
            if (!counted(module.commands(now, before, section, overNetwork()),
                         [&] { return module.write(context_, now, before, section); }))
                return false;
    }
    // the adapter restarts with its new address, as after the HomePNA menu: nothing more is
    // said to it, neither "fromwr 15" nor "exit"
    if (sent == 0 || addressChanged)
        return true;
    progress("storing to flash");
    ReplyBuffer reply;
    if (exchange("fromwr 15\r", reply, shellTimings().fromwrTimeoutMs, kTerminatorWriteOk) == 1)
        return true;
    flashUnconfirmed_ = lastSent_;
    return false;
}

bool Session::restartedByAddress() const {
    return addressChanged;
}

bool Session::close() {
    if (net_) {
        // the network session has no "exit": the connection is reset
        net_->NetClose();
        net_.reset();
        SetExchangePump(nullptr);
        return true;
    }
    if (!open_)
        return true;
    if (addressChanged || !atCommandLine_) {
        CloseSerialPort();
        open_ = false;
        return true;
    }
    closing_ = true;
    const bool ok = exchange("exit\r", reply_, shellTimings().exitTimeoutMs, kTerminatorOk) == 1;
    closing_ = false;
    CloseSerialPort();
    open_ = false;
    return ok;
}

int readArea(AreaContext& context, std::size_t index, Records& records, MissingFields& missing) {
    // the readers tell of each label a reply lacked by the address of the member left as it was
    records.areas[index] = allModules()[index]->blank();
    std::vector<const void*> lacking;
    context.missingLabel = [&lacking](const void* member) { lacking.push_back(member); };
    const int result = allModules()[index]->read(context, records.areas[index]);
    context.missingLabel = nullptr;
    for (const Field& field : allFields()) {
        if (field.module != index)
            continue;
        const void* member = field.isText() ? static_cast<const void*>(field.text(records))
                                            : static_cast<const void*>(field.number(records));
        if (std::find(lacking.begin(), lacking.end(), member) != lacking.end())
            missing.insert(&field);
    }
    return result;
}

}  // namespace kx::cli
