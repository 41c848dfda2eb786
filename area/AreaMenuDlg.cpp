#include "area/AreaMenuDlg.h"

#include "app/WaitDlg.h"
#include "res/Templates.h"

namespace kx::area {

CAreaMenuDlg::CAreaMenuDlg(int templateId, AreaContext& context, std::vector<Entry> entries,
                           Writer write)
    : Dialog(res::dialogTemplate(templateId)),
      context_(context),
      entries_(std::move(entries)),
      write_(std::move(write)) {}

void CAreaMenuDlg::OnCommand(int id) {
    for (const Entry& entry : entries_) {
        if (entry.button != id)
            continue;
        std::unique_ptr<ui::Dialog> dialog = entry.open();
        const int result = dialog->DoModal();
        int written = -1;
        if (result == ui::IDOK) {
            written = withWaitWindow(*this, [&] { return write_(context_, entry.area); });
            SetActiveWindow();
        }
        afterDialog(entry, result, written);
        return;
    }
}

}  // namespace kx::area
