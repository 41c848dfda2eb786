#include "app/PortSelectDlg.h"

#include <cerrno>

#include "app/AdapterSearch.h"
#include "app/DeviceWatch.h"
#include "app/TemplatePatch.h"
#include "app/services/WaitDlg.h"
#include "link/NetLink.h"
#include "link/SerialLink.h"
#include "link/TextFunctions.h"
#include "res/ShellIds.h"
#include "res/Templates.h"
#include "ui/DataExchange.h"
#include "ui/MessageBox.h"
#include "ui/MessageLoop.h"
#include "ui/TemplateBuilder.h"

namespace kx {

namespace {

// The settings file's buffers: 20 bytes for the address, 35 for each password.
constexpr std::size_t kIpBuffer = 20;
constexpr std::size_t kPasswordBuffer = 35;

// The marks of the device text, and what a user not in the dialout group is to do.
constexpr const char* kAbsentMark = "（未接続）";
constexpr const char* kNoPermissionMark = "（使用権限がありません）";
constexpr const char* kDialoutHint =
    "このポートを使う権限がありません。dialout グループに加えてから、ログインし直して"
    "ください：\nsudo usermod -aG dialout $USER";
constexpr const char* kNotFound = "KESTRELXが見つかりませんでした。";

std::string deviceText(const std::string& device) {
    if (device.empty())
        return {};
    switch (SerialDeviceState(device)) {
        case DeviceState::Absent:
            return device + kAbsentMark;
        case DeviceState::NoPermission:
            return device + kNoPermissionMark;
        case DeviceState::Present:
            break;
    }
    return device;
}

const ui::Template& portSelectTemplate() {
    static const ui::Template tpl = [] {
        ui::Template t = res::dialogTemplate(IDD_PORT_SELECT);
        insertControlAfter(t, IDC_PORTSEL_COM, ui::tpl::text(IDC_PORTSEL_DEVICE));
        return t;
    }();
    return tpl;
}

}  // namespace

CPortSelectDlg::CPortSelectDlg(std::string heading, const Profile& settings, DeviceMap& devices)
    : Dialog(portSelectTemplate()),
      heading_(std::move(heading)),
      settings_(settings),
      devices_(devices) {}

CPortSelectDlg::~CPortSelectDlg() = default;

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
    // the devices present now, not when the program started: the adapter may have been
    // plugged in on another cable since
    devices_.rescan();
    showDevices();
    watch_ = std::make_unique<DeviceWatch>([this] { refreshDevices(); });
    return true;
}

void CPortSelectDlg::tell(const std::string& line, bool alsoStandardError) const {
    if (report)
        report(line, alsoStandardError);
}

void CPortSelectDlg::showDevices() {
    shown_ = devices_.devices();
    // each item keeps its text "COM1"; the device it stands for is shown beside it
    for (int port = DeviceMap::kFirstPort; port <= DeviceMap::kLastPort; ++port)
        SetListItemNote(IDC_PORTSEL_COM, port - 1, deviceText(shown_[port - 1]));
    showDevice();
}

void CPortSelectDlg::refreshDevices() {
    if (!hasWindow())
        return;  // the dialog has ended; its object may live on while the link opens
    if (searching_) {
        refreshPending_ = true;  // the list stays as it is while its devices are asked
        return;
    }
    const int index = GetListIndex(IDC_PORTSEL_COM);
    const std::string selected =
        index >= 0 && index < static_cast<int>(shown_.size()) ? shown_[index] : "";
    devices_.rescan();
    const std::vector<std::string> now = devices_.devices();
    if (!selected.empty() && now[index] != selected) {
        // the selection follows its device to the entry that stands for it now
        for (std::size_t i = 0; i < now.size(); ++i)
            if (now[i] == selected) {
                SetListIndex(IDC_PORTSEL_COM, static_cast<int>(i));
                break;
            }
    }
    showDevices();
}

