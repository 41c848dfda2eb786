#pragma once

#include <any>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "sim/Area.h"
#include "sim/Clock.h"
#include "sim/StateFile.h"

namespace kx::sim {

// What one command-line command did, besides its reply lines.
struct CommandResult {
    enum class Action {
        None,     // stay on the command line
        Exit,     // "exit": leave the command line
        Restart,  // "restart": factory values are in; the adapter reboots
    };
    std::string body;  // the lines between the echo and the prompt, each ending in "\r\n"
    Action action = Action::None;
};

// The emulated adapter's state: the settings areas, the flash copy, the clock. One Device is
// shared by every session (pty, TCP, stdio); all members are thread-safe.
class Device {
public:
    struct NamedArea {
        std::string prefix;  // "analog", ... : the key prefix in the flash copy
        std::unique_ptr<Area> area;
    };

    // The five areas of the adapter, in the order the command line offers them a command.
    Device();
    explicit Device(std::vector<NamedArea> areas);

    // Keeps the flash copy in `path`: loads it now (a missing file means factory values) and
    // powers on from it; "fromwr 15" and "restart" rewrite it. Fails on an unreadable or
    // malformed file, leaving the device at factory values.
    bool useStateFile(const std::string& path, std::string& error);

    // Runs one command line (without its line end).
    CommandResult execute(std::string_view line);

    // All areas' state, keys prefixed "area.key".
    FlatState state() const;

    // Power off and on: the areas come back with the flash copy (factory values without one).
    void powerCycle();

    // As a new device: factory values, no flash copy, the clock at the host's time (the state
    // file, if any, stays as it is). One device can then serve many separate runs.
    void renew();

    Clock::Reading clockNow() const;

private:
    mutable std::mutex mutex_;
    std::vector<NamedArea> areas_;
    std::vector<std::any> flash_;  // each area's snapshot, when haveFlash_
    bool haveFlash_ = false;
    std::string stateFile_;
    Clock clock_;

    FlatState collectLocked() const;
    void applyLocked(const FlatState& state);
    void resetLocked();
    void takeFlashLocked();
    bool storeFlashLocked(std::string& error);
    std::string runBuiltinOrArea(const std::vector<std::string>& words, std::string_view line,
                                 CommandResult& result);
    std::string clockCommand(const std::vector<std::string>& words);
};

// Splits a command line at every blank, so doubled and trailing blanks give empty words (the
// areas see a line's words exactly as they stand: "shortnum add 3 " carries an empty number).
std::vector<std::string> splitWords(std::string_view line);

}  // namespace kx::sim
