// The one cycle every settings area follows: read with the wait window up, log, run the area's
// dialog, and for the direct areas write what the dialog edited. A read or a direct write
// that fails is told in the status line as well as the log; the next success clears the line.
#include "app/AreaRegistry.h"
#include "app/MainDlg.h"
#include "app/services/AppState.h"
#include "app/services/StatusLine.h"
#include "app/services/WaitDlg.h"
#include "res/ShellIds.h"
#include "ui/MessageBox.h"

namespace kx {

namespace {

// The area of a main-window command as the status line names it.
const char* areaName(int command) {
    switch (command) {
        case IDC_MAIN_ANALOG:
            return "アナログ設定";
        case IDC_MAIN_DIGITAL:
            return "デジタル設定";
        case IDC_MAIN_ARRIVE:
            return "着信制御設定";
        case IDC_MAIN_SHORTNUM:
            return "短縮番号設定";
        case IDC_MAIN_PNA_EASY:
            return "HomePNA簡単設定";
        case IDC_MAIN_PNA_MENU:
            return "HomePNA詳細設定";
        default:
            return "";
    }
}

}  // namespace

void CMainDlg::runArea(int command) {
    const AreaLogTexts* texts = areaLogTexts(command);
    if (!texts || busy_ || closing_)
        return;
    const AreaHandlers* area = findArea(command);
    if (!area || !area->read || !area->run) {
        LogLine(std::string(texts->name) + " settings are not available in this version\r\n");
        ui::MessageBox("この設定は、このバージョンではまだ使用できません。", windowTitle);
        return;
    }
    // over the network nothing can be read before the administrator login has completed
    if (networkMode != 0 && connectionState_ != ConnectionState::LoggedIn) {
        LogLine(texts->readError);
        statusLine().show(readFailedText(areaName(command), ExchangeOutcome::Ok) +
                          "（ログインが済んでいません）");
        return;
    }
    beginBusy();
    AreaContext context = areaContext();
    int readResult = withWaitWindow(*this, [&] { return area->read(context); });
    if (readResult != 1) {
        LogLine(texts->readError);
        statusLine().show(readFailedText(areaName(command), context.lastFailure));
        endBusy();
        return;
    }
    statusLine().clear();
    LogLine(texts->readOk);
    LogLine(texts->view);
    int result = area->run(*this, context);

    if (area->kind == AreaHandlers::Kind::Menu) {
        // the router writer restarts the adapter after its address changed: the run ends
        if (command == IDC_MAIN_PNA_MENU && addressChanged)
            closePending_ = true;
    } else if (result == IDOK && area->write) {
        context.lastFailure = ExchangeOutcome::Ok;
        int written = withWaitWindow(*this, [&] { return area->write(context); });
        LogLine(written == 1 ? texts->writeOk : texts->writeError);
        if (written == 1)
            statusLine().clear();
        else
            statusLine().show(writeFailedText(areaName(command), context.lastFailure));
        SetActiveWindow();
    }
    endBusy();
}

}  // namespace kx