void CPortSelectDlg::enableForLink(bool network) {
    EnableControl(IDC_PORTSEL_COM, !network);
    EnableControl(IDC_PORTSEL_AUTODETECT, !network);
    EnableControl(IDC_PORTSEL_IP_ADDRESS, network);
    EnableControl(IDC_PORTSEL_LOGIN_PASSWORD, network);
    EnableControl(IDC_PORTSEL_ADMIN_PASSWORD, network);
}

void CPortSelectDlg::OnCommand(int id) {
    if (id == IDC_PORTSEL_AUTODETECT)
        searchAdapter();
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
    const int index = GetListIndex(IDC_PORTSEL_COM);
    const std::string dev =
        index >= 0 && index < static_cast<int>(shown_.size()) ? shown_[index] : "";
    SetDlgItemTextUtf8(IDC_PORTSEL_DEVICE, deviceText(dev));
    const bool noAccess = SerialDeviceState(dev) == DeviceState::NoPermission;
    SetDlgItemTextUtf8(IDC_PORTSEL_ACCESS_HINT, noAccess ? kDialoutHint : "");
    ShowControl(IDC_PORTSEL_ACCESS_HINT, noAccess);
    if (noAccess && toldNoAccess_.insert(dev).second)
        tell(DeviceMap::portName(index + 1) + " (" + dev + "): " + OpenFailureReason(EACCES) +
                 " (sudo usermod -aG dialout $USER, then log in again)",
             true);
}

void CPortSelectDlg::searchAdapter() {
    searching_ = true;
    int found = -1;
    {
        // as around every exchange: the dialog refuses input while the wait window is up
        EnableWindow(false);
        CWaitDlg wait;
        wait.Create(this);
        std::set<std::string> asked;
        for (std::size_t i = 0; i < shown_.size() && found < 0; ++i) {
            const std::string& dev = shown_[i];
            if (SerialDeviceState(dev) != DeviceState::Present || !asked.insert(dev).second)
                continue;
            const std::string port = DeviceMap::portName(static_cast<int>(i) + 1);
            wait.SetDlgItemTextUtf8(IDC_WAIT_TEXT, "しばらくお待ちください！\n" + port + "（" +
                                                       dev + "）を調べています…");
            const ShellWait settle = [](std::chrono::milliseconds duration) {
                ui::pumpUntil([] { return false; }, ui::Clock::now() + duration);
            };
            const DeviceProbe probe =
                ProbeDevice(dev, deviceName, ui::pump(), settle, shellTimings(),
                            [this](const std::string& line) { tell(line, false); });
            tell(
                "Adapter search: " + port + " (" + dev + "): " + ProbeAnswerText(probe, deviceName),
                false);
            if (probe.answer == ProbeAnswer::Adapter)
                found = static_cast<int>(i);
        }
        wait.DestroyWindow();
        EnableWindow(true);
    }
    searching_ = false;
    if (found >= 0) {
        SetListIndex(IDC_PORTSEL_COM, found);
        showDevice();
    } else {
        ui::MessageBox(kNotFound, ui::MessageCaption(), ui::MsgButtons::Ok, ui::MsgIcon::Stop);
    }
    if (refreshPending_) {
        refreshPending_ = false;
        refreshDevices();
    }
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
    device = comIndex_ >= 0 && comIndex_ < static_cast<int>(shown_.size()) ? shown_[comIndex_] : "";
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
    // the device this entry stood for, so the next start means the same adapter even with
    // other serial devices plugged in meanwhile; one given for this run only (--port), one the
    // file names already, or one that is not there is not written
    const DeviceMap::Source source = devices_.source(comPortNumber);
    if (linkChoice == 0 && !device.empty() &&
        (source == DeviceMap::Source::Present || source == DeviceMap::Source::Fallback) &&
        SerialDeviceState(device) != DeviceState::Absent)
        note(settings_.writeText("DEVICES", DeviceMap::portName(comPortNumber), device));
    watch_.reset();
    EndDialog(IDOK);
}

}  // namespace kx
