// The short-number (speed-dial) table of the emulated adapter: 20 numbers.
//
//   show shortnum num1|num2      entries 1 to 10, 11 to 20, as "k: number" lines
//   shortnum add <k> [number]    a missing number empties entry k

#include <memory>
#include <vector>

#include "sim/AreaText.h"
#include "sim/Areas.h"
#include "sim/SettingsBlock.h"

namespace kx::sim {
namespace {

constexpr int kEntries = 20;
constexpr int kEntriesPerReply = 10;

const Schema kEntrySchema{phoneItem("number", "")};
const std::vector<std::string_view> kEntryFactory{""};  // no number registered

const std::vector<Command> kCommands{{{"add"}, true, {}, "number"}};

class ShortnumArea final : public Area {
public:
    ShortnumArea() {
        entries_.reserve(kEntries);  // the selectors point into it
        for (int k = 1; k <= kEntries; ++k) {
            entries_.emplace_back("shortnum." + std::to_string(k), kEntrySchema, kEntryFactory);
        }
        for (int k = 1; k <= kEntries; ++k) {
            selectors_.push_back(Selector{std::to_string(k), &entries_[k - 1]});
        }
    }
    ShortnumArea(const ShortnumArea&) = delete;
    ShortnumArea& operator=(const ShortnumArea&) = delete;

    bool handle(const Words& rawWords, std::string_view, std::string& reply) override {
        const Words words = nonEmptyWords(rawWords);
        if (words.size() >= 2 && equalsNoCase(words[0], "show") &&
            equalsNoCase(words[1], "shortnum")) {
            show(words, reply);
            return true;
        }
        if (words.empty() || !equalsNoCase(words[0], "shortnum")) {
            return false;
        }
        const std::span<const std::string> args(words.begin() + 1, words.end());
        if (!applyCommand(args, kCommands, nullptr, selectors_)) {
            reply.append(kInvalidParameterLine);
        }
        return true;
    }

    void reset() override {
        for (SettingsBlock& entry : entries_) {
            entry.reset();
        }
    }

    std::map<std::string, std::string> save() const override {
        std::map<std::string, std::string> values;
        for (const SettingsBlock& entry : entries_) {
            entry.save(values);
        }
        return values;
    }

    void restore(const std::map<std::string, std::string>& values) override {
        for (SettingsBlock& entry : entries_) {
            entry.restore(values);
        }
    }

private:
    // Ascending "k: number" lines; an empty entry keeps the blank after its colon, so the
    // program's search for "k: " finds every entry, and the first "k: " is entry k's own line
    // (no number contains a colon).
    void show(const Words& words, std::string& reply) const {
        int first = 0;
        if (words.size() == 3 && equalsNoCase(words[2], "num1")) {
            first = 1;
        } else if (words.size() == 3 && equalsNoCase(words[2], "num2")) {
            first = kEntriesPerReply + 1;
        } else {
            reply.append(kInvalidParameterLine);
            return;
        }
        for (int k = first; k < first + kEntriesPerReply; ++k) {
            appendLine(reply, std::to_string(k) + ":", entries_[k - 1].text(0));
        }
    }

    std::vector<SettingsBlock> entries_;
    std::vector<Selector> selectors_;
};

}  // namespace

std::unique_ptr<Area> makeShortnumArea() {
    return std::make_unique<ShortnumArea>();
}

}  // namespace kx::sim
