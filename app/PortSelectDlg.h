#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/DeviceMap.h"
#include "app/Profile.h"
#include "res/ShellIds.h"
#include "ui/Dialog.h"

namespace kx {

// Field limits of the port dialog, in bytes.
inline constexpr int kIpAddressLimit = 20;
inline constexpr int kPasswordLimit = 8;

class DeviceWatch;

// "接続ポート設定": the link choice and the COM port, remembered in the settings file. The
// window opens short (COM list and the buttons); "詳細" shows the lower part with the link
// choice, the address and the passwords, and hides it again. With the network link chosen
// "接続" refuses an address that is not a dotted IPv4 address.
//
// Beside the list stands the Linux device of the chosen COM port, marked when it is absent or
// the user may not open it; the list follows devices plugged in or out while it is open (the
// selection stays with its device). "自動検出" asks each usable device whether it is the
// adapter and selects the first that is. "接続" remembers the device of a serial choice in
// [DEVICES], so the next start means the same adapter whatever else is plugged in.
class CPortSelectDlg : public ui::Dialog {
public:
    // `heading` (UTF-8) replaces the template's heading; both references must outlive the dialog.
    CPortSelectDlg(std::string heading, const Profile& settings, DeviceMap& devices);
    ~CPortSelectDlg() override;

    // The device name the search looks for ([MODE] KIKI, CP932).
    std::string deviceName;
    // English lines for the log; `alsoStandardError` for the ones a user at a terminal needs.
    std::function<void(const std::string& line, bool alsoStandardError)> report;

    // The outputs, filled by "接続" (OK): the same values as written to the settings file.
    int linkChoice = 0;     // 0 serial, 1 HomePNA (network)
    int comPortNumber = 0;  // selected item + 1 (0 when nothing was selected)
    std::string device;     // the Linux device of that port ("" for none)
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
    // The notes of every item and the device text of the selected one.
    void showDevices();
    void showDevice();
    // A device was plugged in or out: the map again, the selection staying with its device.
    void refreshDevices();
    void searchAdapter();
    void tell(const std::string& line, bool alsoStandardError) const;
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
    DeviceMap& devices_;
    std::vector<std::string> shown_;  // the device of each item, as the list shows it
    std::unique_ptr<DeviceWatch> watch_;
    bool searching_ = false;
    bool refreshPending_ = false;         // a change seen while searching
    std::set<std::string> toldNoAccess_;  // devices whose missing permission was logged
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
