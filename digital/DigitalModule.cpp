#include "digital/DigitalModule.h"

#include "digital/DigitalMenuDlg.h"
#include "digital/DigitalSettings.h"
#include "res/ShellIds.h"

namespace kx {

namespace {

using area::AreaRecord;
using Record = DigitalSettings;

std::vector<std::string> commands(const AreaRecord& working, const AreaRecord& snapshot,
                                  int section, bool) {
    return digitalCommands(working.as<Record>(), snapshot.as<Record>(), section);
}

// The HomePNA block belongs to the router module, which reads and writes it.
std::vector<area::ItemField> fields() {
    std::vector<area::ItemField> out;
    area::addItemFields<Record, DigitalPortSettings>(
        out, "digital.data", digitalPortItems(),
        [](Record& r) -> DigitalPortSettings& { return r.data; }, "ＤＡＴＡポート");
    area::addItemFields<Record, DigitalPortSettings>(
        out, "digital.usb", digitalPortItems(),
        [](Record& r) -> DigitalPortSettings& { return r.usb; }, "ＵＳＢポート");
    for (auto items : {digitalCommonItems(), throughputBodItems(), bacpBapItems()})
        area::addItemFields<Record, Record>(
            out, "digital", items, area::whole<Record>,
            items.data() == digitalCommonItems().data() ? "デジタル共通" : "デジタル", nullptr,
            items.data() == bacpBapItems().data());
    return out;
}

}  // namespace

const area::AreaModule& digitalModule() {
    static const area::AreaModule module{
        .name = "digital",
        .entries = {{.command = IDC_MAIN_DIGITAL,
                     .texts = {"Digital", "デジタル設定", "Digital Status Read OK\r\n",
                               "View Digital Dlg\r\n", "Digital Status Read ERROR\r\n", "", ""},
                     .read = ReadDigitalSettings,
                     .run = [](AreaContext& c) { return CDigitalMenuDlg(c).DoModal(); }}},
        .blank = area::blankOf<Record>,
        .read = [](const AreaContext& c,
                   AreaRecord& snapshot) { return readDigitalSettings(c, snapshot.as<Record>()); },
        .sections = {kDigitalDataArea, kDigitalUsbArea, kDigitalCommonArea, kDigitalBodArea,
                     kDigitalBacpBapArea},
        .commands = commands,
        .write = [](const AreaContext& c, const AreaRecord& working, const AreaRecord& snapshot,
                    int section) { return c.sendAll(commands(working, snapshot, section, false)); },
        .snapshot = area::snapshotOf<digitalSettings>,
        .working = area::workingOf<digitalSettings>,
        .adopt =
            [](const AreaRecord& snapshot) {
                // the HomePNA block is the router module's
                const DigitalPortSettings pna = digitalSettings.snapshot.pna;
                digitalSettings.snapshot = snapshot.as<Record>();
                digitalSettings.snapshot.pna = pna;
                digitalSettings.readDone();
            },
        .reset = [] { digitalSettings.reset(); },
        .fields = fields,
    };
    return module;
}

}  // namespace kx
