#include "shortnum/ShortNumbers.h"

#include "area/TableIO.h"

namespace kx {

namespace {

// No label: an entry is found by its number ("7: "), see readEntryText. Not written over the
// network link.
constexpr area::Item<ShortNumberEntry> kEntryItems[] = {
    area::phone("", &ShortNumberEntry::number, "", "shortnum add {}").withSerialOnly(),
};

struct Page {
    const char* command;
    int first;  // the page lists entries first..first + 9
};
constexpr Page kPages[] = {{"show shortnum num1\r", 1}, {"show shortnum num2\r", 11}};

}  // namespace

std::span<const area::Item<ShortNumberEntry>> shortNumberItems() {
    return kEntryItems;
}

int readShortNumbers(const AreaContext& context, ShortNumberTable& snapshot) {
    for (const Page& page : kPages) {
        if (context.send(page.command) != 1)
            return 0;
        for (int k = page.first; k < page.first + 10; ++k)
            snapshot[static_cast<std::size_t>(k - 1)].number =
                area::readEntryText(context.reply.view(), k);
    }
    return 1;
}

int ReadShortNumbers(const AreaContext& context) {
    if (readShortNumbers(context, shortNumbers.snapshot) != 1)
        return 0;
    shortNumbers.readDone();
    return 1;
}

std::vector<std::string> shortNumberCommands(const ShortNumberTable& working,
                                             const ShortNumberTable& snapshot, bool overNetwork) {
    std::vector<std::string> commands;
    for (std::size_t i = 0; i < working.size(); ++i)
        area::appendChangedCommands(shortNumberItems(), working[i], snapshot[i],
                                    std::to_string(i + 1), commands, overNetwork);
    return commands;
}

int WriteShortNumbers(const AreaContext& context) {
    return context.sendAll(
        shortNumberCommands(shortNumbers.working, shortNumbers.snapshot, context.networkMode != 0));
}

}  // namespace kx
