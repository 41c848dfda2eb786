#include "digital/BacpBapDlg.h"

#include "app/services/Help.h"
#include "res/DigitalIds.h"

namespace kx {

CBacpBapDlg::CBacpBapDlg()
    : BacpBapAnswersDlg(IDD_BACP_BAP, kHelpBacpBap, digitalSettings.working,
                        [] { digitalSettings.takeSnapshot(); }) {
    bindAnswers(kBacpDepartIds, &DigitalSettings::departMask, kBacpArriveIds,
                &DigitalSettings::arriveMask);
}

void CBacpBapDlg::storeRules() {
    values.departMask &= 0xff;
    values.arriveMask &= 0xff;
}

}  // namespace kx
