#pragma once

#include "area/SettingsDlg.h"
#include "digital/DigitalSettings.h"

namespace kx {

// "スループットＢＯＤ設定" (139): when channels are added and removed. The holding times show
// in seconds and step by 5; each threshold has a rate estimate beside it ("約 4.00 kbps" for
// 50 %), updated by its spin arrows. OK checks the removal side first. A direction other than
// "no addition / no removal" turns throughput BOD on in the working copy.
class CThroughputBodDlg : public area::RecordDlg<DigitalSettings> {
public:
    CThroughputBodDlg();

protected:
    void initRules() override;
    void spinRules(int editId) override;
    void storeRules() override;

private:
    void showEstimate(int rateEdit);
};

// The estimate beside a threshold of `percent`: "約 %.2f kbps" with percent x 0.08.
std::string rateEstimateText(int percent);

}  // namespace kx
