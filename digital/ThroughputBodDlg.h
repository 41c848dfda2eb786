#pragma once

#include "digital/DigitalSettings.h"
#include "isdn/Bod.h"

namespace kx {

// "スループットＢＯＤ設定" (139): when channels are added and removed. The holding times show
// in seconds and step by 5; each threshold has a rate estimate beside it ("約 4.00 kbps" for
// 50 %), updated by its spin arrows. OK checks the removal side first. A direction other than
// "no addition / no removal" turns throughput BOD on in the working copy.
class CThroughputBodDlg : public BodSidesDlg<DigitalSettings> {
public:
    CThroughputBodDlg();

protected:
    void storeRules() override;
};

}  // namespace kx
