#pragma once

#include "area/SettingsDlg.h"
#include "shortnum/ShortNumbers.h"

namespace kx {

// "短縮番号設定" (template 144): the 20 short numbers of the working table. OK checks the
// entries in order and names the first wrong one ("電話番号07の入力に間違いがあります。");
// when all are right it stores them and counts the change. It takes no snapshot copy: the
// main window writes the entries that differ from what the adapter reported.
class CShortNumberDlg : public area::CSettingsDlg {
public:
    CShortNumberDlg();

protected:
    bool OnInitDialog() override;
    void OnOK() override;
};

}  // namespace kx
