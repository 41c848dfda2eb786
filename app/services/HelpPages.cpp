#include "app/services/HelpPages.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace kx {

namespace {
HelpViewer* gViewer = nullptr;
std::string gLastPage;
constexpr int kClassicHelpContext = 1;  // the router dialogs' help
}  // namespace

std::vector<std::string>& helpSearchDirectories() {
    static std::vector<std::string> dirs;
    return dirs;
}

void initHelpSearchDirectories() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return;
    std::filesystem::path dir = exe.parent_path();
    auto& dirs = helpSearchDirectories();
    dirs.push_back((dir / "help").string());
    dirs.push_back((dir.parent_path() / "share" / "kestrelx" / "help").string());
}

std::string helpPageName(int context) {
    return context == kClassicHelpContext ? "router.html" : std::to_string(context) + ".html";
}

std::string findHelpPage(int context) {
    std::string name = helpPageName(context);
    for (const std::string& dir : helpSearchDirectories()) {
        std::error_code ec;
        std::filesystem::path page = std::filesystem::path(dir) / name;
        if (std::filesystem::is_regular_file(page, ec))
            return page.string();
    }
    return {};
}

void setHelpViewer(HelpViewer* viewer) {
    gViewer = viewer;
}
HelpViewer* helpViewer() {
    return gViewer;
}
const std::string& lastHelpPage() {
    return gLastPage;
}
void setLastHelpPage(std::string page) {
    gLastPage = std::move(page);
}

}  // namespace kx
