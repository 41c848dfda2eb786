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
