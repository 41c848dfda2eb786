#include "app/program/AllAreas.h"

#include "analog/AnalogMenuDlg.h"
#include "analog/AnalogSettings.h"
#include "app/AreaRegistry.h"
#include "app/SettingsDocument.h"
#include "arrive/ArriveMenuDlg.h"
#include "arrive/ArriveSettings.h"
#include "cli/Session.h"
#include "digital/DigitalMenuDlg.h"
#include "digital/DigitalSettings.h"
#include "res/ShellIds.h"
#include "router/DialupDlg.h"
#include "router/PnaMenuDlg.h"
#include "router/RouterSettings.h"
#include "shortnum/ShortNumberDlg.h"
#include "shortnum/ShortNumbers.h"

namespace kx {

namespace {

// A menu area: the menu writes each confirmed dialog itself.
template <class Menu>
AreaHandlers menuArea(int (*read)(const AreaContext&)) {
    AreaHandlers area;
    area.kind = AreaHandlers::Kind::Menu;
    area.read = read;
    area.run = [](ui::Dialog&, AreaContext& context) { return Menu(context).DoModal(); };
    return area;
}

// A direct area: the main window writes it after its dialog ended with OK.
template <class Dlg>
AreaHandlers directArea(int (*read)(const AreaContext&), int (*write)(const AreaContext&)) {
    AreaHandlers area;
    area.kind = AreaHandlers::Kind::Direct;
    area.read = read;
    area.run = [](ui::Dialog&, AreaContext&) { return Dlg().DoModal(); };
    area.write = write;
    return area;
}

}  // namespace

void registerAllAreas() {
    registerArea(IDC_MAIN_ANALOG, menuArea<CAnalogMenuDlg>(ReadAnalogSettings));
    registerArea(IDC_MAIN_DIGITAL, menuArea<CDigitalMenuDlg>(ReadDigitalSettings));
    registerArea(IDC_MAIN_ARRIVE, menuArea<CArriveMenuDlg>(ReadArriveSettings));
    registerArea(IDC_MAIN_SHORTNUM,
                 directArea<CShortNumberDlg>(ReadShortNumbers, WriteShortNumbers));
    registerArea(IDC_MAIN_PNA_MENU, menuArea<CPnaMenuDlg>(RouterReader));
    registerArea(IDC_MAIN_PNA_EASY, directArea<CPnaEasyDlg>(EasySetupReader, EasySetupWriter));
    setSettingsDocument(cli::copiesDocument);
}

void resetAreaRecords() {
    analogSettings.reset();
    digitalSettings.reset();
    arriveSettings.reset();
    shortNumbers.reset();
    routerSettings.reset();
    resetCounters = false;
}

}  // namespace kx
