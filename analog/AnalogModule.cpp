#include "analog/AnalogModule.h"

#include "analog/AnalogMenuDlg.h"
#include "analog/AnalogSettings.h"
#include "res/ShellIds.h"

namespace kx {

namespace {

using area::AreaRecord;
using Record = AnalogSettings;

std::vector<std::string> commands(const AreaRecord& working, const AreaRecord& snapshot,
                                  int section, bool) {
    return analogCommands(working.as<Record>(), snapshot.as<Record>(), section);
}

std::vector<area::ItemField> fields() {
    static constexpr std::string_view kPortCaptions[] = {"ＴＥＬ１", "ＴＥＬ２", "ＴＥＬ３"};
    std::vector<area::ItemField> out;
    for (std::size_t port = 0; port < kTelPortWords.size(); ++port)
        area::addItemFields<Record, TelPortSettings>(
            out, "analog." + std::string(kTelPortWords[port]), telPortItems(),
            [port](Record& r) -> TelPortSettings& { return r.tel[port]; }, kPortCaptions[port]);
    area::addItemFields<Record, Record>(out, "analog", analogCommonItems(), area::whole<Record>,
                                        "アナログ共通");
    return out;
}

}  // namespace

const area::AreaModule& analogModule() {
    static const area::AreaModule module{
        .name = "analog",
        .entries = {{.command = IDC_MAIN_ANALOG,
                     .texts = {"Analog", "アナログ設定", "Analog Status Read OK\r\n",
                               "View Analog Dlg\r\n", "Analog Status Read ERROR\r\n", "", ""},
                     .read = ReadAnalogSettings,
                     .run = [](AreaContext& c) { return CAnalogMenuDlg(c).DoModal(); }}},
        .blank = area::blankOf<Record>,
        .read = [](const AreaContext& c,
                   AreaRecord& snapshot) { return readAnalogSettings(c, snapshot.as<Record>()); },
        .sections = {0, 1, 2, kAnalogCommonArea},
        .commands = commands,
        .write = [](const AreaContext& c, const AreaRecord& working, const AreaRecord& snapshot,
                    int section) { return c.sendAll(commands(working, snapshot, section, false)); },
        .snapshot = area::snapshotOf<analogSettings>,
        .working = area::workingOf<analogSettings>,
        .adopt = area::adoptInto<analogSettings>,
        .reset = [] { analogSettings.reset(); },
        .fields = fields,
    };
    return module;
}

}  // namespace kx
