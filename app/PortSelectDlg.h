#pragma once

#include <string>

#include "app/DeviceMap.h"
#include "app/Profile.h"
#include "res/ShellIds.h"
#include "ui/Dialog.h"

namespace kx {

// Field limits of the port dialog, in bytes.
inline constexpr int kIpAddressLimit = 20;
inline constexpr int kPasswordLimit = 8;

// "接続ポート設定": the link choice and the COM port, remembered in the settings file. The
// window opens short (COM list and the buttons); "詳細" shows the lower part with the link
// choice, the address and the passwords, and hides it again. With the network link chosen
// "接続" refuses an address that is not a dotted IPv4 address.
class CPortSelectDlg : public ui::Dialog {
public:
    // `heading` (UTF-8) replaces the template's heading; both references must outlive the dialog.
    CPortSelectDlg(std::string heading, const Profile& settings, const DeviceMap& devices);

    // The outputs, filled by "接続" (OK): the same values as written to the settings file.
    int linkChoice = 0;     // 0 serial, 1 HomePNA (network)
    int comPortNumber = 0;  // selected item + 1 (0 when nothing was selected)
    std::string ipAddress;  // CP932 bytes, as in the file
    std::string loginPassword;
    std::string adminPassword;
    // The first settings-file write that failed ("" when all were stored).
    std::string writeError;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCommand(int id) override;
    void OnSelChange(int id) override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    void enableForLink(bool network);
    void showDevice();
    struct Field {
        int id;
        int limit;
        const char* error;
        std::string read;   // as the settings file had it
        std::string shown;  // what the control showed of it (UTF-8)
    };
    // The field's text; the value read from the file when the user left the (possibly cut)
    // text as it was shown, so a longer value written by hand is kept, not cut, and one the
    // field cannot carry (a tab, a byte that is no CP932) never blocks the dialog. False after
    // showing the field's input error.
    bool take(const Field& f, std::string& out);

    std::string heading_;
    const Profile& settings_;
    const DeviceMap& devices_;
    int radio_ = -1;
    bool detailsShown_ = false;
    int comIndex_ = -1;
    Field ip_{
        IDC_PORTSEL_IP_ADDRESS, kIpAddressLimit, "ＩＰアドレスの入力に間違いがあります。", {}, {}};
    Field login_{IDC_PORTSEL_LOGIN_PASSWORD,
                 kPasswordLimit,
                 "ログインパスワードの入力に間違いがあります。",
                 {},
                 {}};
    Field admin_{IDC_PORTSEL_ADMIN_PASSWORD,
                 kPasswordLimit,
                 "管理者パスワードの入力に間違いがあります。",
                 {},
                 {}};
};

}  // namespace kx
