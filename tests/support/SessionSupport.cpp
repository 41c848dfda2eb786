#include "tests/support/SessionSupport.h"

#include <unistd.h>

#include <filesystem>

#include "app/AreaRegistry.h"
#include "app/Profile.h"
#include "app/SetupApp.h"
#include "app/ShellTimings.h"
#include "app/program/AllAreas.h"
#include "app/services/AppState.h"
#include "app/services/HelpPages.h"
#include "cli/Session.h"
#include "sim/Faults.h"
#include "tests/support/Files.h"
#include "tests/support/StateHome.h"
#include "ui/headless/Headless.h"

namespace kx::test {

std::string click(int id) {
    return "click " + std::to_string(id) + "\n";
}
std::string text(int id, const std::string& value) {
    return "text " + std::to_string(id) + " " + value + "\n";
}
std::string check(int id, bool on) {
    return "check " + std::to_string(id) + (on ? " 1\n" : " 0\n");
}
std::string select(int id, int index) {
    return "select " + std::to_string(id) + " " + std::to_string(index) + "\n";
}
std::string scroll(int id, const char* direction) {
    return "scroll " + std::to_string(id) + " " + direction + "\n";
}
std::string dialog(int id) {
    return "dialog " + std::to_string(id) + "\n";
}
std::string command(int id) {
    return "command " + std::to_string(id) + "\n";
}
std::string open(int button, int dialogId) {
    return click(button) + dialog(dialogId);
}

namespace {

// Moves the test process into a folder of its own before anything asks for the start-up
// folder, so the settings files the tests write never touch the source tree.
class StartupFolderEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        auto dir =
            std::filesystem::temp_directory_path() / ("kx-app-tests-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
        folder() = StartupDirectory();
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::current_path("/", ec);
        std::filesystem::remove_all(folder(), ec);
    }
    static std::string& folder() {
        static std::string f;
        return f;
    }
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new StartupFolderEnvironment);

}  // namespace

const std::string& startupFolder() {
    return StartupFolderEnvironment::folder();
}

std::vector<std::string> SessionResult::messageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : messages) texts.push_back(m.text);
    return texts;
}

std::string serialSettings(const std::string& mode) {
    return (mode.empty() ? "" : "[MODE]\n" + mode) + "[PORTSEL]\nPORT=0\nCOM=1\n";
}

sim::EmulatorOptions withFault(const std::string& spec) {
    sim::EmulatorOptions options;
    if (spec.empty())
        return options;
    sim::FaultRule rule;
    std::string error;
    EXPECT_TRUE(sim::parseFault(spec, rule, error)) << error;
    options.faults.push_back(rule);
    return options;
}

std::string networkSettings(const std::string& login, const std::string& admin) {
    return "[PORTSEL]\nPORT=1\nCOM=1\n[IPADDR]\nFIELD=127.0.0.1\n[OPTION]\nDATA1=" + login +
           "\nDATA2=" + admin + "\n";
}

sim::EmulatorOptions networkAdapter(sim::EmulatorOptions options) {
    options.pty = false;
    options.telnetPort = 0;
    options.adapter.loginPassword = "login1";
    options.adapter.adminPassword = "admin2";
    return options;
}

CMainDlg::Config networkLink(int port, int loginTimeoutMs) {
    CMainDlg::Config config;
    NetLinkSettings net;
    net.port = port;
    net.loginTimeoutMs = loginTimeoutMs;
    attachNetworkLink(config, net);
    return config;
}

void useFastTimings() {
    ShellTimings& t = shellTimings();
    t.probeSettle = std::chrono::milliseconds(10);
    // long enough for any reply on a loaded machine, short enough for a silent adapter
    t.atTimeoutMs = 1000;
    t.probeFinalTimeoutMs = 100;  // the bare "\r" always waits it out
    t.fromwrTimeoutMs = 1000;
    t.exitTimeoutMs = 1000;
    t.commandTimeoutMs = 1000;
}

void FastSessionTest::SetUp() {
    SessionTest::SetUp();
    useFastTimings();
}

void SessionTest::SetUp() {
    resetAppState();
    resetAreaRecords();
    clearAreas();
    registerAllAreas();
    cli::installSettingsDocuments();
    shellTimings() = ShellTimings{};
    helpSearchDirectories() = {KX_HELP_SOURCE_DIR};
    writeSettings("[PORTSEL]\nPORT=0\nCOM=1\n");
}

void SessionTest::TearDown() {
    emulator_.reset();
    clearAreas();
    shellTimings() = ShellTimings{};
    writeSettings("");
}

void SessionTest::startAdapter(sim::EmulatorOptions options) {
    std::string error;
    emulator_ = sim::Emulator::start(std::move(options), error);
    ASSERT_TRUE(emulator_) << error;
}

void SessionTest::writeSettings(const std::string& text) {
    std::string path = SettingsFilePath(startupFolder());
    if (text.empty()) {
        std::filesystem::remove(path);
        return;
    }
    writeFile(path, text);
}

void SessionTest::freshRun(const std::string& settings, sim::EmulatorOptions options) {
    resetAppState();
    resetAreaRecords();
    writeSettings(settings);
    startAdapter(std::move(options));
}

std::string SessionTest::readSettings() const {
    return readFile(SettingsFilePath(startupFolder()));
}

SessionResult SessionTest::run(const std::string& script, CMainDlg::Config config) {
    std::shared_ptr<ui::headless::ScriptUser> user = ui::headless::ScriptUser::fromText(script);
    std::ostringstream out;
    user->setOutput(out);
    ui::headless::install(user);
    if (config.runDevice.empty() && emulator_)
        config.runDevice = emulator_->ptyPath();
    CSetupApp app(config);
    app.InitInstance();

    SessionResult r;
    if (emulator_)
        r.transcript = emulator_->transcript().lines();
    r.messages = user->messages();
    r.log = user->logLines();
    r.output = out.str();
    r.scriptFailed = user->failed();
    r.failure = user->failureReason();
    return r;
}

std::vector<std::string> SessionTest::probeLines() {
    return {"ATI", "AT%I2", "AT%M", "ATT1", ""};
}

std::vector<std::string> SessionTest::concat(std::vector<std::string> a,
                                             const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace kx::test
