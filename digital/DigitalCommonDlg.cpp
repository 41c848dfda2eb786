#include "digital/DigitalCommonDlg.h"

#include "app/services/Help.h"
#include "area/Keywords.h"
#include "res/DigitalIds.h"

namespace kx {

namespace {

using D = DigitalSettings;

}  // namespace

CDigitalCommonDlg::CDigitalCommonDlg()
    : RecordDlg(
          IDD_DIGITAL_COMMON, kHelpDigitalCommon, digitalSettings.working,
          [] { digitalSettings.takeSnapshot(); }, digitalCommonItems()) {
    bindEdit(IDC_DIGITAL_COMMON_DISC_TIME, &D::discTime, 5, "切断時間の入力に間違いがあります。");
    bindRadio(kArrivePriorityIds[0], &D::arrivePriority);
    bindRadio(kBacpBapIds[0], &D::bacpBap);
    bindRadio(kInitChannelIds[0], &D::initChannel);
    bindRadio(kThroughputBodIds[0], &D::throughputBod);
    bindRadio(kResourceBodIds[0], &D::resourceBod);
    bindList(IDC_DIGITAL_COMMON_PIAFS, &D::piafs);
}

void CDigitalCommonDlg::storeRules() {
    if (values.throughputBod == 0) {
        values.addDirection = area::kBodNoChange;
        values.delDirection = area::kBodNoChange;
    }
}

}  // namespace kx
