// Incoming-call control of the emulated adapter: the standard rankings, ring patterns and
// service selection ("basic"), and the 20 registered caller numbers with their own rankings.
//
//   show arrive basic|num1|num2
//   arrive ring_select|trouble_tel|ranking|address ...

#include <memory>
#include <vector>

#include "sim/AreaText.h"
#include "sim/Areas.h"
#include "sim/SettingsBlock.h"

namespace kx::sim {
namespace {

constexpr int kEntries = 20;
constexpr int kEntriesPerReply = 10;
constexpr std::size_t kNumber = 0;  // the first item of an entry

// The adapter reports rankings as codes 0 precede, 1 normal, 2 delay, 3 reject; the DATA, USB
// and PNA ports know only normal and reject, so codes 0 and 2 have no keyword there.
const std::vector<std::string_view> kTelRank{"precede", "normal", "delay", "reject"};
const std::vector<std::string_view> kPortRank{"", "normal", "", "reject"};
const std::vector<std::string_view> kRings{"ring1", "ring2", "ring3"};
const std::vector<std::string_view> kService{"ntt", "pseudo"};

// Reply order of "show arrive basic". No label contains another.
const Schema kBasicSchema{
    choiceItem("ringSelectService", "ring select service:", kService),
    choiceItem("troubleTelService", "trouble tel service:", kService),
    choiceItem("nttRing", "ntt ring:", kRings),
    choiceItem("tel1DefaultRank", "default tel1 rank:", kTelRank),
    choiceItem("tel2DefaultRank", "default tel2 rank:", kTelRank),
    choiceItem("tel3DefaultRank", "default tel3 rank:", kTelRank),
    choiceItem("dataDefaultRank", "default data rank:", kPortRank),
    choiceItem("usbDefaultRank", "default usb rank:", kPortRank),
    choiceItem("pnaDefaultRank", "default pna rank:", kPortRank),
    choiceItem("defaultRing", "default ring:", kRings),
    choiceItem("tel1NoidRank", "noid tel1 rank:", kTelRank),
    choiceItem("tel2NoidRank", "noid tel2 rank:", kTelRank),
    choiceItem("tel3NoidRank", "noid tel3 rank:", kTelRank),
    choiceItem("dataNoidRank", "noid data rank:", kPortRank),
    choiceItem("usbNoidRank", "noid usb rank:", kPortRank),
    choiceItem("pnaNoidRank", "noid pna rank:", kPortRank),
    choiceItem("noidRing", "noid ring:", kRings),
};

// The telephone company's services, every port offered every call normally, the first ring.
const std::vector<std::string_view> kBasicFactory{
    "0", "0", "0", "1", "1", "1", "1", "1", "1", "0", "1", "1", "1", "1", "1", "1", "0",
};

// One entry: its number goes on the entry's own "%d: " line (written by the area), the rest
// follow it in this order. The program looks for each of these labels from the entry's line on,
// so each entry's lines must come before the next entry's line; none contains another.
const Schema kEntrySchema{
    phoneItem("number", ""),
    choiceItem("tel1Rank", "tel1 rank:", kTelRank),
    choiceItem("tel2Rank", "tel2 rank:", kTelRank),
    choiceItem("tel3Rank", "tel3 rank:", kTelRank),
    choiceItem("dataRank", "data rank:", kPortRank),
    choiceItem("usbRank", "usb rank:", kPortRank),
    choiceItem("pnaRank", "pna rank:", kPortRank),
    choiceItem("ring", "ring:", kRings),
};

const std::vector<std::string_view> kEntryFactory{"", "1", "1", "1", "1", "1", "1", "0"};

// Below "arrive". "ring_select" with one argument is either the service or the ring of the
// telephone company's distinctive-ring service; the keyword tells which.
const std::vector<Command> kCommands{
    {{"ring_select"}, false, {}, "ringSelectService"},
    {{"ring_select"}, false, {}, "nttRing"},
    {{"trouble_tel"}, false, {}, "troubleTelService"},
    {{"ranking", "default", "tel1"}, false, {}, "tel1DefaultRank"},
    {{"ranking", "default", "tel2"}, false, {}, "tel2DefaultRank"},
    {{"ranking", "default", "tel3"}, false, {}, "tel3DefaultRank"},
    {{"ranking", "default", "data"}, false, {}, "dataDefaultRank"},
    {{"ranking", "default", "usb"}, false, {}, "usbDefaultRank"},
    {{"ranking", "default", "pna"}, false, {}, "pnaDefaultRank"},
    {{"ring_select", "default"}, false, {}, "defaultRing"},
    {{"ranking", "noid", "tel1"}, false, {}, "tel1NoidRank"},
    {{"ranking", "noid", "tel2"}, false, {}, "tel2NoidRank"},
    {{"ranking", "noid", "tel3"}, false, {}, "tel3NoidRank"},
    {{"ranking", "noid", "data"}, false, {}, "dataNoidRank"},
    {{"ranking", "noid", "usb"}, false, {}, "usbNoidRank"},
    {{"ranking", "noid", "pna"}, false, {}, "pnaNoidRank"},
    {{"ring_select", "noid"}, false, {}, "noidRing"},
    {{"address"}, true, {}, "number"},
    {{"ranking"}, true, {"tel1"}, "tel1Rank"},
    {{"ranking"}, true, {"tel2"}, "tel2Rank"},
    {{"ranking"}, true, {"tel3"}, "tel3Rank"},
    {{"ranking"}, true, {"data"}, "dataRank"},
    {{"ranking"}, true, {"usb"}, "usbRank"},
    {{"ranking"}, true, {"pna"}, "pnaRank"},
    {{"ring_select"}, true, {}, "ring"},
};

class ArriveArea final : public Area {
public:
    ArriveArea() : basic_("arrive.basic", kBasicSchema, kBasicFactory) {
        entries_.reserve(kEntries);  // the selectors point into it
        for (int k = 1; k <= kEntries; ++k) {
            entries_.emplace_back("arrive.entry" + std::to_string(k), kEntrySchema, kEntryFactory);
        }
        for (int k = 1; k <= kEntries; ++k) {
            selectors_.push_back(Selector{std::to_string(k), &entries_[k - 1]});
        }
    }
    ArriveArea(const ArriveArea&) = delete;
    ArriveArea& operator=(const ArriveArea&) = delete;

