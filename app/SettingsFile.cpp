// The main window's "設定の保存..." (every area of this adapter read once, then written as the
// settings document kxctl backup writes), "設定の復元..." (a document checked, previewed and
// written as kxctl restore writes it) and the pre-change history of a run.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/DocumentFile.h"
#include "app/MainDlg.h"
#include "app/Profile.h"
#include "app/SettingsDocument.h"
#include "app/services/AppState.h"
#include "app/services/StatusLine.h"
#include "app/services/WaitDlg.h"
#include "link/Sjis.h"
#include "res/ShellIds.h"
#include "res/Templates.h"
#include "ui/Dialog.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

namespace kx {

namespace {

// The area a main-window command reads whole, or nullopt. The easy setup reads only a part of
// the first dial-up profile: a document of its area would hold items never read.
std::optional<DocumentArea> documentArea(int command) {
    if (!settingsDocuments().areas)
        return std::nullopt;
    for (DocumentArea& area : settingsDocuments().areas(true))
        if (area.command == command)
            return area;
    return std::nullopt;
}

// The header of a document the program writes.
std::vector<std::string> documentHeader(const std::string& title, const LocalTime& now) {
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d %02d:%02d:%02d", now.year, now.month, now.day,
                  now.hour, now.minute, now.second);
    return {"KESTRELX settings document (" + title + ")", "device: " + SjisToUtf8(deviceName),
            "firmware: " + SjisToUtf8(firmwareVersionText), std::string("date: ") + date};
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? std::string(home) : StartupDirectory();
}

// The last line of every message of a restore that stopped before anything was sent.
constexpr const char* kNotRestored = "\r\n設定は復元していません。";

// "ファイル名:行: 理由" for a reason that begins with its line number, else "ファイル名: 理由".
std::string fileMessage(const std::string& name, const std::string& reason) {
    const bool numbered = !reason.empty() && std::isdigit(static_cast<unsigned char>(reason[0]));
    return name + (numbered ? ":" : ": ") + reason;
}

// What the wait window says while the i-th of `areas` is read.
std::string readingText(const std::vector<DocumentArea>& areas, std::size_t i) {
    const std::size_t left = areas.size() - i - 1;
    return areas[i].title + "を読み込んでいます" +
           (left == 0 ? std::string() : "（残り" + std::to_string(left) + "）");
}

// The title of the area whose read failed (none when the failure came before any area).
std::string failedTitle(const std::vector<DocumentArea>& areas, std::size_t failed) {
    return failed < areas.size() ? areas[failed].title : std::string();
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

std::string baseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A value in the preview; an empty one is said, not left blank.
std::string shownValue(const std::string& value) {
    return value.empty() ? "（なし）" : value;
}

// "設定の復元": the lines of what would change; "復元" (IDOK) or "戻る" (IDCANCEL).
class RestorePreviewDlg : public ui::Dialog {
public:
    RestorePreviewDlg(std::vector<std::string> lines, std::string note)
        : Dialog(res::dialogTemplate(IDD_RESTORE)),
          lines_(std::move(lines)),
          note_(std::move(note)) {}

protected:
    bool OnInitDialog() override {
        Dialog::OnInitDialog();
        std::string text;
        for (const std::string& line : lines_) text += (text.empty() ? "" : "\r\n") + line;
        SetDlgItemTextUtf8(IDC_RESTORE_LIST, text);
        SetDlgItemTextUtf8(IDC_RESTORE_NOTE, note_);
        return true;
    }
    void OnHelp() override {}

private:
    std::vector<std::string> lines_;
    std::string note_;
};

}  // namespace

void CMainDlg::restoreSettings() {
    if (busy_ || closing_ || connectionState_ == ConnectionState::NoLink)
        return;
    const SettingsDocuments& documents = settingsDocuments();
    if (!documents.areas || !documents.restore)
        return;
    lastRestorePreview().clear();
    if (networkMode != 0 && connectionState_ != ConnectionState::LoggedIn) {
        statusLine().show("設定を復元できませんでした（ログインが済んでいません）");
        return;
    }
    ui::FileRequest request;
    request.mode = ui::FileMode::Open;
    request.caption = "設定の復元";
    // with no folder chosen in this run, the chooser opens where the history is
    if (!documentFolder_.empty()) {
        request.folder = documentFolder_;
    } else {
        struct stat info {};
        const std::string history = historyFolder();
        request.folder =
            ::stat(history.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? history : homeFolder();
    }
    const std::optional<std::string> path = ui::ChooseFile(request);
    if (!path)
        return;
    const std::string name = baseName(*path);

    std::string text;
    if (const int error = readDocumentFile(*path, text); error != 0) {
        showStop(*path + " を読み込めませんでした（" + std::strerror(error) + "）。");
        return;
    }
    if (text.size() > kLargestDocument) {
        showStop(name + ": 設定ファイルではありません（1 MiB を超えています）");
        return;
    }
    std::string error;
    std::unique_ptr<DocumentRestore> restore = documents.restore(text, error);
    if (!restore) {
        showStop(fileMessage(name, error) + kNotRestored);
        return;
    }
    // the areas the document names, as the main window shows them; one this adapter lacks
    // (the router's, without the router commands) cannot be restored here
    std::vector<DocumentArea> areas;
    for (const std::string& wanted : restore->areas()) {
        bool found = false;
        for (const DocumentArea& area : documents.areas(router_))
            if (area.name == wanted) {
                areas.push_back(area);
                found = true;
            }
        if (!found) {
            showStop(name + ": " + wanted + " の設定はこの機器では使用できません");
            return;
        }
    }

    beginBusy();
    AreaContext context = areaContext();
    std::size_t failed = 0;
    bool read = false;
    {
        EnableWindow(false);
        WaitWindow wait(this);
        read = restore->read(
            context,
            [&](std::size_t i) {
                wait.setText(readingText(areas, i));
                context.lastFailure = ExchangeOutcome::Ok;
            },
            failed);
        EnableWindow(true);
    }
    if (!read) {
        endBusy();
        showStop(readFailedText(failedTitle(areas, failed), context.lastFailure) + "。" +
                 kNotRestored);
        return;
    }
    if (std::optional<std::string> refused = restore->check(networkMode != 0)) {
        endBusy();
        showStop(fileMessage(name, *refused) + kNotRestored);
        return;
    }
    if (restore->changes().empty()) {
        endBusy();
        ui::MessageBox(name + " の設定は機器の設定と同じです。変更する項目はありません。",
                       windowTitle);
        return;
    }

    std::vector<std::string>& lines = lastRestorePreview();
    // an item the network link cannot write is listed with the others, marked
    for (const RestoreChange& change : restore->changes())
        lines.push_back(change.label + "：" + shownValue(change.adapter) + " → " +
                        shownValue(change.document) +
                        (change.skipped ? "（ネットワーク接続では書き込みません）" : ""));
    std::string note;
    const std::vector<RestoreChange>& changes = restore->changes();
    if (std::any_of(changes.begin(), changes.end(),
                    [](const RestoreChange& change) { return change.skipped; }))
        note = "（ネットワーク接続では書き込みません）の項目は送信しません。";
    if (restore->addressChanges())
        note += std::string(note.empty() ? "" : "\r\n") +
                "ルーターのIPアドレスが変わります。機器は新しいアドレスで再起動し、"
                "設定ユーティリティは終了します。";
    RestorePreviewDlg preview(lines, note);
    if (preview.DoModal() != IDOK) {
        endBusy();
        SetActiveWindow();
        return;
    }

    // what the adapter held goes into the history first; the restore goes on without it
    {
        const std::string before =
            restore->snapshot(documentHeader("before a restore in kestrelx-setup", now()));
        std::string historyError;
        if (saveHistory(before, SjisToUtf8(deviceName), historyError).empty())
            historyFailure_ = "変更前の設定を履歴に保存できませんでした（" + historyError + "）";
    }
    std::size_t sent = 0;
    std::string failedCommand;
    addressChanged = false;
    context.lastFailure = ExchangeOutcome::Ok;
    bool written = false;
    {
        EnableWindow(false);
        WaitWindow wait(this);
        wait.setText(name + " の設定を書き込んでいます");
        written = restore->write(context, sent, failedCommand);
        EnableWindow(true);
    }
    SetActiveWindow();
    if (!written) {
        // like kxctl restore: what was taken before the failure is not stored to flash
        endBusy();
        showStop("「" + failedCommand + "」で設定の復元に失敗しました。\r\nそれまでに" +
                 std::to_string(sent) +
                 "件のコマンドを送信しました（フラッシュには保存していません）。");
        return;
    }
    if (addressChanged) {
        // the adapter restarts with its new address, as after the HomePNA menu: the run ends
        // without "fromwr 15" and "exit"
        changeCount = 0;
        closePending_ = true;
    } else {
        ++changeCount;
    }
    statusLine().show(historyFailure_.empty() ? "設定を " + *path + " から復元しました"
                                              : historyFailure_);
    documentFolder_ = folderOf(*path);
    endBusy();
}

void CMainDlg::saveSettings() {
    if (busy_ || closing_ || connectionState_ == ConnectionState::NoLink)
        return;
    const SettingsDocuments& documents = settingsDocuments();
    if (!documents.areas || !documents.read)
        return;
    if (networkMode != 0 && connectionState_ != ConnectionState::LoggedIn) {
        statusLine().show("設定を保存できませんでした（ログインが済んでいません）");
        return;
    }
    const std::vector<DocumentArea> areas = documents.areas(router_);
    const LocalTime today = now();
    char name[32];
    std::snprintf(name, sizeof name, "KESTRELX-%04d%02d%02d.txt", today.year, today.month,
                  today.day);
    ui::FileRequest request;
    request.mode = ui::FileMode::Save;
    request.caption = "設定の保存";
    request.folder = documentFolder_.empty() ? homeFolder() : documentFolder_;
    request.defaultName = name;
    const std::optional<std::string> path = ui::ChooseFile(request);
    if (!path)
        return;

    beginBusy();
    AreaContext context = areaContext();
    std::vector<std::string> names;
    for (const DocumentArea& area : areas) names.push_back(area.name);
    std::size_t failed = 0;
    std::optional<std::string> text;
    {
        EnableWindow(false);
        WaitWindow wait(this);
        text = documents.read(
            context, names, documentHeader("kestrelx-setup", today),
            [&](std::size_t i) {
                wait.setText(readingText(areas, i));
                context.lastFailure = ExchangeOutcome::Ok;
            },
            failed);
        EnableWindow(true);
    }
    if (!text) {
        endBusy();
        showStop(readFailedText(failedTitle(areas, failed), context.lastFailure) +
                 "。\r\n設定は保存していません。");
        return;
    }
    const int error = writeDocumentFile(*path, *text);
    endBusy();
    if (error != 0) {
        showStop(*path + " に保存できませんでした（" + std::strerror(error) + "）。");
        return;
    }
    documentFolder_ = folderOf(*path);
    statusLine().show("設定を " + *path + " に保存しました");
}

void CMainDlg::noteAreaRead(int command, bool complete) {
    if (const std::optional<DocumentArea> area = documentArea(command))
        readAreas_[area->name] = complete;
}

void CMainDlg::saveBeforeWrite(int command) {
    const std::optional<DocumentArea> area = documentArea(command);
    const SettingsDocuments& documents = settingsDocuments();
    if (!area || !documents.copies || !readAreas_.contains(area->name))
        return;
    for (const std::string& saved : historyAreas_)
        if (saved == area->name)
            return;
    historyAreas_.push_back(area->name);
    // an area whose reader missed an item's label is left out: its record holds no value for
    // it, and a restore of the history would send one
    if (!readAreas_[area->name]) {
        historyFailure_ = area->title +
                          "の一部の項目を機器が報告しなかったため、変更前の設定を履歴に保存して"
                          "いません";
        statusLine().show(historyFailure_);
        return;
    }
    std::vector<std::string> names;
    for (const DocumentArea& each : documents.areas(true))
        for (const std::string& saved : historyAreas_)
            if (saved == each.name && readAreas_[saved])
                names.push_back(each.name);
    const std::string text =
        documents.copies(names, documentHeader("before a change in kestrelx-setup", now()));
    std::string error;
    if (historyPath_.empty())
        historyPath_ = saveHistory(text, SjisToUtf8(deviceName), error);
    else if (!replaceHistory(historyPath_, text, error))
        historyPath_.clear();
    // the change goes on: the history is a help, never a condition
    if (!error.empty()) {
        historyFailure_ = "変更前の設定を履歴に保存できませんでした（" + error + "）";
        statusLine().show(historyFailure_);
    }
}

void CMainDlg::saveBeforeInitialise() {
    const SettingsDocuments& documents = settingsDocuments();
    if (!documents.copies || readAreas_.empty())
        return;
    std::vector<std::string> names;
    for (const DocumentArea& area : documents.areas(true))
        if (auto found = readAreas_.find(area.name); found != readAreas_.end() && found->second)
            names.push_back(area.name);
    if (names.empty())
        return;
    const std::string text = documents.copies(
        names, documentHeader("before the factory initialisation in kestrelx-setup", now()));
    std::string error;
    if (saveHistory(text, SjisToUtf8(deviceName), error).empty()) {
        historyFailure_ = "初期化前の設定を履歴に保存できませんでした（" + error + "）";
        statusLine().show(historyFailure_);
    }
}

}  // namespace kx
