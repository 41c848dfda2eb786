// The main window's "設定の保存..." (every area of this adapter read once, then written as the
// settings document kxctl backup writes) and the pre-change history of a run.
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

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace

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
    const LocalTime now = config_.clock ? config_.clock() : systemLocalTime();
    char name[32];
    std::snprintf(name, sizeof name, "KESTRELX-%04d%02d%02d.txt", now.year, now.month, now.day);
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
            context, names, documentHeader("kestrelx-setup", now),
            [&](std::size_t i) {
                const std::size_t left = areas.size() - i - 1;
                wait.setText(areas[i].title + "を読み込んでいます" +
                             (left == 0 ? std::string() : "（残り" + std::to_string(left) + "）"));
                context.lastFailure = ExchangeOutcome::Ok;
            },
            failed);
        EnableWindow(true);
    }
    if (!text) {
        endBusy();
        showStop(readFailedText(failed < areas.size() ? areas[failed].title : std::string(),
                                context.lastFailure) +
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
    const std::string text = documents.copies(
        names, documentHeader("before a change in kestrelx-setup",
                              config_.clock ? config_.clock() : systemLocalTime()));
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
        names, documentHeader("before the factory initialisation in kestrelx-setup",
                              config_.clock ? config_.clock() : systemLocalTime()));
    std::string error;
    if (saveHistory(text, SjisToUtf8(deviceName), error).empty()) {
        historyFailure_ = "初期化前の設定を履歴に保存できませんでした（" + error + "）";
        statusLine().show(historyFailure_);
    }
}

}  // namespace kx
