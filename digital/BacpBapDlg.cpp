#include "digital/BacpBapDlg.h"

#include "app/services/Help.h"
#include "res/DigitalIds.h"

namespace kx {

CBacpBapDlg::CBacpBapDlg()
    : RecordDlg(IDD_BACP_BAP, kHelpBacpBap, digitalSettings.working,
                [] { digitalSettings.takeSnapshot(); }) {
    for (int bit = 0; bit < 3; ++bit) {
        bindBit(kBacpDepartIds[static_cast<std::size_t>(bit)][0], &DigitalSettings::departMask,
                bit);
        bindBit(kBacpArriveIds[static_cast<std::size_t>(bit)][0], &DigitalSettings::arriveMask,
                bit);
    }
}

void CBacpBapDlg::storeRules() {
    values.departMask &= 0xff;
    values.arriveMask &= 0xff;
}

}  // namespace kx
