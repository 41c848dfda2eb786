// Start-up end to end: the port dialog, the device probe against the emulated adapter, the
// firmware gate and every message of the failure table.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <thread>

#include "app/AppState.h"
#include "res/ShellIds.h"
#include "sim/Faults.h"
#include "tests/app/SessionSupport.h"
#include "ui/MessageBox.h"

namespace kx::test {
namespace {

const char* const kStartAndClose = "dialog 129\nclick 1\ndialog 102\nclick 1590\n";
// A start that fails with a message: the box is answered, and the program ends by itself.
const char* const kStartFails = "dialog 129\nclick 1\nanswer ok\n";

sim::FaultRule fault(const std::string& spec) {
    sim::FaultRule rule;
    std::string error;
    EXPECT_TRUE(sim::parseFault(spec, rule, error)) << error;
    return rule;
}

class StartupTest : public SessionTest {};

TEST_F(StartupTest, ProbeWithTheRealWaitsConnectsAndCloseSendsOnlyExit) {
    writeSettings("[MODE]\nKIKI=KESTRELX\n[PORTSEL]\nPORT=0\nCOM=1\n");
    startAdapter();
    SessionResult r = run(kStartAndClose);
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(r.transcript, concat(probeLines(), {"exit"}));
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.log, std::vector<std::string>{"com open"});
    EXPECT_EQ(firmwareVersionText, "Version 2.10a");
    EXPECT_EQ(windowTitle, "KESTRELX 設定ユーティリティ");
}

TEST_F(StartupTest, EachProbeFailureShowsItsMessageAndSendsNothingMore) {
    useFastTimings();
    struct Row {
        const char* name;
        const char* mode;   // [MODE] lines
        const char* fault;  // "" for none
        const char* message;
        std::vector<std::string> transcript;
    } rows[] = {
        {"no answer to ATI",
         "KIKI=KESTRELX\n",
         "silent:ATI",
         "機器が接続されていません。",
         {"ATI"}},
        {"name missing", "KIKI=KXOTHER\n", "", "KXOTHERが接続されていません。", {"ATI"}},
        {"AT%I2 fails",
         "KIKI=KESTRELX\n",
         "silent:AT%I2",
         "KESTRELXが接続されていません。",
         {"ATI", "AT%I2"}},
        {"AT%M fails",
         "KIKI=KESTRELX\n",
         "silent:AT%M",
         "KESTRELXが接続されていません。",
         {"ATI", "AT%I2", "AT%M"}},
        {"ATT1 fails",
         "KIKI=KESTRELX\n",
         "silent:ATT1",
         "KESTRELXが接続されていません。",
         {"ATI", "AT%I2", "AT%M", "ATT1"}},
        // the gate comes after the probe: the link is open, so the close leaves with "exit\r"
        {"version below VER",
         "VER=2.11\n",
         "",
         "現在のファームウェアでは、ご使用になれません。",
         {"ATI", "AT%I2", "AT%M", "ATT1", "", "exit"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        resetAppState();
        writeSettings(std::string("[MODE]\n") + row.mode + "[PORTSEL]\nPORT=0\nCOM=1\n");
        sim::EmulatorOptions options;
        if (*row.fault)
            options.faults.push_back(fault(row.fault));
        startAdapter(options);
        SessionResult r = run(kStartFails);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.messages[0].text, row.message);
        EXPECT_EQ(r.messages[0].icon, ui::MsgIcon::Stop);
        EXPECT_EQ(r.messages[0].caption, windowTitle);
        EXPECT_EQ(r.transcript, row.transcript);
        EXPECT_TRUE(r.log.empty() || r.log.back() == "com open");
    }
}

TEST_F(StartupTest, NameAndVersionChecksFollowTheReplies) {
    useFastTimings();
    struct Row {
        const char* mode;
        const char* version;
        bool passes;
    } rows[] = {
        {"KIKI=kestrelx\n", "2.10a", true},  // letters compared without regard to case
        {"VER=2.1\n", "2.10a", true},
        {"VER=2.10\n", "2.10a", true},
        {"VER=2.11\n", "2.10a", false},
        {"VER=0.5\n", "x.yzw", false},  // a number part that is no number reads as 0.0
        {"", "x.yzw", true},            // no VER: every version passes
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.mode) + row.version);
        resetAppState();
        writeSettings(std::string("[MODE]\n") + row.mode + "[PORTSEL]\nPORT=0\nCOM=1\n");
        sim::EmulatorOptions options;
        options.adapter.version = row.version;
        startAdapter(options);
        SessionResult r = run(row.passes ? kStartAndClose : kStartFails);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.messages.empty(), row.passes);
        EXPECT_EQ(firmwareVersionText, std::string("Version ") + row.version);
    }
}

