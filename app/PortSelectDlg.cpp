#include "app/PortSelectDlg.h"

#include "app/TemplatePatch.h"
#include "link/NetLink.h"
#include "link/TextFunctions.h"
#include "res/ShellIds.h"
#include "res/Templates.h"
#include "ui/DataExchange.h"
#include "ui/MessageBox.h"
#include "ui/TemplateBuilder.h"

namespace kx {

namespace {

// The settings file's buffers: 20 bytes for the address, 35 for each password.
constexpr std::size_t kIpBuffer = 20;
constexpr std::size_t kPasswordBuffer = 35;

const ui::Template& portSelectTemplate() {
    static const ui::Template tpl = [] {
        ui::Template t = res::dialogTemplate(IDD_PORT_SELECT);
        insertControlAfter(t, IDC_PORTSEL_COM, ui::tpl::text(IDC_PORTSEL_DEVICE));
        return t;
    }();
    return tpl;
}

}  // namespace

CPortSelectDlg::CPortSelectDlg(std::string heading, const Profile& settings,
                               const DeviceMap& devices)
    : Dialog(portSelectTemplate()),
      heading_(std::move(heading)),
      settings_(settings),
      devices_(devices) {}

void CPortSelectDlg::DoDataExchange(ui::DataExchange& dx) {
    dx.radio(IDC_PORTSEL_SERIAL, radio_);
    dx.listIndex(IDC_PORTSEL_COM, comIndex_);
}

bool CPortSelectDlg::OnInitDialog() {
    SetDlgItemTextUtf8(IDC_PORTSEL_HEADING, heading_);

    radio_ = settings_.readInt("PORTSEL", "PORT", 0);
    enableForLink(radio_ != 0);

    int com = settings_.readInt("PORTSEL", "COM", 1);
    comIndex_ = com >= DeviceMap::kFirstPort && com <= DeviceMap::kLastPort ? com - 1 : -1;

    ip_.read = settings_.readText("IPADDR", "FIELD", "", kIpBuffer);
    login_.read = settings_.readText("OPTION", "DATA1", "", kPasswordBuffer);
    admin_.read = settings_.readText("OPTION", "DATA2", "", kPasswordBuffer);
    for (Field* f : {&ip_, &login_, &admin_}) {
        LimitText(f->id, f->limit);
        SetDlgItemText(f->id, f->read);
    }
    // what the fields show of the values (a value longer than the limit may show cut); kept
    // as shown, since a value the field cannot carry does not convert back
    for (Field* f : {&ip_, &login_, &admin_}) f->shown = GetDlgItemTextUtf8(f->id);

    // the short window: the COM group and the buttons; the stored PORT decides the link until
    // "詳細" shows the lower part
    detailsShown_ = false;
    ShowControl(IDC_PORTSEL_LINK_PANEL, false);

    // a PORT value other than 0 and 1 checks no radio button; the link is still network
    UpdateData(false);
    // each item keeps its text "COM1"; the device it stands for is shown beside it
    for (int port = DeviceMap::kFirstPort; port <= DeviceMap::kLastPort; ++port)
        SetListItemNote(IDC_PORTSEL_COM, port - 1, devices_.device(port));
    showDevice();
    return true;
}

void CPortSelectDlg::enableForLink(bool network) {
    EnableControl(IDC_PORTSEL_COM, !network);
    EnableControl(IDC_PORTSEL_IP_ADDRESS, network);
    EnableControl(IDC_PORTSEL_LOGIN_PASSWORD, network);
    EnableControl(IDC_PORTSEL_ADMIN_PASSWORD, network);
}

void CPortSelectDlg::OnCommand(int id) {
    if (id == IDC_PORTSEL_SERIAL)
        enableForLink(false);
    if (id == IDC_PORTSEL_PNA)
        enableForLink(true);
    if (id == IDC_PORTSEL_DETAILS) {
        detailsShown_ = !detailsShown_;
        ShowControl(IDC_PORTSEL_LINK_PANEL, detailsShown_);
    }
}

void CPortSelectDlg::OnSelChange(int id) {
    if (id == IDC_PORTSEL_COM)
        showDevice();
}

void CPortSelectDlg::showDevice() {
    std::string device = devices_.device(GetListIndex(IDC_PORTSEL_COM) + 1);
    SetDlgItemTextUtf8(IDC_PORTSEL_DEVICE, device);
}

bool CPortSelectDlg::take(const Field& f, std::string& out) {
    // the address and passwords stand in the hidden part of the window: a value the user
    // cannot even see must not make "接続" fail
    if (GetDlgItemTextUtf8(f.id) == f.shown) {
        out = f.read;
        return true;
    }
    std::string text;
    if (!GetDlgItemText(f.id, f.limit, text)) {
        ui::InputError(f.error);
        return false;
    }
    out = text;
    return true;
}

void CPortSelectDlg::OnOK() {
    if (!UpdateData(true))
        return;
    std::string ip, login, admin;
    if (!take(ip_, ip) || !take(login_, login) || !take(admin_, admin))
        return;
    // the address is used only by the network link; a wrong one would fail the connect later,
    // with the dialog gone
    std::uint32_t parsed = 0;
    if (radio_ != 0 && (CheckIpAddress(ip, 0) != 0 || !ParseIpv4(ip, parsed))) {
        ui::InputError(ip_.error);
        return;
    }

    linkChoice = radio_;
    comPortNumber = comIndex_ + 1;
    ipAddress = ip;
    loginPassword = login;
    adminPassword = admin;

    // stored before the link is tried, so a failed connection still remembers the choice
    auto note = [this](const ProfileResult& r) {
        if (!r.ok() && writeError.empty())
            writeError = r.message;
    };
    note(settings_.writeInt("PORTSEL", "PORT", linkChoice));
    note(settings_.writeInt("PORTSEL", "COM", comPortNumber));
    note(settings_.writeText("IPADDR", "FIELD", ipAddress));
    note(settings_.writeText("OPTION", "DATA1", loginPassword));
    note(settings_.writeText("OPTION", "DATA2", adminPassword));
    EndDialog(IDOK);
}

}  // namespace kx
