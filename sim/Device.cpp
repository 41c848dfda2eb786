#include "sim/Device.h"

#include <cctype>
#include <charconv>

#include "sim/AreaText.h"
#include "sim/Areas.h"

namespace kx::sim {
namespace {

std::vector<Device::NamedArea> standardAreas() {
    std::vector<Device::NamedArea> areas;
    areas.push_back({"analog", makeAnalogArea()});
    areas.push_back({"digital", makeDigitalArea()});
    areas.push_back({"arrive", makeArriveArea()});
    areas.push_back({"shortnum", makeShortnumArea()});
    areas.push_back({"router", makeRouterArea()});
    return areas;
}

// Reads "a<sep>b<sep>c" of decimal numbers (1 to 4 digits each) into three ints.
bool parseTriple(const std::string& text, char separator, int (&out)[3]) {
    std::size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t end = i < 2 ? text.find(separator, pos) : text.size();
        if (end == std::string::npos || end == pos || end - pos > 4)
            return false;
        const char* first = text.data() + pos;
        const char* last = text.data() + end;
        auto [ptr, ec] = std::from_chars(first, last, out[i]);
        if (ec != std::errc() || ptr != last)
            return false;
        pos = end + 1;
    }
    return true;
}

bool isWord(const std::vector<std::string>& words, std::size_t index, std::string_view text) {
    return words.size() > index && words[index] == text;
}

constexpr char kHelpText[] =
    "Commands:\r\n"
    "  show analog|digital|arrive|shortnum ...   show settings\r\n"
    "  analog ... | digital ... | arrive ... | shortnum add ...   change settings\r\n"
    "  router, network, dialup, nat, dhcp, dns, host, syslog, bod, bacpbap, connect, ras\r\n"
    "  show date            the clock\r\n"
    "  date YYYY/MM/DD | time HH:MM:SS | youbi 0-6 (0 Sunday)\r\n"
    "  fromwr 15            store the settings in flash\r\n"
    "  restart              factory settings, then reboot\r\n"
    "  exit                 leave the command line\r\n";

}  // namespace

std::vector<std::string> splitWords(std::string_view line) {
    std::vector<std::string> words;
    for (std::size_t start = 0;;) {
        const std::size_t blank = line.find(' ', start);
        words.emplace_back(line.substr(start, blank - start));
        if (blank == std::string_view::npos)
            return words;
        start = blank + 1;
    }
}

Device::Device() : Device(standardAreas()) {}

Device::Device(std::vector<NamedArea> areas) : areas_(std::move(areas)) {
    resetLocked();
}

bool Device::useStateFile(const std::string& path, std::string& error) {
    FlatState loaded;
    bool exists = false;
    if (!loadStateFile(path, loaded, exists, error))
        return false;
    std::lock_guard lock(mutex_);
    stateFile_ = path;
    resetLocked();
    haveFlash_ = exists;
    if (haveFlash_) {
        applyLocked(loaded);
        takeFlashLocked();
    }
    return true;
}

FlatState Device::collectLocked() const {
    // An area's keys come in order, and each goes right after the one before it.
    FlatState all;
    for (const NamedArea& named : areas_) {
        const std::string prefix = named.prefix + ".";
        auto at = all.lower_bound(prefix);
        for (auto& [key, value] : named.area->save())
            at = std::next(all.insert_or_assign(at, prefix + key, std::move(value)));
    }
    return all;
}

void Device::applyLocked(const FlatState& state) {
    for (NamedArea& named : areas_) {
        const std::string prefix = named.prefix + ".";
        std::map<std::string, std::string> mine;
        for (auto it = state.lower_bound(prefix); it != state.end(); ++it) {
            if (it->first.compare(0, prefix.size(), prefix) != 0)
                break;
            std::string key = it->first.substr(prefix.size());
            if (key.compare(0, prefix.size(), prefix) == 0) {
                // the first state files named the area twice ("analog.analog.tel1.ringSound");
                // a key in today's form wins over such an old one
                key.erase(0, prefix.size());
                mine.emplace(std::move(key), it->second);
            } else {
                mine[std::move(key)] = it->second;
            }
        }
        named.area->restore(mine);
    }
}

void Device::resetLocked() {
    for (NamedArea& named : areas_) named.area->reset();
}