TEST_F(StartupTest, PortThatCannotBeOpenedNamesTheReason) {
    CMainDlg::Config config;
    config.runDevice = startupFolder() + "/no-such-tty";
    SessionResult r = run(kStartFails, config);
    EXPECT_EQ(r.messageTexts(), std::vector<std::string>{"指定したポートがオープンできません。"});
    ASSERT_EQ(r.log.size(), 1u);
    EXPECT_NE(r.log[0].find("Cannot open COM1 (" + config.runDevice + "): "), std::string::npos)
        << r.log[0];
}

TEST_F(StartupTest, ComOutOfRangeLeavesNoSelectionAndCannotOpen) {
    // also values that do not fit an int, and ones that are no number at all
    for (const char* com : {"0", "10", "-1", "99999999999", "-99999999999", "x1"}) {
        SCOPED_TRACE(com);
        writeSettings(std::string("[PORTSEL]\nPORT=0\nCOM=") + com + "\n");
        startAdapter();
        SessionResult r = run(kStartFails);
        EXPECT_EQ(r.messageTexts(),
                  std::vector<std::string>{"指定したポートがオープンできません。"});
        EXPECT_TRUE(r.transcript.empty());
        EXPECT_NE(readSettings().find("COM=0"), std::string::npos) << readSettings();
    }
}

TEST_F(StartupTest, CancelledPortDialogEndsWithoutAnyExchange) {
    startAdapter();
    SessionResult r = run("dialog 129\nclick 2\n");
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_TRUE(r.transcript.empty());
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(readSettings(), "[PORTSEL]\nPORT=0\nCOM=1\n");  // nothing written
}

// A peer on a pty whose AT%I2 reply has no "Version ": the emulator always sends one.
class NoVersionPeer {
public:
    NoVersionPeer() {
        char name[128] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            return;
        path_ = name;
        thread_ = std::thread([this] { serve(); });
    }
    ~NoVersionPeer() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        if (master_ >= 0)
            ::close(master_);
        if (slave_ >= 0)
            ::close(slave_);
    }
    const std::string& path() const { return path_; }

private:
    void serve() {
        std::string line;
        while (!stop_) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            char c;
            if (::read(master_, &c, 1) != 1)
                continue;
            if (c != '\r') {
                line += c;
                continue;
            }
            std::string reply =
                line == "AT%I2" ? "\r\nFW 2.10a\r\nOK\r\n" : "\r\nKESTRELX\r\nOK\r\n";
            (void)!::write(master_, reply.data(), reply.size());
            line.clear();
        }
    }
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST_F(StartupTest, ReplyWithoutVersionTextIsNotTheAdapter) {
    useFastTimings();
    writeSettings("[MODE]\nKIKI=KESTRELX\n[PORTSEL]\nPORT=0\nCOM=1\n");
    NoVersionPeer peer;
    ASSERT_FALSE(peer.path().empty());
    CMainDlg::Config config;
    config.runDevice = peer.path();
    SessionResult r = run(kStartFails, config);
    EXPECT_EQ(r.messageTexts(), std::vector<std::string>{"KESTRELXが接続されていません。"});
    EXPECT_EQ(firmwareVersionText, "");
}

}  // namespace
}  // namespace kx::test
