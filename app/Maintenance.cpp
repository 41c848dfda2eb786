// The main window's maintenance commands: factory initialisation, the date and time
// registration and the version information.
#include "app/MainDlg.h"
#include "app/ShellTimings.h"
#include "app/VersionDlg.h"
#include "app/services/AppState.h"
#include "link/Sjis.h"
#include "link/TerminatorSearch.h"
#include "ui/MessageBox.h"

namespace kx {

namespace {

bool confirm(const std::string& text) {
    return ui::MessageBox(text, windowTitle, ui::MsgButtons::OkCancel, ui::MsgIcon::Question) ==
           ui::IDOK;
}

}  // namespace

void CMainDlg::factoryInitialise() {
    if (networkMode != 0 || busy_ || closing_)
        return;
    std::string name = SjisToUtf8(deviceName);
    if (!confirm("工場出荷時へ初期化します。\r\n初期化後、" + name +
                 "をリブートし設定ユーティリティを終了します。\r\nよろしいですか？"))
        return;
    // what was read in this run goes into the history first: nothing more is read for it
    saveBeforeInitialise();
    // the window stays disabled while the exchange waits, so no second exchange can start
    beginBusy();
    EnableWindow(false);
    int ok = exchange("restart\r", shellTimings().commandTimeoutMs, kTerminatorPrompt);
    EnableWindow(true);
    endBusy();
    if (ok == 1) {
        LogLine("init ok\r\n");
        // the adapter reboots: the close sends no "exit\r". Its settings are now the factory
        // ones, so changes confirmed earlier are gone and "fromwr 15\r" would only reach an
        // adapter that is restarting (or put the old settings back over the factory ones)
        addressChanged = true;
        changeCount = 0;
        PostClose();
    } else {
        showStop("初期化に失敗しました。");
    }
}

void CMainDlg::registerDateTime() {
    if (networkMode != 0 || busy_ || closing_)
        return;
    if (!confirm("パソコンから日時を取得し" + SjisToUtf8(deviceName) +
                 "へ登録します。\r\nよろしいですか？"))
        return;
    auto commands = dateTimeCommands(now());
    const int timeout = shellTimings().commandTimeoutMs;
    beginBusy();
    EnableWindow(false);
    // the registration reports nothing; a failed step skips the ones after it
    if (exchange(commands[0], timeout, kTerminatorPrompt) == 1 &&
        exchange(commands[1], timeout, kTerminatorPrompt) == 1)
        (void)exchange(commands[2], timeout, kTerminatorPrompt);
    EnableWindow(true);
    endBusy();
}

void CMainDlg::showVersion() {
    CVersionDlg dlg(firmwareVersionText);
    dlg.DoModal();
}

}  // namespace kx
