#include "analog/AnalogCommonDlg.h"

#include "app/services/Help.h"
#include "res/AnalogIds.h"

namespace kx {

CAnalogCommonDlg::CAnalogCommonDlg()
    : RecordDlg(
          IDD_ANALOG_COMMON, kHelpAnalogCommon, analogSettings.working,
          [] { analogSettings.takeSnapshot(); }, analogCommonItems()) {
    // OK checks the frequency before the delay
    bindEdit(IDC_ANALOG_COMMON_FREQUENCY, &AnalogSettings::ringSoundFrequency, 51,
             "呼出音周波数の入力に間違いがあります。");
    bindEdit(IDC_ANALOG_COMMON_DELAY, &AnalogSettings::delayNumber, 51,
             "遅延回数の入力に間違いがあります。");
    bindSpin(IDC_ANALOG_COMMON_FREQUENCY_SPIN, IDC_ANALOG_COMMON_FREQUENCY, 2);
    bindSpin(IDC_ANALOG_COMMON_DELAY_SPIN, IDC_ANALOG_COMMON_DELAY, 1);
    bindRadio(IDC_ANALOG_COMMON_INUMBER_OFF, &AnalogSettings::useINumber);
}

}  // namespace kx
