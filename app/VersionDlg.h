#pragma once

#include <string>

#include "ui/Dialog.h"

namespace kx {

// "バージョン情報": the firmware version the probe read and the utility's own version. Sends
// nothing to the adapter; the help key does nothing here.
class CVersionDlg : public ui::Dialog {
public:
    // firmwareText: the adapter's bytes (CP932), at most 20 of them are shown.
    explicit CVersionDlg(std::string firmwareText);

protected:
    bool OnInitDialog() override;
    void OnHelp() override {}

private:
    std::string firmwareText_;
};

}  // namespace kx
