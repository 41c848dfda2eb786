#pragma once

#include "area/SettingsDlg.h"
#include "res/RouterIds.h"
#include "router/RouterSettings.h"

namespace kx {

// "ダイヤルアップｋ設定" (146, 148, 150, 152): dial-up profile k (1..4), its provider, three
// numbers, login, line use, authentication, idle disconnection, WAN address and DNS servers.
// "自動" DNS disables the two address edits, which are still checked. An address the adapter
// reports as "0.0.0.0" shows empty and stays as it was when left empty; an emptied WAN
// address is stored as "0.0.0.0", emptied DNS addresses as empty texts.
class CDialupDlg : public area::RecordDlg<DialupProfile> {
public:
    explicit CDialupDlg(int profile);
};

// "ＨｏｍｅＰＮＡ簡単 設定" (145): profile 1's provider, numbers, login and DNS in one form, read
// and written by the main window's easy-setup cycle. It takes no snapshot copy (the cycle has
// just read both copies equal), and with "自動" DNS the addresses are neither checked nor
// stored.
class CPnaEasyDlg : public area::RecordDlg<DialupProfile> {
public:
    CPnaEasyDlg();
};

}  // namespace kx
