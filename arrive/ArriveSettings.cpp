#include "arrive/ArriveSettings.h"

#include "area/Keywords.h"
#include "area/TableIO.h"

namespace kx {

namespace {

using area::choice;
using area::Item;
using area::kRings;
using area::phone;
using A = ArriveSettings;
using E = ArriveEntry;

constexpr std::string_view kTelRanks[] = {"precede", "normal", "delay", "reject"};
constexpr std::string_view kPortRanks[] = {"normal", "reject"};
constexpr std::string_view kServices[] = {"ntt", "pseudo"};

// The adapter's code 1 (normal) is index 0, every other code index 1 (reject).
int portRankFromCode(int code) {
    return code == 1 ? 0 : 1;
}
// 0 is the telephone company's service; any other value the adapter's own.
int serviceKeyword(int value) {
    return value == 0 ? 0 : 1;
}

// The standard settings are not written over the network link.
constexpr Item<A> standard(std::string_view name, int A::*member, std::string_view label,
                           area::Keywords keywords, std::string_view command) {
    return choice(name, member, label, keywords, command).withSerialOnly();
}
constexpr Item<A> telRank(std::string_view name, int A::*member, std::string_view label,
                          std::string_view command) {
    return standard(name, member, label, kTelRanks, command);
}
constexpr Item<A> portRank(std::string_view name, int A::*member, std::string_view label,
                           std::string_view command) {
    return standard(name, member, label, kPortRanks, command).withDecode(portRankFromCode);
}

constexpr Item<A> kStandardItems[] = {
    standard("ringSelectService", &A::ringSelectService, "ring select service:", kServices,
             "arrive ring_select")
        .withEncode(serviceKeyword)
        .withCaption("なりわけ"),
    standard("troubleTelService", &A::troubleTelService, "trouble tel service:", kServices,
             "arrive trouble_tel")
        .withEncode(serviceKeyword)
        .withCaption("迷惑電話おことわり"),
    telRank("tel1DefaultRank", &A::tel1DefaultRank,
            "default tel1 rank:", "arrive ranking default tel1")
        .withCaption("標準の設定 着信順位 TEL1"),
    telRank("tel2DefaultRank", &A::tel2DefaultRank,
            "default tel2 rank:", "arrive ranking default tel2")
        .withCaption("標準の設定 着信順位 TEL2"),
    telRank("tel3DefaultRank", &A::tel3DefaultRank,
            "default tel3 rank:", "arrive ranking default tel3")
        .withCaption("標準の設定 着信順位 TEL3"),
    portRank("dataDefaultRank", &A::dataDefaultRank,
             "default data rank:", "arrive ranking default data")
        .withCaption("標準の設定 着信順位 DATA"),
    portRank("usbDefaultRank", &A::usbDefaultRank,
             "default usb rank:", "arrive ranking default usb")
        .withCaption("標準の設定 着信順位 USB"),
    portRank("pnaDefaultRank", &A::pnaDefaultRank,
             "default pna rank:", "arrive ranking default pna")
        .withCaption("標準の設定 着信順位 PNA"),
    standard("defaultRing", &A::defaultRing, "default ring:", kRings, "arrive ring_select default")
        .withCaption("標準の設定 擬似なりわけ鳴動音"),
    telRank("tel1NoidRank", &A::tel1NoidRank, "noid tel1 rank:", "arrive ranking noid tel1")
        .withCaption("電話番号なし着信 着信順位 TEL1"),
    telRank("tel2NoidRank", &A::tel2NoidRank, "noid tel2 rank:", "arrive ranking noid tel2")
        .withCaption("電話番号なし着信 着信順位 TEL2"),
    telRank("tel3NoidRank", &A::tel3NoidRank, "noid tel3 rank:", "arrive ranking noid tel3")
        .withCaption("電話番号なし着信 着信順位 TEL3"),
    portRank("dataNoidRank", &A::dataNoidRank, "noid data rank:", "arrive ranking noid data")
        .withCaption("電話番号なし着信 着信順位 DATA"),
    portRank("usbNoidRank", &A::usbNoidRank, "noid usb rank:", "arrive ranking noid usb")
        .withCaption("電話番号なし着信 着信順位 USB"),
    portRank("pnaNoidRank", &A::pnaNoidRank, "noid pna rank:", "arrive ranking noid pna")
        .withCaption("電話番号なし着信 着信順位 PNA"),
    standard("noidRing", &A::noidRing, "noid ring:", kRings, "arrive ring_select noid")
        .withCaption("電話番号なし着信 擬似なりわけ鳴動音"),
    standard("nttRing", &A::nttRing, "ntt ring:", kRings, "arrive ring_select")
        .withCaption("なりわけ 鳴動音"),
};

// An entry's items; its number has no label (the entry is found by "k: ") and the other labels
// are searched from the entry's own line on.
constexpr Item<E> kEntryItems[] = {
    phone("number", &E::number, "", "arrive address {}").withCaption("電話番号"),
    choice("tel1Rank", &E::tel1Rank, "tel1 rank:", kTelRanks, "arrive ranking {} tel1")
        .withCaption("着信順位 TEL1"),
    choice("tel2Rank", &E::tel2Rank, "tel2 rank:", kTelRanks, "arrive ranking {} tel2")
        .withCaption("着信順位 TEL2"),
    choice("tel3Rank", &E::tel3Rank, "tel3 rank:", kTelRanks, "arrive ranking {} tel3")
        .withCaption("着信順位 TEL3"),
    choice("dataRank", &E::dataRank, "data rank:", kPortRanks, "arrive ranking {} data")
        .withDecode(portRankFromCode)
        .withCaption("着信順位 DATA"),
    choice("usbRank", &E::usbRank, "usb rank:", kPortRanks, "arrive ranking {} usb")
        .withDecode(portRankFromCode)
        .withCaption("着信順位 USB"),
    choice("pnaRank", &E::pnaRank, "pna rank:", kPortRanks, "arrive ranking {} pna")
        .withDecode(portRankFromCode)
        .withCaption("着信順位 PNA"),
    choice("ring", &E::ring, "ring:", kRings, "arrive ring_select {}")
        .withCaption("擬似なりわけ鳴動音"),
};

struct Page {
    const char* command;
    int first;  // the page lists entries first..first + 9
};
constexpr Page kPages[] = {{"show arrive num1\r", 1}, {"show arrive num2\r", 11}};

// An entry's labels are searched in its own lines only: one it lacks is left as it was.
// An entry the page does not list is an empty one: only a listed entry's lacking labels are
// told to `missing`.
void readEntry(std::string_view reply, int k, ArriveEntry& entry,
               const area::MissingLabel& missing) {
    entry.number = area::readEntryText(reply, k);
    const std::string_view lines = area::entryLines(reply, k);
    area::readItems(lines, arriveEntryItems(), entry,
                    lines.empty() ? area::MissingLabel{} : missing);
}

}  // namespace

std::span<const Item<ArriveSettings>> arriveStandardItems() {
    return kStandardItems;
}

std::span<const Item<ArriveEntry>> arriveEntryItems() {
    return kEntryItems;
}

int readArriveSettings(const AreaContext& context, ArriveSettings& snapshot) {
    if (context.send("show arrive basic\r") != 1)
        return 0;
    area::readItems(context.reply.view(), arriveStandardItems(), snapshot, context.missingLabel);
    for (const Page& page : kPages) {
        if (context.send(page.command) != 1)
            return 0;
        for (int k = page.first; k < page.first + 10; ++k)
            readEntry(context.reply.view(), k, snapshot.entries[static_cast<std::size_t>(k - 1)],
                      context.missingLabel);
    }
    return 1;
}

int ReadArriveSettings(const AreaContext& context) {
    if (readArriveSettings(context, arriveSettings.snapshot) != 1)
        return 0;
    arriveSettings.readDone();
    return 1;
}

std::vector<std::string> arriveCommands(const ArriveSettings& working,
                                        const ArriveSettings& snapshot, int area,
                                        bool overNetwork) {
    if (area == kArriveStandardArea)
        return area::changedCommands(arriveStandardItems(), working, snapshot, {}, overNetwork);
    std::vector<std::string> commands;
    if (area < 1 || area > 2)
        return commands;
    const std::size_t first = static_cast<std::size_t>(area - 1) * 10;
    for (std::size_t i = first; i < first + 10; ++i)
        area::appendChangedCommands(arriveEntryItems(), working.entries[i], snapshot.entries[i],
                                    std::to_string(i + 1), commands);
    return commands;
}

int WriteArriveSettings(const AreaContext& context, int area) {
    return context.sendAll(arriveCommands(arriveSettings.working, arriveSettings.snapshot, area,
                                          context.networkMode != 0));
}

}  // namespace kx
