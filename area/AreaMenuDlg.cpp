#include "area/AreaMenuDlg.h"

#include "app/services/StatusLine.h"
#include "app/services/WaitDlg.h"
#include "res/ShellIds.h"
#include "res/Templates.h"

namespace kx::area {

CAreaMenuDlg::CAreaMenuDlg(int templateId, AreaContext& context, std::vector<Entry> entries,
                           Writer write, std::vector<SnapshotHold*> copies)
    : Dialog(res::dialogTemplate(templateId)),
      context_(context),
      entries_(std::move(entries)),
      write_(std::move(write)),
      copies_(std::move(copies)) {}

CAreaMenuDlg::~CAreaMenuDlg() {
    statusLine().detach(*this);
}

bool CAreaMenuDlg::OnInitDialog() {
    const bool result = Dialog::OnInitDialog();
    statusLine().attach(*this, IDC_MENU_STATUS);
    return result;
}

template <class Fn>
int CAreaMenuDlg::reported(const std::string& caption, Fn&& fn) {
    context_.lastFailure = ExchangeOutcome::Ok;
    const int written = fn();
    if (written == 1) {
        statusLine().clear();
    } else {
        for (SnapshotHold* copy : copies_) copy->held = true;
        statusLine().show(sectionWriteFailedText(sectionName(caption), context_.lastFailure));
    }
    return written;
}

int CAreaMenuDlg::write(int area) {
    return reported(lastCaption_, [&] { return write_(context_, area); });
}

void CAreaMenuDlg::OnCommand(int id) {
    for (const Entry& entry : entries_) {
        if (entry.button != id)
            continue;
        std::unique_ptr<ui::Dialog> dialog = entry.open();
        lastCaption_ = dialog->GetTemplate().caption;
        const int result = dialog->DoModal();
        int written = -1;
        if (result == ui::IDOK) {
            written = reported(lastCaption_, [&] {
                return withWaitWindow(*this, [&] { return write_(context_, entry.area); });
            });
            SetActiveWindow();
        }
        afterDialog(entry, result, written);
        return;
    }
}

}  // namespace kx::area
