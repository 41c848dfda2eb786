#pragma once

// kxctl's link to the adapter: the serial port (a device, a COM port of the settings file, or
// the in-process emulator of --demo), the program's own probe and firmware gate, every exchange
// through SendCommand (written to the transcript when asked), the areas' readers and writers,
// and the close path ("fromwr 15\r" when something was written, then "exit\r"). Or the
// network link: the telnet connection with the two-password login (the passwords from the
// environment or the settings file, never from the command line), closed by a reset.
//
// Failures come back as false with `error()` naming what failed, for exit status 1.

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/services/AreaContext.h"
#include "cli/Document.h"
#include "cli/Fields.h"
#include "link/Link.h"
#include "link/ReplyBuffer.h"

namespace kx {
class NetLink;
struct ProbeOutcome;
}  // namespace kx
namespace kx::sim {
class Emulator;
}

namespace kx::cli {

struct LinkOptions {
    std::string device;  // --port
    int com = 0;         // --com (1..9), the settings file's device for it
    bool demo = false;   // --demo
    // --net: the network link to this address (with --demo, the emulator's telnet side)
    std::string netAddress;
    bool net = false;
    int netPort = 0;  // 0: the telnet port
    std::string transcriptPath;
    // one progress line at a time ("reading analog ..."); empty for none
    std::function<void(std::string_view)> progress;
};

class Session {
public:
    Session();
    ~Session();  // closes the port without the close path when close() was not called
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Opens the link and runs the probe and the firmware gate.
    bool open(const LinkOptions& options);
    // "ATI" reply's device name and the firmware version text of the probe.
    const std::string& firmwareVersionText() const { return firmwareVersionText_; }
    const std::string& deviceName() const { return deviceName_; }

    // Reads `areas` (all when empty) into `records`; the others are left as they are. The
    // fields whose labels the replies lacked are in missing() afterwards: their values in
    // `records` are unknown, not the zero they hold.
    bool read(const std::vector<std::string>& areas, Records& records);
    const MissingFields& missing() const { return missing_; }
    // The command lines that bring the adapter from `snapshot` to `working`, area by area in
    // the writers' orders.
    // Over the network link the items the writers skip there are left out.
    static std::vector<std::string> commands(const Records& working, const Records& snapshot,
                                             bool overNetwork);
    bool overNetwork() const { return context_.networkMode != 0; }
    // Writes what differs with the areas' writers, stopping at the first failure (the router's
    // sections last, its own section 0 at the very end); then "fromwr 15\r" when anything was
    // sent. `sent` counts the acknowledged commands.
    bool write(const Records& working, const Records& snapshot, std::size_t& sent);
    // After a failed write: whether it was "fromwr 15" that failed (every setting was taken;
    // whether they are stored is unknown).
    bool flashUnconfirmed() const { return flashUnconfirmed_; }
    // Whether the write changed the router's address: the adapter restarts with it, and the
    // session ends without "fromwr 15\r" and "exit\r", as after the HomePNA menu.
    bool restartedByAddress() const;
    // "exit\r" and the port closed (only the port after a router address change or before the
    // probe reached the command line). Also after an interruption, which sends nothing else.
    bool close();

    const std::string& error() const { return error_; }
    // The emulator of --demo (null otherwise), for tests.
    sim::Emulator* emulator() { return emulator_.get(); }

private:
    int exchange(std::string_view command, ReplyBuffer& reply, int timeoutMs, int kind);
    bool readAreas(const std::vector<std::string>& areas, Records& records);
    std::string probeFailure(const ProbeOutcome& probe, const std::string& device) const;
    bool openNetwork(const std::string& address, int port);
    void note(std::string_view line);
    bool fail(std::string message);
    void progress(std::string_view text) const;

    LinkOptions options_;
    std::unique_ptr<sim::Emulator> emulator_;
    std::unique_ptr<NetLink> net_;
    ReplyBuffer reply_;
    AreaContext context_;
    std::FILE* transcript_ = nullptr;
    bool open_ = false;
    bool atCommandLine_ = false;  // the probe ended at the adapter's command line
    bool closing_ = false;        // the close path's "exit" goes out even after an interruption
    bool flashUnconfirmed_ = false;
    bool lastSent_ = false;  // the last command went out (it was not held back by an interruption)
    ExchangeOutcome lastOutcome_ = ExchangeOutcome::Ok;
    MissingFields missing_;
    std::string lastCommand_;
    std::string lastNote_;  // the link's last log line
    std::string deviceName_;
    std::string firmwareVersionText_;
    std::string error_;
};

// Installs the documents the program's main window writes (app/SettingsDocument.h): the
// program and its tests call it once at start.
void installSettingsDocuments();

// A command line as the user reads it: UTF-8, without its line end, a password masked, any
// control byte escaped.
std::string printable(std::string_view command);
// `bytes` with the secret after the word "password" on a line masked: the transcript's form.
// Only the secret: a dial-up profile's block stays ("dialup password num3 ********").
std::string withoutSecrets(std::string_view bytes);

// Reads area `index` of the registry into kxctl's own record `records.areas[index]` (blank
// first), over `context`, and adds to `missing` each of its fields whose label a reply lacked.
// Returns the area reader's result: 1 when every exchange succeeded.
int readArea(AreaContext& context, std::size_t index, Records& records, MissingFields& missing);

}  // namespace kx::cli
