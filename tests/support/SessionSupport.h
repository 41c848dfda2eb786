#pragma once

// Runs whole sessions of the program in the test process: the emulated adapter on a pty, the
// headless backend with a scripted user, the settings file in the test's start-up folder. Every
// test starts from a fresh program: start values, empty area records, every area registered
// (a test may register its own handlers over one).

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/MainDlg.h"
#include "app/MainDlgNet.h"
#include "res/ShellIds.h"
#include "sim/Emulator.h"
#include "ui/headless/ScriptUser.h"

namespace kx::test {

// The folder every test of this binary starts in (the program's start-up folder).
const std::string& startupFolder();

// Lines of the scripted user (ui/README.md).
std::string click(int id);
std::string text(int id, const std::string& value);
std::string check(int id, bool on);
std::string select(int id, int index);
std::string scroll(int id, const char* direction);  // "up" or "down"
std::string dialog(int id);
std::string command(int id);
// A click on `button` that opens dialog `dialogId`.
std::string open(int button, int dialogId);

// Scripts: start through the port dialog into the main window; close it; a start that fails
// with a message, answered, after which the program ends by itself; on the network link, the
// wait for the administrator login.
inline const std::string kStart = dialog(IDD_PORT_SELECT) + click(IDOK) + dialog(IDD_MAIN);
inline const std::string kClose = dialog(IDD_MAIN) + click(IDC_MAIN_EXIT);
inline const std::string kStartFails = dialog(IDD_PORT_SELECT) + click(IDOK) + "answer ok\n";
inline const std::string kLoggedIn = "wait administrator Password Check OK\n";

// A settings file for serial COM1 with `mode` as the lines of its [MODE] section.
std::string serialSettings(const std::string& mode = "");
// Emulator options injecting the fault `spec` (sim/Faults.h); "" for none.
sim::EmulatorOptions withFault(const std::string& spec);

// The network link: a settings file for it to 127.0.0.1 with the two passwords; `options` for
// an adapter that serves telnet only, with the passwords "login1" and "admin2"; the main
// window's link to `port` on the loopback.
std::string networkSettings(const std::string& login = "login1",
                            const std::string& admin = "admin2");
sim::EmulatorOptions networkAdapter(sim::EmulatorOptions options = {});
CMainDlg::Config networkLink(int port, int loginTimeoutMs = kNetLoginTimeoutMs);

struct SessionResult {
    std::vector<std::string> transcript;  // command lines the adapter received
    std::vector<ui::headless::ShownMessage> messages;
    std::vector<std::string> log;  // log lines without their line end
    std::string output;            // what the scripted user printed
    bool scriptFailed = false;
    std::string failure;
    std::vector<std::string> messageTexts() const;
};

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the emulated adapter (once per test; call before run()).
    void startAdapter(sim::EmulatorOptions options = {});
    sim::Emulator& adapter() { return *emulator_; }
    // Replaces setutily.ini in the start-up folder with `text` ("" removes it).
    void writeSettings(const std::string& text);
    std::string readSettings() const;
    // One row of a table: fresh program state, `settings` written, a new adapter started.
    // The area records are reset too.
    void freshRun(const std::string& settings, sim::EmulatorOptions options = {});

    // Runs the program's main window with `script` as the user. The adapter's pty is the
    // run device unless `config.runDevice` is set.
    SessionResult run(const std::string& script, CMainDlg::Config config = {});

    // The probe lines up to and including the bare "\r".
    static std::vector<std::string> probeLines();
    static std::vector<std::string> concat(std::vector<std::string> a,
                                           const std::vector<std::string>& b);

    std::unique_ptr<sim::Emulator> emulator_;
};

// Sets fast time-outs for failure cases (the real values cost seconds per failed step).
void useFastTimings();

// A session test on those fast time-outs.
class FastSessionTest : public SessionTest {
protected:
    void SetUp() override;
};

}  // namespace kx::test
