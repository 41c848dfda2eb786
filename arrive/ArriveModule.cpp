#include "arrive/ArriveModule.h"

#include "arrive/ArriveMenuDlg.h"
#include "arrive/ArriveSettings.h"
#include "res/ShellIds.h"

namespace kx {

namespace {

using area::AreaRecord;
using Record = ArriveSettings;

std::vector<std::string> commands(const AreaRecord& working, const AreaRecord& snapshot,
                                  int section, bool overNetwork) {
    return arriveCommands(working.as<Record>(), snapshot.as<Record>(), section, overNetwork);
}

std::vector<area::ItemField> fields() {
    std::vector<area::ItemField> out;
    area::addItemFields<Record, Record>(out, "arrive", arriveStandardItems(), area::whole<Record>,
                                        "着信制御");
    for (std::size_t i = 0; i < kArriveEntryCount; ++i)
        area::addItemFields<Record, ArriveEntry>(
            out, "arrive.entry" + std::to_string(i + 1), arriveEntryItems(),
            [i](Record& r) -> ArriveEntry& { return r.entries[i]; },
            "電話番号別 " + std::to_string(i + 1));
    return out;
}

}  // namespace

const area::AreaModule& arriveModule() {
    static const area::AreaModule module{
        .name = "arrive",
        .entries = {{.command = IDC_MAIN_ARRIVE,
                     .texts = {"Arrive Control", "着信制御設定",
                               "Arrive Control Status Read OK\r\n", "View Arrive Control Dlg\r\n",
                               "Arrive Control Status Read ERROR\r\n", "", ""},
                     .read = ReadArriveSettings,
                     .run = [](AreaContext& c) { return CArriveMenuDlg(c).DoModal(); }}},
        .blank = area::blankOf<Record>,
        .read = [](const AreaContext& c,
                   AreaRecord& snapshot) { return readArriveSettings(c, snapshot.as<Record>()); },
        // the standard settings, entries 1-10, entries 11-20
        .sections = {kArriveStandardArea, 1, 2},
        .commands = commands,
        .write =
            [](const AreaContext& c, const AreaRecord& working, const AreaRecord& snapshot,
               int section) {
                return c.sendAll(commands(working, snapshot, section, c.networkMode != 0));
            },
        .snapshot = area::snapshotOf<arriveSettings>,
        .working = area::workingOf<arriveSettings>,
        .adopt = area::adoptInto<arriveSettings>,
        .reset = [] { arriveSettings.reset(); },
        .fields = fields,
    };
    return module;
}

}  // namespace kx