    bool handle(const Words& rawWords, std::string_view, std::string& reply) override {
        const Words words = nonEmptyWords(rawWords);
        if (words.size() >= 2 && equalsNoCase(words[0], "show") &&
            equalsNoCase(words[1], "arrive")) {
            show(words, reply);
            return true;
        }
        if (words.empty() || !equalsNoCase(words[0], "arrive")) {
            return false;
        }
        const std::span<const std::string> args(words.begin() + 1, words.end());
        if (!applyCommand(args, kCommands, &basic_, selectors_)) {
            reply.append(kInvalidParameterLine);
        }
        return true;
    }

    void reset() override {
        basic_.reset();
        for (SettingsBlock& entry : entries_) {
            entry.reset();
        }
    }

    std::map<std::string, std::string> save() const override {
        std::map<std::string, std::string> values;
        basic_.save(values);
        for (const SettingsBlock& entry : entries_) {
            entry.save(values);
        }
        return values;
    }

    void restore(const std::map<std::string, std::string>& values) override {
        basic_.restore(values);
        for (SettingsBlock& entry : entries_) {
            entry.restore(values);
        }
    }

private:
    void show(const Words& words, std::string& reply) const {
        if (words.size() != 3) {
            reply.append(kInvalidParameterLine);
        } else if (equalsNoCase(words[2], "basic")) {
            basic_.show(reply);
        } else if (equalsNoCase(words[2], "num1")) {
            showEntries(reply, 1);
        } else if (equalsNoCase(words[2], "num2")) {
            showEntries(reply, kEntriesPerReply + 1);
        } else {
            reply.append(kInvalidParameterLine);
        }
    }

    // "k: number" (an empty entry keeps the blank after the colon, so "k: " is always there),
    // then the entry's rankings and ring, entries in ascending order: the program finds entry k
    // by the first "k: " of the reply and its items by the first labels after it.
    void showEntries(std::string& reply, int first) const {
        for (int k = first; k < first + kEntriesPerReply; ++k) {
            const SettingsBlock& entry = entries_[k - 1];
            appendLine(reply, std::to_string(k) + ":", entry.text(kNumber));
            entry.show(reply, 1);
        }
    }

    SettingsBlock basic_;
    std::vector<SettingsBlock> entries_;
    std::vector<Selector> selectors_;
};

}  // namespace

std::unique_ptr<Area> makeArriveArea() {
    return std::make_unique<ArriveArea>();
}

}  // namespace kx::sim
