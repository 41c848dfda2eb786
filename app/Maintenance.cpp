// The main window's maintenance commands: factory initialisation, the date and time
// registration and the version information.
#include "app/AppState.h"
#include "app/MainDlg.h"
#include "app/ShellTimings.h"
#include "app/VersionDlg.h"
#include "link/Sjis.h"
#include "link/TerminatorSearch.h"
#include "ui/MessageBox.h"

namespace kx {

namespace {

// Keeps the main window disabled while a maintenance exchange waits, so that no second
// exchange can start from a click dispatched inside the wait.
class Busy {
public:
    Busy(ui::Dialog& window, bool& busy) : window_(window), busy_(busy)
    {
        busy_ = true;
        window_.EnableWindow(false);
    }
    ~Busy()
    {
        window_.EnableWindow(true);
        busy_ = false;
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    ui::Dialog& window_;
    bool& busy_;
};

bool confirm(const std::string& text)
{
    return ui::MessageBox(text, windowTitle, ui::MsgButtons::OkCancel, ui::MsgIcon::Question) == ui::IDOK;
}

}  // namespace

void CMainDlg::factoryInitialise()
{
    if (networkMode != 0 || busy_ || closing_) return;
    std::string name = SjisToUtf8(deviceName);
    if (!confirm("工場出荷時へ初期化します。\r\n初期化後、" + name +
                 "をリブートし設定ユーティリティを終了します。\r\nよろしいですか？"))
        return;
    int ok;
    {
        Busy busy(*this, busy_);
        ok = exchange("restart\r", shellTimings().commandTimeoutMs, kTerminatorPrompt);
    }
    if (ok == 1) {
        LogLine("init ok\r\n");
        // the adapter reboots: the close sends no "exit\r"
        addressChanged = true;
        PostClose();
    } else {
        showStop("初期化に失敗しました。");
    }
}

void CMainDlg::registerDateTime()
{
    if (networkMode != 0 || busy_ || closing_) return;
    if (!confirm("パソコンから日時を取得し" + SjisToUtf8(deviceName) + "へ登録します。\r\nよろしいですか？")) return;
    Busy busy(*this, busy_);
    auto commands = dateTimeCommands(config_.clock ? config_.clock() : systemLocalTime());
    const int timeout = shellTimings().commandTimeoutMs;
    // the registration reports nothing; a failed step skips the ones after it
    if (exchange(commands[0], timeout, kTerminatorPrompt) != 1) return;
    if (exchange(commands[1], timeout, kTerminatorPrompt) != 1) return;
    (void)exchange(commands[2], timeout, kTerminatorPrompt);
}

void CMainDlg::showVersion()
{
    CVersionDlg dlg(firmwareVersionText);
    dlg.DoModal();
}

}  // namespace kx
