#include "app/MainDlg.h"

#include "app/AreaRegistry.h"
#include "app/Profile.h"
#include "app/ShellTimings.h"
#include "app/TemplatePatch.h"
#include "app/services/AppState.h"
#include "app/services/Help.h"
#include "app/services/StatusLine.h"
#include "link/Exchange.h"
#include "link/SerialLink.h"
#include "link/TerminatorSearch.h"
#include "res/ShellIds.h"
#include "res/Templates.h"
#include "ui/MessageBox.h"
#include "ui/MessageLoop.h"
#include "ui/TemplateBuilder.h"

namespace kx {

namespace {

CMainDlg* gInstance = nullptr;

// The router variant's window: buttons for the two HomePNA commands beside the short numbers,
// and the date and time registration in the "ﾌｧｲﾙ" menu.
const ui::Template& mainTemplate(bool router) {
    if (!router)
        return res::dialogTemplate(IDD_MAIN);
    static const ui::Template withRouter = [] {
        ui::Template t = res::dialogTemplate(IDD_MAIN);
        insertControlAfter(t, IDC_MAIN_SHORTNUM,
                           ui::tpl::button(IDC_MAIN_PNA_MENU, "ＨｏｍｅＰＮＡ詳細設定"));
        insertControlAfter(t, IDC_MAIN_SHORTNUM,
                           ui::tpl::button(IDC_MAIN_PNA_EASY, "ＨｏｍｅＰＮＡ簡単設定"));
        appendMenuItemBeside(t, ID_FILE_INIT, ui::tpl::menuItem("日時設定", ID_DATE_TIME));
        return t;
    }();
    return withRouter;
}

// "MODE"/"ROUTER" = 1 asks for the router controls; read before the window is made.
bool routerFromSettings() {
    return Profile(SettingsFilePath(StartupDirectory())).readInt("MODE", "ROUTER", 0) == 1;
}

}  // namespace

CMainDlg::CMainDlg(Config config)
    : Dialog(mainTemplate(config.router || routerFromSettings())),
      config_(std::move(config)),
      router_(config_.router || routerFromSettings()) {
    gInstance = this;
    // the link's own lines (a lost adapter) go to the log pane like every other
    SetLinkLogHandler([](std::string_view line) {
        if (gInstance)
            gInstance->LogLine(line);
    });
}

CMainDlg::~CMainDlg() {
    statusLine().detach(*this);
    SetLinkLogHandler(nullptr);
    if (gInstance == this)
        gInstance = nullptr;
    // whatever way the run ended, the port (or the connection) is released
    CloseSerialPort();
    if (config_.netClose)
        config_.netClose();
}

CMainDlg* CMainDlg::instance() {
    return gInstance;
}

void CMainDlg::LogLine(std::string_view text) {
    logText_.append(text);
    if (hasWindow()) {
        SetDlgItemText(IDC_MAIN_LOG, logText_);
        ++logLineCount_;
        // setting the text leaves the pane at the top; scroll down to the newest line
        LineScroll(IDC_MAIN_LOG, logLineCount_);
    } else {
        ++logLineCount_;
    }
    ui::noteLogLine(text);
}

AreaContext CMainDlg::areaContext() {
    AreaContext context(reply_);
    context.networkMode = networkMode;
    context.log = [this](std::string_view line) { LogLine(line); };
    context.timeoutMs = shellTimings().commandTimeoutMs;
    return context;
}

void CMainDlg::showStop(const std::string& text) {
    ui::MessageBox(text, windowTitle, ui::MsgButtons::Ok, ui::MsgIcon::Stop);
}

int CMainDlg::exchange(std::string_view command, int timeoutMs, int kind) {
    return SendCommand(command, reply_, timeoutMs, kind);
}

void CMainDlg::OnCommand(int id) {
    // the registered areas' buttons and commands
    if (findArea(id)) {
        runArea(id);
        return;
    }
    switch (id) {
        case IDC_MAIN_EXIT:
            PostClose();
            break;
        case ID_FILE_RESTORE:
            restoreSettings();
            break;
        case ID_FILE_SAVE:
            saveSettings();
            break;
        case ID_FILE_INIT:
            factoryInitialise();
            break;
        case ID_DATE_TIME:
            registerDateTime();
            break;
        case ID_HELP_CONTENTS:
            OnHelp();
            break;
        case ID_HELP_VERSION:
            showVersion();
            break;
        default:
            break;
    }
}

void CMainDlg::OnHelp() {
    ShowHelp(*this, kHelpMainWindow);
}

// There is no cancel button, and Escape does nothing; anything that still asks to cancel takes
// the close path.
void CMainDlg::OnCancel() {
    OnClose();
}

void CMainDlg::OnClose() {
    // a second request (the exit button pressed again while "exit\r" waits) finds it running
    if (closing_)
        return;
    if (busy_) {
        closePending_ = true;
        return;
    }
    closing_ = true;
    EnableWindow(false);
    closeSession();
    EndDialog(IDCANCEL);
}

void CMainDlg::beginBusy() {
    busy_ = true;
}

void CMainDlg::endBusy() {
    busy_ = false;
    if (closePending_) {
        closePending_ = false;
        PostClose();
    }
}

void CMainDlg::closeSession() {
    ui::killTimer(kLinkEventsTimer);
    const ShellTimings& t = shellTimings();
    if (connectionState_ != ConnectionState::NoLink) {
        if (networkMode) {
            // changes confirmed over the network are stored too; there is no "exit\r" to
            // send, the connection is reset instead
            if (changeCount != 0 &&
                exchange("fromwr 15\r", t.fromwrTimeoutMs, kTerminatorWriteOk) != 1)
                showStop("書込みに失敗しました。");
            if (config_.netClose)
                config_.netClose();
        } else {
            if (changeCount != 0 &&
                exchange("fromwr 15\r", t.fromwrTimeoutMs, kTerminatorWriteOk) != 1)
                showStop("書込みに失敗しました。");
            if (!addressChanged && exchange("exit\r", t.exitTimeoutMs, kTerminatorOk) != 1)
                showStop("正常に終了できませんでした。");
            addressChanged = false;
        }
    }
    // also after a failed probe, which leaves the port open with no session on it
    CloseSerialPort();
    connectionState_ = ConnectionState::NoLink;
}

}  // namespace kx
