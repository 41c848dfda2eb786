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
        statusLine().show(readFailedText(texts->title, ExchangeOutcome::Ok) +
                          "（ログインが済んでいません）");
        return;
    }
    beginBusy();
    AreaContext context = areaContext();
    std::vector<const void*> missing;
    context.missingLabel = [&missing](const void* member) { missing.push_back(member); };
    int readResult = withWaitWindow(*this, [&] { return area->read(context); });
    context.missingLabel = nullptr;
    if (readResult != 1) {
        LogLine(texts->readError);
        statusLine().show(readFailedText(texts->title, context.lastFailure));
        endBusy();
        return;
    }
    noteAreaRead(command, missing.empty());
    // before the area's first write in this run, what the adapter held goes into the history
    context.beforeWrite = [this, command] { saveBeforeWrite(command); };
    statusLine().clear();
    LogLine(texts->readOk);
    LogLine(texts->view);
    int result = area->run(*this, context);

    if (area->kind == AreaHandlers::Kind::Menu) {
        // the router writer restarts the adapter after its address changed: the run ends
        if (addressChanged)
            closePending_ = true;
    } else if (result == IDOK && area->write) {
        context.lastFailure = ExchangeOutcome::Ok;
        int written = withWaitWindow(*this, [&] { return area->write(context); });
        LogLine(written == 1 ? texts->writeOk : texts->writeError);
        if (written == 1)
            statusLine().clear();
        else
            statusLine().show(writeFailedText(texts->title, context.lastFailure));
        SetActiveWindow();
    }
    if (!historyFailure_.empty() && statusLine().text().empty())
        statusLine().show(historyFailure_);
    endBusy();
}

}  // namespace kx
