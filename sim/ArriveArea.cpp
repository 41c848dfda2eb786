// Incoming-call control of the emulated adapter: the standard rankings, ring patterns and
// service selection ("basic"), and the 20 registered caller numbers with their own rankings.
//
//   show arrive basic|num1|num2
//   arrive ring_select|trouble_tel|ranking|address ...

#include <memory>
#include <vector>

#include "sim/Areas.h"
#include "sim/BlockArea.h"

namespace kx::sim {
namespace {

constexpr int kEntries = 20;

// The adapter reports rankings as codes 0 precede, 1 normal, 2 delay, 3 reject; the DATA, USB
// and PNA ports know only normal and reject, so codes 0 and 2 have no keyword there.
const std::vector<std::string_view> kTelRank{"precede", "normal", "delay", "reject"};
const std::vector<std::string_view> kPortRank{"", "normal", "", "reject"};
const std::vector<std::string_view> kRings{"ring1", "ring2", "ring3"};
const std::vector<std::string_view> kService{"ntt", "pseudo"};

// Reply order of "show arrive basic". No label contains another. At the factory: the telephone
// company's services, every port offered every call normally, the first ring.
const Schema kBasicSchema{
    choiceItem("ringSelectService", "ring select service:", kService, "ntt"),
    choiceItem("troubleTelService", "trouble tel service:", kService, "ntt"),
    choiceItem("nttRing", "ntt ring:", kRings, "ring1"),
    choiceItem("tel1DefaultRank", "default tel1 rank:", kTelRank, "normal"),
    choiceItem("tel2DefaultRank", "default tel2 rank:", kTelRank, "normal"),
    choiceItem("tel3DefaultRank", "default tel3 rank:", kTelRank, "normal"),
    choiceItem("dataDefaultRank", "default data rank:", kPortRank, "normal"),
    choiceItem("usbDefaultRank", "default usb rank:", kPortRank, "normal"),
    choiceItem("pnaDefaultRank", "default pna rank:", kPortRank, "normal"),
    choiceItem("defaultRing", "default ring:", kRings, "ring1"),
    choiceItem("tel1NoidRank", "noid tel1 rank:", kTelRank, "normal"),
    choiceItem("tel2NoidRank", "noid tel2 rank:", kTelRank, "normal"),
    choiceItem("tel3NoidRank", "noid tel3 rank:", kTelRank, "normal"),
    choiceItem("dataNoidRank", "noid data rank:", kPortRank, "normal"),
    choiceItem("usbNoidRank", "noid usb rank:", kPortRank, "normal"),
    choiceItem("pnaNoidRank", "noid pna rank:", kPortRank, "normal"),
    choiceItem("noidRing", "noid ring:", kRings, "ring1"),
};

// One entry: its number goes on the entry's own "%d: " line (written by the area), the rest
// follow it in this order. The program looks for each of these labels from the entry's line on,
// so each entry's lines must come before the next entry's line; none contains another.
const Schema kEntrySchema{
    phoneItem("number", ""),
    choiceItem("tel1Rank", "tel1 rank:", kTelRank, "normal"),
    choiceItem("tel2Rank", "tel2 rank:", kTelRank, "normal"),
    choiceItem("tel3Rank", "tel3 rank:", kTelRank, "normal"),
    choiceItem("dataRank", "data rank:", kPortRank, "normal"),
    choiceItem("usbRank", "usb rank:", kPortRank, "normal"),
    choiceItem("pnaRank", "pna rank:", kPortRank, "normal"),
    choiceItem("ring", "ring:", kRings, "ring1"),
};

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

// "show arrive num1|num2" lists the entries as "k: number" lines, each followed by the entry's
// rankings and ring: the program finds entry k by the first "k: " of the reply and its items by
// the first labels after it.
class ArriveArea final : public BlockArea {
public:
    ArriveArea() : BlockArea("arrive", kCommands), basic_("basic", kBasicSchema) {
        addBlock(basic_, "basic", {});
        setFixedBlock(basic_);
        entries_.reserve(kEntries);  // registered by address
        for (int k = 1; k <= kEntries; ++k) {
            entries_.emplace_back("entry" + std::to_string(k), kEntrySchema);
            addBlock(entries_.back(), {}, std::to_string(k));
        }
        setEntryPages(entries_);
    }

private:
    SettingsBlock basic_;
    std::vector<SettingsBlock> entries_;
};

}  // namespace

std::unique_ptr<Area> makeArriveArea() {
    return std::make_unique<ArriveArea>();
}

}  // namespace kx::sim
