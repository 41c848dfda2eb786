// The port dialog on its own, driven by posted calls instead of a scripted user, so that the
// test can look at what its controls show; which device each COM port stands for, over a fake
// device tree (the test hook KX_DEVICE_ROOT): the order of the devices present, the overrides,
// absent and unreadable devices.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/DeviceMap.h"
#include "app/PortSelectDlg.h"
#include "app/Profile.h"
#include "app/services/AppState.h"
#include "res/ShellIds.h"
#include "sim/Faults.h"
#include "tests/support/FakeDevices.h"
#include "tests/support/Files.h"
#include "tests/support/SessionSupport.h"
#include "ui/MessageLoop.h"
#include "ui/headless/Headless.h"
#include "ui/headless/HeadlessWindow.h"

namespace kx::test {
namespace {

using PortSelectDlgTest = FastSessionTest;

// The dialog over the settings file as it stands, on the headless backend.
struct PortDialog {
    explicit PortDialog(const char* title)
        : settings((ui::headless::install(), SettingsFilePath(startupFolder()))),
          devices(settings, ""),
          dlg(title, settings, devices) {}
    Profile settings;
    DeviceMap devices;
    CPortSelectDlg dlg;
};

std::string listNotes(CPortSelectDlg& dlg) {
    auto* window = dynamic_cast<ui::headless::HeadlessWindow*>(ui::DialogEvents::peer(dlg));
    std::string notes;
    for (int i = 0; window && i < 9; ++i) notes += window->listItemNote(IDC_PORTSEL_COM, i) + ";";
    return notes;
}

TEST_F(PortSelectDlgTest, ShowsTheMappedDeviceAndTheStoredChoice) {
    FakeDevices fake(startupFolder() + "/fake");
    const std::string usb = fake.addNode("ttyUSB0");
    writeSettings("[PORTSEL]\nPORT=0\nCOM=2\n[DEVICES]\nCOM2=" + usb + "\n");
    PortDialog port("KESTRELX 設定ユーティリティ");
    CPortSelectDlg& dlg = port.dlg;
    bool looked = false;
    ui::postCall([&] {
        EXPECT_EQ(dlg.GetDlgItemTextUtf8(IDC_PORTSEL_HEADING), "KESTRELX 設定ユーティリティ");
        EXPECT_EQ(dlg.GetDlgItemTextUtf8(IDC_PORTSEL_DEVICE), usb);
        EXPECT_EQ(dlg.GetListIndex(IDC_PORTSEL_COM), 1);
        // every item shows its device; the override of COM2 and the defaults of the others,
        // which are not there
        std::string expected;
        for (int n = 0; n < 9; ++n)
            expected += n == 1 ? usb + ";" : fake.dev("ttyS" + std::to_string(n)) + "（未接続）;";
        EXPECT_EQ(listNotes(dlg), expected);
        EXPECT_FALSE(dlg.IsControlVisible(IDC_PORTSEL_ACCESS_HINT));
        EXPECT_TRUE(dlg.IsControlEnabled(IDC_PORTSEL_COM));
        EXPECT_FALSE(dlg.IsControlEnabled(IDC_PORTSEL_IP_ADDRESS));
        EXPECT_FALSE(dlg.IsControlVisible(IDC_PORTSEL_LINK_PANEL));
        looked = true;
        dlg.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(looked);
}

// What OK stores: InputSafetyTest.PasswordsSurviveTheSettingsFileAndAreNeverShown.
TEST_F(PortSelectDlgTest, NetworkChoiceEnablesTheAddressInsteadOfThePort) {
    writeSettings("[PORTSEL]\nPORT=1\nCOM=3\n[IPADDR]\nFIELD=192.168.1.20\n");
    PortDialog port("t");
    CPortSelectDlg& dlg = port.dlg;
    ui::postCall([&] {
        EXPECT_FALSE(dlg.IsControlEnabled(IDC_PORTSEL_COM));
        EXPECT_FALSE(dlg.IsControlEnabled(IDC_PORTSEL_AUTODETECT));
        EXPECT_TRUE(dlg.IsControlEnabled(IDC_PORTSEL_IP_ADDRESS));
        dlg.PostCommand(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.linkChoice, 1);
    EXPECT_EQ(dlg.comPortNumber, 3);
}

// Values the fields cannot carry (put into the file by hand, or cut inside a two-byte
// character by the read buffer) stand in hidden fields the user cannot edit: confirming keeps
// them as read instead of refusing the dialog with an input error.
TEST_F(PortSelectDlgTest, FieldsLeftAloneAreKeptEvenWhenTheyCannotBeEdited) {
    std::string kana;  // 17 times "あ" in CP932
    for (int i = 0; i < 17; ++i) kana += "\x82\xA0";
    struct Row {
        const char* name;
        std::string settings;
        std::string ip, login, admin;
    } rows[] = {
        {"tab inside a password", "[OPTION]\nDATA1=pass\tword\n", "", "pass\tword", ""},
        {"byte that is no CP932", "[IPADDR]\nFIELD=10.0.0.1\xFF\n", "10.0.0.1\xFF", "", ""},
        // 35 bytes: the 35-byte buffer keeps 34 and cuts the last character in half
        {"character cut by the buffer", "[OPTION]\nDATA2=a" + kana + "\n", "", "",
         ("a" + kana).substr(0, 34)},
        {"password longer than its field", "[OPTION]\nDATA1=abc\nDATA2=averylongpassword12\n", "",
         "abc", "averylongpassword12"},
    };
    for (const Row& r : rows) {
        writeSettings("[PORTSEL]\nPORT=0\nCOM=1\n" + r.settings);
        PortDialog port("t");
        CPortSelectDlg& dlg = port.dlg;
        constexpr int kGiveUp = 77;  // ends the dialog only when OK was refused
        ui::setTimer(kGiveUp, std::chrono::seconds(10), [&] { dlg.EndDialog(IDCANCEL); });
        ui::postCall([&] { dlg.PostCommand(IDOK); });
        EXPECT_EQ(dlg.DoModal(), IDOK) << r.name;
        ui::killTimer(kGiveUp);
        EXPECT_EQ(dlg.ipAddress, r.ip) << r.name;
        EXPECT_EQ(dlg.loginPassword, r.login) << r.name;
        EXPECT_EQ(dlg.adminPassword, r.admin) << r.name;
    }
}

// The device of the chosen entry is remembered in [DEVICES] by its by-id name; a remembered
// device that is absent is marked, and leaves the user to pick another entry.
TEST_F(PortSelectDlgTest, ConnectRemembersTheByIdNameAndAbsentDevicesAreMarked) {
    startAdapter();
    FakeDevices fake(startupFolder() + "/fake");
    const std::string adapterLink =
        fake.addById("usb-Kestrel_cable-if00-port0", adapter().ptyPath());
    const std::string gone = fake.byId("usb-Old_cable-if00-port0");
    writeSettings("[PORTSEL]\nPORT=0\nCOM=3\n[DEVICES]\nCOM3=" + gone + "\n");
    PortDialog port("t");
    CPortSelectDlg& dlg = port.dlg;
    ui::postCall([&] {
        EXPECT_EQ(dlg.GetDlgItemTextUtf8(IDC_PORTSEL_DEVICE), gone + "（未接続）");
        EXPECT_EQ(listNotes(dlg).substr(0, adapterLink.size() + 1), adapterLink + ";");
        dlg.SetListIndex(IDC_PORTSEL_COM, 0);
        dlg.PostCommand(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.comPortNumber, 1);
    EXPECT_EQ(dlg.device, adapterLink);
    EXPECT_EQ(readSettings(), "[PORTSEL]\nPORT=0\nCOM=1\n[DEVICES]\nCOM3=" + gone + "\nCOM1=" +
                                  adapterLink + "\n[IPADDR]\nFIELD=\n[OPTION]\nDATA1=\nDATA2=\n");
}

// A by-id link appears while the dialog is open: the list shows it, and the selection stays
// with the device it had, now on another entry.
TEST_F(PortSelectDlgTest, ListFollowsADevicePluggedInWhileItIsOpen) {
    startAdapter();
    FakeDevices fake(startupFolder() + "/fake");
    const std::string second = fake.addById("usb-B_cable", adapter().ptyPath());
    writeSettings("[PORTSEL]\nPORT=0\nCOM=1\n");
    PortDialog port("t");
    CPortSelectDlg& dlg = port.dlg;
    std::string first, notes, shown;
    ui::postCall([&] {
        EXPECT_EQ(dlg.GetDlgItemTextUtf8(IDC_PORTSEL_DEVICE), second);
        first = fake.addById("usb-A_cable", adapter().ptyPath());
    });
    constexpr int kLook = 78, kGiveUp = 79;
    ui::setTimer(kLook, std::chrono::milliseconds(20), [&] {
        if (dlg.GetListIndex(IDC_PORTSEL_COM) != 1)
            return;
        notes = listNotes(dlg);
        shown = dlg.GetDlgItemTextUtf8(IDC_PORTSEL_DEVICE);
        dlg.EndDialog(IDOK);
    });
    ui::setTimer(kGiveUp, std::chrono::seconds(20), [&] { dlg.EndDialog(IDCANCEL); });
    const int result = dlg.DoModal();
    ui::killTimer(kLook);
    ui::killTimer(kGiveUp);
    ASSERT_EQ(result, IDOK) << "the list was not refreshed";
    EXPECT_EQ(notes.substr(0, first.size() + second.size() + 2), first + ";" + second + ";");
    EXPECT_EQ(shown, second);
}

// Three devices: one silent, one that answers "OK" without the device name, and the adapter.
struct ThreeDevices {
    explicit ThreeDevices(bool withAdapter, bool atCommandLine = false)
        : fake(startupFolder() + "/fake") {
        sim::EmulatorOptions other;
        other.adapter.name = "OTHERBOX";
        std::string error;
        silent = sim::Emulator::start(withFault("silent"), error);
        modem = sim::Emulator::start(other, error);
        sim::EmulatorOptions kestrelx;
        kestrelx.adapter.atCommandLine = atCommandLine;
        if (withAdapter)
            adapter = sim::Emulator::start(kestrelx, error);
        EXPECT_TRUE(silent && modem && (adapter || !withAdapter)) << error;
        fake.addById("usb-1_silent", silent->ptyPath());
        fake.addById("usb-2_modem", modem->ptyPath());
        if (adapter)
            fake.addById("usb-3_kestrelx", adapter->ptyPath());
    }
    FakeDevices fake;
    std::unique_ptr<sim::Emulator> silent, modem, adapter;
};

// Also when the adapter was left at its command line by a session that was killed: it is led
// out with "exit", the log says so, and the probe and the session go on as at its AT stage.
TEST_F(PortSelectDlgTest, AutoDetectFindsTheAdapterAmongThreeDevices) {
    for (bool atCommandLine : {false, true}) {
        SCOPED_TRACE(atCommandLine ? "left at its command line" : "at its AT stage");
        resetAppState();
        ThreeDevices devices(true, atCommandLine);
        writeSettings("[MODE]\nKIKI=KESTRELX\n[PORTSEL]\nPORT=0\nCOM=1\n");
        SessionResult r =
            run(dialog(IDD_PORT_SELECT) + click(IDC_PORTSEL_AUTODETECT) + click(IDOK) + kClose);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_TRUE(r.messages.empty()) << r.messageTexts()[0];
        const std::string kx = devices.fake.byId("usb-3_kestrelx");
        const std::size_t recovery = atCommandLine ? 1 : 0;
        ASSERT_GE(r.log.size(), 3u + recovery);
        EXPECT_EQ(r.log[0],
                  "Adapter search: COM1 (" + devices.fake.byId("usb-1_silent") + "): no answer");
        EXPECT_EQ(r.log[1], "Adapter search: COM2 (" + devices.fake.byId("usb-2_modem") +
                                "): another device (no KESTRELX in its ATI reply)");
        if (atCommandLine) {
            EXPECT_NE(r.log[2].find("at its command line"), std::string::npos) << r.log[2];
        }
        EXPECT_EQ(r.log[2 + recovery], "Adapter search: COM3 (" + kx + "): the adapter");
        // the others heard "ATI" once and nothing more
        EXPECT_EQ(devices.silent->transcript().lines(), std::vector<std::string>{"ATI"});
        EXPECT_EQ(devices.modem->transcript().lines(), std::vector<std::string>{"ATI"});
        std::vector<std::string> search{"ATI"};
        if (atCommandLine)
            search = {"ATI", "exit", "ATI"};
        EXPECT_EQ(devices.adapter->transcript().lines(),
                  concat(concat(search, probeLines()), {"exit"}));
        EXPECT_NE(readSettings().find("COM=3\n"), std::string::npos) << readSettings();
        EXPECT_NE(readSettings().find("[DEVICES]\nCOM3=" + kx + "\n"), std::string::npos);
    }
}

TEST_F(PortSelectDlgTest, AutoDetectThatFindsNothingLeavesTheSelection) {
    ThreeDevices devices(false);
    writeSettings("[MODE]\nKIKI=KESTRELX\n[PORTSEL]\nPORT=0\nCOM=2\n");
    SessionResult r = run(dialog(IDD_PORT_SELECT) + click(IDC_PORTSEL_AUTODETECT) + "answer ok\n" +
                          click(IDOK) + "answer ok\n");
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(r.messageTexts(), (std::vector<std::string>{"KESTRELXが見つかりませんでした。",
                                                          "KESTRELXが接続されていません。"}));
    EXPECT_EQ(r.messages[0].icon, ui::MsgIcon::Stop);
    // COM2 stays chosen, and connecting goes to the device the user chose
    EXPECT_NE(readSettings().find("COM=2\n"), std::string::npos) << readSettings();
    EXPECT_EQ(devices.modem->transcript().lines(), (std::vector<std::string>{"ATI", "ATI"}));
}

std::string settingsFile(const std::string& text) {
    const std::string path = startupFolder() + "/devices.ini";
    writeFile(path, text);
    return path;
}

// by-id entries (sorted), then USB and ACM devices no entry points to, then the UARTs that
// report hardware; one device never stands for two entries; the rest keep /dev/ttyS<n-1>
TEST(DeviceMapTest, DevicesPresentInOrderWithTheOverrides) {
    FakeDevices fake(startupFolder() + "/fake-order");
    fake.addNode("ttyUSB0");
    fake.addNode("ttyUSB1");
    fake.addNode("ttyUSB10");
    fake.addNode("ttyUSB2");
    fake.addNode("ttyACM0");
    fake.addNode("ttyS1x");  // not a UART name
    fake.addUart("ttyS0", 4);
    fake.addUart("ttyS1", 0);  // a placeholder without hardware
    fake.addUart("ttyS2", 4);
    fake.addById("usb-Zeta_cable-if00-port0", "../../ttyUSB1");
    fake.addById("usb-Alpha_cable-if00-port0", "../../ttyUSB2");
    fake.addById("usb-Gone-if00-port0", "../../ttyUSB7");  // a link left behind
    const std::string& r = fake.root();

    const struct {
        const char* name;
        std::string settings;
        std::string runDevice;
        int runPort;
        std::vector<std::string> expected;
    } rows[] = {
        {"defaults",
         "",
         "",
         0,
         {fake.byId("usb-Alpha_cable-if00-port0"), fake.byId("usb-Zeta_cable-if00-port0"),
          r + "/dev/ttyUSB0", r + "/dev/ttyUSB10", r + "/dev/ttyACM0", r + "/dev/ttyS0",
          r + "/dev/ttyS2", r + "/dev/ttyS7", r + "/dev/ttyS8"}},
        // [DEVICES] names COM2 and COM9; a device it names is not given to another entry,
        // also when named by its other path
        {"settings file",
         "[DEVICES]\nCOM2=" + r + "/dev/ttyACM0\nCOM9=" + r + "/dev/ttyUSB2\n",
         "",
         0,
         {fake.byId("usb-Zeta_cable-if00-port0"), r + "/dev/ttyACM0", r + "/dev/ttyUSB0",
          r + "/dev/ttyUSB10", r + "/dev/ttyS0", r + "/dev/ttyS2", r + "/dev/ttyS6",
          r + "/dev/ttyS7", r + "/dev/ttyUSB2"}},
        {"run device for COM1 beats the file",
         "[DEVICES]\nCOM1=/dev/ttyX\n",
         "/dev/pts/77",
         1,
         {"/dev/pts/77", fake.byId("usb-Alpha_cable-if00-port0"),
          fake.byId("usb-Zeta_cable-if00-port0"), r + "/dev/ttyUSB0", r + "/dev/ttyUSB10",
          r + "/dev/ttyACM0", r + "/dev/ttyS0", r + "/dev/ttyS2", r + "/dev/ttyS8"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Profile settings(settingsFile(row.settings));
        DeviceMap map(settings, row.runDevice, row.runPort);
        EXPECT_EQ(map.devices(), row.expected);
        EXPECT_EQ(map.device(0), "");
        EXPECT_EQ(map.device(10), "");
    }
    // ByIdName, of a device and of a by-id entry: PortsTest's BY-ID column
}

// What this user may do with a device, as `uid` (0: as the test runs).
DeviceState stateAs(const std::string& device, uid_t uid) {
    if (uid == 0)
        return SerialDeviceState(device);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setresgid(uid, uid, uid) != 0 || ::setresuid(uid, uid, uid) != 0)
            ::_exit(99);
        ::_exit(static_cast<int>(SerialDeviceState(device)));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return static_cast<DeviceState>(WEXITSTATUS(status));
}

TEST(DeviceMapTest, AbsentAndUnreadableDevices) {
    FakeDevices fake(startupFolder() + "/fake-state");
    // root may open anything: the device nobody may use is looked at as an ordinary user
    const uid_t user = ::geteuid() == 0 ? 65534 : 0;
    ::chmod(fake.root().c_str(), 0755);
    const struct {
        const char* name;
        std::string device;
        DeviceState expected;
    } rows[] = {
        // present nodes and UARTs, missing nodes and links left behind: kxctl's PortsTest
        {"UART without hardware", fake.addUart("ttyS3", 0), DeviceState::Absent},
        {"user not in its group", fake.addNode("ttyACM0", ::geteuid() == 0 ? 0600 : 0),
         DeviceState::NoPermission},
        {"empty path", "", DeviceState::Absent},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const uid_t as = row.expected == DeviceState::NoPermission ? user : 0;
        EXPECT_EQ(stateAs(row.device, as), row.expected);
    }
}

}  // namespace
}  // namespace kx::test
