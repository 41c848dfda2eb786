#pragma once

#include "analog/AnalogSettings.h"
#include "area/SettingsDlg.h"
#include "res/AnalogIds.h"

namespace kx {

// "ＴＥＬｎポート設定" (templates 132, 133, 134): one TEL port of the working copy. The three
// dialogs differ only in their ids, the edits' limits and the number-display exclusion: TEL1
// and TEL2 cannot both use number display, so a port opened while the other one uses it is
// set to "対応機器を使用しない" (in the working copy too) with the other two choices greyed.
class CTelPortDlg : public area::RecordDlg<TelPortSettings> {
public:
    // port: 0 TEL1, 1 TEL2, 2 TEL3.
    explicit CTelPortDlg(int port);

protected:
    void initRules() override;
    void storeRules() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    int port_;
    const TelPortIds& ids_;
    // the two talky check boxes: "転送トーキ" (value 2) and "転送元トーキ" (value 1)
    int talkyTransfer_ = 0;
    int talkySource_ = 0;
};

}  // namespace kx