void Device::takeFlashLocked() {
    flash_.clear();
    for (const NamedArea& named : areas_) flash_.push_back(named.area->snapshot());
    haveFlash_ = true;
}

bool Device::storeFlashLocked(std::string& error) {
    if (!stateFile_.empty() && !saveStateFile(stateFile_, collectLocked(), error))
        return false;
    takeFlashLocked();
    return true;
}

FlatState Device::state() const {
    std::lock_guard lock(mutex_);
    return collectLocked();
}

void Device::powerCycle() {
    std::lock_guard lock(mutex_);
    if (!haveFlash_) {
        resetLocked();
        return;
    }
    for (std::size_t i = 0; i < areas_.size(); ++i) areas_[i].area->putBack(flash_[i]);
}

void Device::renew() {
    std::lock_guard lock(mutex_);
    resetLocked();
    flash_.clear();
    haveFlash_ = false;
    clock_ = Clock();
}

Clock::Reading Device::clockNow() const {
    std::lock_guard lock(mutex_);
    return clock_.now();
}

CommandResult Device::execute(std::string_view line) {
    CommandResult result;
    for (unsigned char c : line) {
        // a control byte can only come from line noise: never hand it to an area
        if ((c < 0x20 && c != '\t') || c == 0x7F) {
            result.body = "% Invalid character in command\r\n";
            return result;
        }
    }
    if (line.find_first_not_of(" \t") == std::string_view::npos)
        return result;
    std::lock_guard lock(mutex_);
    result.body = runBuiltinOrArea(splitWords(line), line, result);
    return result;
}

std::string Device::runBuiltinOrArea(const std::vector<std::string>& allWords,
                                     std::string_view line, CommandResult& result) {
    // the adapter's own commands ignore extra blanks and letter case
    std::vector<std::string> words;
    for (const std::string& word : allWords) {
        if (word.empty())
            continue;
        std::string folded = word;
        for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        words.push_back(std::move(folded));
    }
    const std::string& verb = words[0];
    if (verb == "exit" && words.size() == 1) {
        result.action = CommandResult::Action::Exit;
        return {};
    }
    if (verb == "fromwr") {
        if (words.size() != 2 || words[1] != "15")
            return "% Invalid parameter: fromwr 15\r\n";
        std::string error;
        if (!storeFlashLocked(error))
            return errorLine("F-ROM Write ERROR: " + error);
        return "F-ROM Write OK\r\n";
    }
    if (verb == "restart" && words.size() == 1) {
        resetLocked();
        std::string error;
        result.action = CommandResult::Action::Restart;
        if (!storeFlashLocked(error))
            return errorLine("Factory settings not stored: " + error);
        return "Factory settings restored, restarting\r\n";
    }
    if (verb == "date" || verb == "time" || verb == "youbi" ||
        (verb == "show" && (isWord(words, 1, "date") || isWord(words, 1, "time")))) {
        return clockCommand(words);
    }
    if ((verb == "help" || verb == "?") && words.size() == 1)
        return kHelpText;
    for (NamedArea& named : areas_) {
        std::string reply;
        if (named.area->handle(allWords, line, reply))
            return reply;
    }
    return std::string(kUnknownCommandLine);
}

std::string Device::clockCommand(const std::vector<std::string>& words) {
    const std::string& verb = words[0];
    if (verb == "show" || words.size() == 1) {
        if (words.size() > 2)
            return std::string(kUnknownCommandLine);
        return clock_.showText();
    }
    if (words.size() != 2)
        return std::string(kInvalidParameterLine);
    int parts[3] = {0, 0, 0};
    if (verb == "date") {
        if (!parseTriple(words[1], '/', parts) || !clock_.setDate(parts[0], parts[1], parts[2]))
            return "% Invalid date (YYYY/MM/DD)\r\n";
        return {};
    }
    if (verb == "time") {
        if (!parseTriple(words[1], ':', parts) || words[1].size() > 8 ||
            !clock_.setTime(parts[0], parts[1], parts[2]))
            return "% Invalid time (HH:MM:SS)\r\n";
        return {};
    }
    const std::string& text = words[1];
    if (text.size() != 1 || text[0] < '0' || text[0] > '6' || !clock_.setWeekday(text[0] - '0'))
        return "% Invalid day of the week (0 Sunday .. 6 Saturday)\r\n";
    return {};
}

}  // namespace kx::sim
