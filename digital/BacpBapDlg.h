#pragma once

#include "digital/DigitalSettings.h"
#include "isdn/Bod.h"

namespace kx {

// "ＢＡＣＰ／ＢＡＰ設定" (140): refuse or answer automatically each of the three BACP/BAP
// requests on the calling and the called side, one bit of a mask each. The other bits up to
// bit 7 are carried as they are; OK keeps each mask to its low 8 bits.
class CBacpBapDlg : public BacpBapAnswersDlg<DigitalSettings> {
public:
    CBacpBapDlg();

protected:
    void storeRules() override;
};

}  // namespace kx
