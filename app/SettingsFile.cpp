// The main window's "設定の保存...": every area of this adapter read once, then written as the
// settings document kxctl backup writes.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/AppState.h"
#include "app/AreaRegistry.h"
#include "app/DocumentFile.h"
#include "app/MainDlg.h"
#include "app/Profile.h"
#include "app/SettingsDocument.h"
#include "app/StatusLine.h"
#include "app/WaitDlg.h"
#include "link/Sjis.h"
#include "res/ShellIds.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

namespace kx {

namespace {

// An area the document holds: the main-window command whose reader reads it, its name in the
// document and in the user's words.
struct DocumentArea {
    int command;
    const char* name;
    const char* shown;
};

constexpr DocumentArea kDocumentAreas[] = {
    {IDC_MAIN_ANALOG, "analog", "アナログ設定"},
    {IDC_MAIN_DIGITAL, "digital", "デジタル設定"},
    {IDC_MAIN_ARRIVE, "arrive", "着信制御設定"},
    {IDC_MAIN_SHORTNUM, "shortnum", "短縮番号設定"},
    {IDC_MAIN_PNA_MENU, "router", "HomePNA詳細設定"},
};

// The document name of the area a main-window command reads, or nullptr. The easy setup reads
// only a part of the first dial-up profile: a document of its area would hold items never read.
const DocumentArea* documentArea(int command) {
    for (const DocumentArea& area : kDocumentAreas)
        if (area.command == command)
            return &area;
    return nullptr;
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
    if (busy_ || closing_ || connectionState_ == 0)
        return;
    if (networkMode != 0 && connectionState_ < 2) {
        statusLine().show("設定を保存できませんでした（ログインが済んでいません）");
        return;
    }
    const SettingsDocumentFn& document = settingsDocument();
    std::vector<const DocumentArea*> areas;
    for (const DocumentArea& area : kDocumentAreas) {
        const AreaHandlers* handlers = findArea(area.command);
        if ((area.command != IDC_MAIN_PNA_MENU || router_) && handlers && handlers->read)
            areas.push_back(&area);
    }
    if (!document || areas.empty())
        return;

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
    std::vector<const void*> missing;
    context.missingLabel = [&missing](const void* member) { missing.push_back(member); };
    const DocumentArea* failed = nullptr;
    {
        EnableWindow(false);
        WaitWindow wait(this);
        for (std::size_t i = 0; i < areas.size() && !failed; ++i) {
            const std::size_t left = areas.size() - i - 1;
            wait.setText(std::string(areas[i]->shown) + "を読み込んでいます" +
                         (left == 0 ? std::string() : "（残り" + std::to_string(left) + "）"));
            context.lastFailure = ExchangeOutcome::Ok;
            if (findArea(areas[i]->command)->read(context) != 1)
                failed = areas[i];
        }
        EnableWindow(true);
    }
    if (failed) {
        endBusy();
        showStop(readFailedText(failed->shown, context.lastFailure) +
                 "。\r\n設定は保存していません。");
        return;
    }
    std::vector<std::string> names;
    for (const DocumentArea* area : areas) names.emplace_back(area->name);
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d %02d:%02d:%02d", now.year, now.month, now.day,
                  now.hour, now.minute, now.second);
    const std::string text = document(
        names,
        {"KESTRELX settings document (kestrelx-setup)", "device: " + SjisToUtf8(deviceName),
         "firmware: " + SjisToUtf8(firmwareVersionText), std::string("date: ") + date},
        missing);
    const int error = writeDocumentFile(*path, text);
    endBusy();
    if (error != 0) {
        showStop(*path + " に保存できませんでした（" + std::strerror(error) + "）。");
        return;
    }
    documentFolder_ = folderOf(*path);
    statusLine().show("設定を " + *path + " に保存しました");
}

}  // namespace kx

namespace kx {

void CMainDlg::noteAreaRead(int command, std::vector<const void*> missing) {
    if (const DocumentArea* area = documentArea(command))
        readAreas_[area->name] = std::move(missing);
}

void CMainDlg::saveBeforeWrite(int command) {
    const DocumentArea* area = documentArea(command);
    const SettingsDocumentFn& document = settingsDocument();
    if (!area || !document || !readAreas_.contains(area->name))
        return;
    for (const std::string& saved : historyAreas_)
        if (saved == area->name)
            return;
    historyAreas_.emplace_back(area->name);
    std::vector<std::string> names;
    std::vector<const void*> missing;
    for (const DocumentArea& each : kDocumentAreas)
        for (const std::string& saved : historyAreas_)
            if (saved == each.name) {
                names.emplace_back(each.name);
                const std::vector<const void*>& more = readAreas_[each.name];
                missing.insert(missing.end(), more.begin(), more.end());
            }
    const std::string text =
        document(names,
                 documentHeader("before a change in kestrelx-setup",
                                config_.clock ? config_.clock() : systemLocalTime()),
                 missing);
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
    const SettingsDocumentFn& document = settingsDocument();
    if (!document || readAreas_.empty())
        return;
    std::vector<std::string> names;
    std::vector<const void*> missing;
    for (const DocumentArea& area : kDocumentAreas)
        if (auto found = readAreas_.find(area.name); found != readAreas_.end()) {
            names.emplace_back(area.name);
            missing.insert(missing.end(), found->second.begin(), found->second.end());
        }
    const std::string text =
        document(names,
                 documentHeader("before the factory initialisation in kestrelx-setup",
                                config_.clock ? config_.clock() : systemLocalTime()),
                 missing);
    std::string error;
    if (saveHistory(text, SjisToUtf8(deviceName), error).empty()) {
        historyFailure_ = "初期化前の設定を履歴に保存できませんでした（" + error + "）";
        statusLine().show(historyFailure_);
    }
}

}  // namespace kx
