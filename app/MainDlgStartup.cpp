// The main window's initialisation: settings file, port dialog, opening the link, the device
// probe and the firmware gate.
#include <cstdio>

#include "app/DeviceMap.h"
#include "app/FirmwareVersion.h"
#include "app/MainDlg.h"
#include "app/PortSelectDlg.h"
#include "app/Probe.h"
#include "app/Profile.h"
#include "app/ShellTimings.h"
#include "app/services/AppState.h"
#include "app/services/StatusLine.h"
#include "link/Exchange.h"
#include "link/SerialLink.h"
#include "link/Sjis.h"
#include "res/ShellIds.h"
#include "ui/MessageBox.h"
#include "ui/MessageLoop.h"

namespace kx {

namespace {
constexpr int kDebugShowsLog = 99;
constexpr std::size_t kModeTextBuffer = 260;
}  // namespace

bool CMainDlg::OnInitDialog() {
    Dialog::OnInitDialog();
    readSettings();
    SetDlgItemText(IDC_MAIN_LOG, logText_);
    // a run starts with an empty line
    statusLine().attach(*this, IDC_MAIN_STATUS);
    statusLine().clear();

    // the short window: the area buttons only, without the debug log pane
    if (debugMode != kDebugShowsLog)
        ShowControl(IDC_MAIN_DEBUG_GROUP, false);

    connectionState_ = ConnectionState::NoLink;
    if (!connect())
        return false;

    SetWindowText(windowTitle);
    return true;
}

void CMainDlg::readSettings() {
    settingsFilePath = SettingsFilePath(StartupDirectory());
    helpFilePath = HelpFilePath(StartupDirectory());
    Profile settings(settingsFilePath);
    debugMode = settings.readInt("MODE", "DEBUG", 0);
    deviceName = settings.readText("MODE", "KIKI", "", kModeTextBuffer);
    // the demo's adapter has a name of its own, which a folder without a settings file lacks
    if (deviceName.empty() && !config_.demoDeviceName.empty())
        deviceName = config_.demoDeviceName;
    minFirmwareVersion = leadingDecimal(settings.readText("MODE", "VER", "", kModeTextBuffer));
    routerMode = config_.router || settings.readInt("MODE", "ROUTER", 0) == 1;
    // with an empty device name the title begins with a blank
    windowTitle = SjisToUtf8(deviceName) + " 設定ユーティリティ";
    ui::SetMessageCaption(windowTitle);
}

bool CMainDlg::stopWithMessage(const std::string& text) {
    showStop(text);
    PostClose();
    return false;
}

bool CMainDlg::connect() {
    Profile settings(settingsFilePath);
    DeviceMap devices(settings, config_.runDevice, config_.runPort);
    CPortSelectDlg portDlg(windowTitle, settings, devices);
    portDlg.deviceName = deviceName;
    portDlg.report = [this](const std::string& line, bool alsoStandardError) {
        LogLine(line + "\r\n");
        if (alsoStandardError)
            std::fprintf(stderr, "kestrelx-setup: %s\n", line.c_str());
    };
    if (portDlg.DoModal() != IDOK) {
        PostClose();
        return false;
    }
    networkMode = portDlg.linkChoice;
    comPortNumber = portDlg.comPortNumber;
    ipAddressText = portDlg.ipAddress;
    loginPassword = portDlg.loginPassword;
    adminPassword = portDlg.adminPassword;
    if (!portDlg.writeError.empty()) {
        // the choice is used for this run all the same
        LogLine("Settings file not written: " + portDlg.writeError + "\r\n");
        showStop(portDlg.writeError);
    }

    if (networkMode != 0) {
        // the login follows through socket notifications; no probe on this path
        if (config_.netConnect && config_.netConnect(ipAddressText)) {
            LogLine("socket open\r\n");
            connectionState_ = ConnectionState::LinkOpen;
        } else if (!config_.netConnect) {
            LogLine("Network link (HomePNA) is not available in this version\r\n");
        }
        return true;  // the firmware gate has no version text to test on this path
    }

    if (!connectSerial())
        return false;
    if (!firmwareAccepted(firmwareVersionText, minFirmwareVersion))
        return stopWithMessage("現在のファームウェアでは、ご使用になれません。");
    return true;
}

bool CMainDlg::connectSerial() {
    Profile settings(settingsFilePath);
    DeviceMap devices(settings, config_.runDevice, config_.runPort);
    std::string port = DeviceMap::portName(comPortNumber);
    std::string device = devices.device(comPortNumber);
    OpenResult opened;
    if (device.empty()) {
        opened.reason = "there is no port " + port + " (COM1 to COM9)";
    } else {
        opened = OpenSerialPort(device);
    }
    if (!opened.ok()) {
        std::string line = "Cannot open " + port + (device.empty() ? "" : " (" + device + ")") +
                           ": " + opened.reason;
        LogLine(line + "\r\n");
        std::fprintf(stderr, "kestrelx-setup: %s\n", line.c_str());
        return stopWithMessage("指定したポートがオープンできません。");
    }

    ShellExchange ex = [this](std::string_view command, int timeoutMs, int kind,
                              std::string_view& replyOut) {
        bool ok = exchange(command, timeoutMs, kind) == 1;
        replyOut = reply_.view();
        return ok;
    };
    ShellWait wait = [](std::chrono::milliseconds duration) {
        // the window keeps painting while the adapter settles
        ui::pumpUntil([] { return false; }, ui::Clock::now() + duration);
    };
    ShellLog log = [this](const std::string& line) { LogLine(line + "\r\n"); };
    ProbeOutcome probe = runProbe(ex, wait, deviceName, shellTimings(), log);
    if (!probe.ok)
        return stopWithMessage(probe.message);
    firmwareVersionText = probe.firmwareVersionText;
    LogLine("com open\r\n");
    connectionState_ = ConnectionState::LinkOpen;
    ui::setTimer(kLinkEventsTimer, std::chrono::seconds(1), [] { DeliverLinkEvents(); });
    return true;
}

}  // namespace kx
