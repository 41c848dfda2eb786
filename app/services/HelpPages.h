#pragma once

#include <string>
#include <vector>

namespace kx {

// Where the help pages (res/help/<context>.html) are found: beside the program (help/, which
// the build copies there), then the installed share folder (../share/kestrelx/help). Tests and
// the program may put other folders first.
std::vector<std::string>& helpSearchDirectories();
// Fills helpSearchDirectories() from the running program's location.
void initHelpSearchDirectories();

// The page of a help context: "<context>.html" for the compiled-help contexts, "router.html"
// for context 1 of the classic help file. Empty when no search folder holds it.
std::string findHelpPage(int context);
std::string helpPageName(int context);

// How a page is shown: a help window of the Qt backend, or nothing at all when headless.
// Returns false with `error` set (for the message box) when the page cannot be shown.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual bool showPage(const std::string& path, std::string& error) = 0;
};
// The viewer in use; nullptr shows nothing (headless runs record the page only).
void setHelpViewer(HelpViewer* viewer);
HelpViewer* helpViewer();
// The last page ShowHelp opened (or tried to), for tests and the headless run.
const std::string& lastHelpPage();
void setLastHelpPage(std::string page);

}  // namespace kx
