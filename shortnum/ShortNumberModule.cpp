#include "shortnum/ShortNumberModule.h"

#include "res/ShellIds.h"
#include "shortnum/ShortNumberDlg.h"
#include "shortnum/ShortNumbers.h"

namespace kx {

namespace {

using area::AreaRecord;
using Record = ShortNumberTable;

// The table is written whole: one section.
std::vector<std::string> commands(const AreaRecord& working, const AreaRecord& snapshot, int,
                                  bool overNetwork) {
    return shortNumberCommands(working.as<Record>(), snapshot.as<Record>(), overNetwork);
}

std::vector<area::ItemField> fields() {
    std::vector<area::ItemField> out;
    for (std::size_t i = 0; i < kShortNumberCount; ++i)
        area::addItemFields<Record, ShortNumberEntry>(
            out, "shortnum." + std::to_string(i + 1), shortNumberItems(),
            [i](Record& r) -> ShortNumberEntry& { return r[i]; },
            "短縮番号 " + std::to_string(i + 1));
    return out;
}

}  // namespace

const area::AreaModule& shortNumberModule() {
    static const area::AreaModule module{
        .name = "shortnum",
        .entries = {{.command = IDC_MAIN_SHORTNUM,
                     .texts = {"Short Number", "短縮番号設定", "Short Number Status Read OK\r\n",
                               "View Short Number Dlg\r\n", "Short Number Status Read ERROR\r\n",
                               "Short Number Status Write OK\r\n",
                               "Short Number Status Write ERROR\r\n"},
                     .direct = true,
                     .read = ReadShortNumbers,
                     .run = [](AreaContext&) { return CShortNumberDlg().DoModal(); },
                     .write = WriteShortNumbers}},
        .blank = area::blankOf<Record>,
        .read = [](const AreaContext& c,
                   AreaRecord& snapshot) { return readShortNumbers(c, snapshot.as<Record>()); },
        .sections = {0},
        .commands = commands,
        .write =
            [](const AreaContext& c, const AreaRecord& working, const AreaRecord& snapshot,
               int section) {
                return c.sendAll(commands(working, snapshot, section, c.networkMode != 0));
            },
        .snapshot = area::snapshotOf<shortNumbers>,
        .working = area::workingOf<shortNumbers>,
        .adopt = area::adoptInto<shortNumbers>,
        .reset = [] { shortNumbers.reset(); },
        .fields = fields,
    };
    return module;
}

}  // namespace kx
