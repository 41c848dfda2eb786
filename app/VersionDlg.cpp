#include "app/VersionDlg.h"

#include "res/ShellIds.h"
#include "res/Templates.h"

namespace kx {

namespace {
constexpr size_t kFirmwareShown = 20;
}

CVersionDlg::CVersionDlg(std::string firmwareText)
    : Dialog(res::dialogTemplate(IDD_VERSION)), firmwareText_(std::move(firmwareText)) {}

bool CVersionDlg::OnInitDialog() {
    Dialog::OnInitDialog();
    // a short version ("Version 2.1") leaves the reply's line end among the 13 bytes: show only
    // the first line
    std::string shown = firmwareText_.substr(0, kFirmwareShown);
    size_t end = shown.find_first_of("\r\n");
    if (end != std::string::npos)
        shown.resize(end);
    SetDlgItemText(IDC_VERSION_FIRMWARE, shown);
    return true;
}

}  // namespace kx
