#pragma once

#include <any>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kx::sim {

// The words of one command line, split at blanks, without the carriage return.
using Words = std::vector<std::string>;

// One settings area of the emulated adapter (analog, digital, arrive, shortnum, router).
// It owns the area's state, answers the area's "show" commands and applies its setting
// commands, so that the next "show" reports what was set.
class Area {
public:
    virtual ~Area() = default;

    // Handles one command line. Returns false when the command is not this area's, so the
    // command line can offer it to the next area. On true, `reply` holds the reply lines that
    // go between the echo and the prompt (each line ends in "\r\n"): "label: value" lines for a
    // show command, nothing for an accepted setting, or an error line for a malformed one.
    virtual bool handle(const Words& words, std::string_view line, std::string& reply) = 0;

    // Factory values (power-on without a flash copy, and "restart").
    virtual void reset() = 0;

    // The state as flat key/value pairs, and back; used for the flash copy and the state file.
    // The keys leave out the area's own name ("tel1.ringSound"): the device puts it before them.
    // restore() ignores unknown keys and keeps the current value for keys that are missing.
    virtual std::map<std::string, std::string> save() const = 0;
    virtual void restore(const std::map<std::string, std::string>& values) = 0;

    // A copy of the whole state to put back later: the flash copy between "fromwr 15" and a
    // power cycle. The real areas copy their values, far cheaper than save() and restore().
    virtual std::any snapshot() const { return save(); }
    virtual void putBack(const std::any& snapshot) {
        reset();
        restore(std::any_cast<const std::map<std::string, std::string>&>(snapshot));
    }
};

}  // namespace kx::sim
