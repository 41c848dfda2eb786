#include "app/services/Help.h"

#include "ui/Dialog.h"
#include "ui/MessageBox.h"

namespace kx {

int ShowHelp(ui::Dialog& /*owner*/, int contextId) {
    std::string page = findHelpPage(contextId);
    if (page.empty()) {
        setLastHelpPage(helpPageName(contextId));
        ui::MessageBox("ヘルプファイル（" + helpPageName(contextId) + "）が見つかりません。",
                       ui::MessageCaption(), ui::MsgButtons::Ok, ui::MsgIcon::Stop);
        return 1;
    }
    setLastHelpPage(page);
    if (HelpViewer* viewer = helpViewer()) {
        std::string error;
        if (!viewer->showPage(page, error))
            ui::MessageBox("ヘルプを表示できません。\r\n" + error, ui::MessageCaption(),
                           ui::MsgButtons::Ok, ui::MsgIcon::Stop);
    }
    return 1;
}

}  // namespace kx
