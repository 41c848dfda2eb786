#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/DateTimeCommands.h"
#include "app/services/AreaContext.h"
#include "link/ReplyBuffer.h"
#include "ui/Dialog.h"

namespace kx {

// The network link's seam: starts the connect to the adapter at `ipAddress` (the login follows
// later through socket notifications). True when the connect was started.
using NetConnectFn = std::function<bool(const std::string& ipAddress)>;
// Closes the network link at the end of the run.
using NetCloseFn = std::function<void()>;

// The program's main window: one button per settings area, the menu, the debug log pane.
// It owns the connection for the whole run and the reply buffer that the probe, the close path
// and every area reader use.
// How far the link has come: none, open, and over the network the administrator login done.
enum class ConnectionState { NoLink, LinkOpen, LoggedIn };

class CMainDlg : public ui::Dialog {
public:
    struct Config {
        std::string runDevice;  // --port DEVICE (or the demo's pty): replaces the COM mapping
        int runPort = 0;        // the COM port runDevice stands for; 0: whichever is chosen
        bool router = false;    // --router: controls for the router commands
        // --demo: the emulated adapter's name, taken when the settings file names no device
        std::string demoDeviceName;
        Clock clock = systemLocalTime;  // the date and time registration's clock
        NetConnectFn netConnect;        // empty: the network link is not available
        NetCloseFn netClose;
    };

    explicit CMainDlg(Config config);
    ~CMainDlg() override;

    // --- services for the settings areas ---
    // Appends a log line (every text ends in "\r\n") to the log pane, which keeps every line
    // and scrolls to the newest.
    void LogLine(std::string_view text);
    // The context of an area's reader and writer: this window's reply buffer and log, the
    // settings time-out of shellTimings().
    AreaContext areaContext();
    ConnectionState connectionState() const { return connectionState_; }
    void setConnectionState(ConnectionState state) { connectionState_ = state; }

    const std::string& logText() const { return logText_; }
    int logLineCount() const { return logLineCount_; }

    // The main window of the running program, or nullptr.
    static CMainDlg* instance();

protected:
    bool OnInitDialog() override;
    void OnOK() override {}  // no OK button; Enter does nothing
    void OnCancel() override;
    void OnClose() override;
    void OnCommand(int id) override;
    void OnHelp() override;

private:
    // start-up (MainDlgStartup.cpp)
    void readSettings();
    bool connect();
    bool connectSerial();
    bool stopWithMessage(const std::string& text);
    // the settings cycle (SettingsCycle.cpp)
    void runArea(int command);
    // maintenance (Maintenance.cpp)
    void factoryInitialise();
    void registerDateTime();
    void showVersion();
    // the settings document and the history (SettingsFile.cpp)
    void saveSettings();
    void restoreSettings();
    // An area was read; `complete`: its reader found every item's label.
    void noteAreaRead(int command, bool complete);
    // Before the first write of the area of `command` in this run: its snapshot is added to
    // the run's history document.
    void saveBeforeWrite(int command);
    // Before "restart": every area read in this run, in a history document of its own.
    void saveBeforeInitialise();
    // the close path
    void closeSession();
    // The date and time as the run's clock gives them.
    LocalTime now() const { return config_.clock ? config_.clock() : systemLocalTime(); }
    int exchange(std::string_view command, int timeoutMs, int kind);
    void showStop(const std::string& text);

    // Writes a lost adapter to the log as soon as the loop wakes for it, not only at the next
    // exchange.
    static constexpr int kLinkEventsTimer = 3;

    Config config_;
    bool router_ = false;         // the router commands are shown
    std::string documentFolder_;  // where the last document was saved; empty: none yet
    // The history of this run: the areas read (kxctl's names), each with whether its reader
    // found every item, the areas already saved before their first write, and that document.
    std::map<std::string, bool> readAreas_;
    std::vector<std::string> historyAreas_;
    std::string historyPath_;
    std::string historyFailure_;  // shown in the status line until the run ends
    char replyStorage_[kMainReplyCapacity] = {};
    ReplyBuffer reply_{std::span<char>(replyStorage_)};
    std::string logText_;
    int logLineCount_ = 0;
    ConnectionState connectionState_ = ConnectionState::NoLink;
    // An area cycle or a maintenance command runs. A close request that arrives meanwhile (the
    // window manager's close button still works on a disabled window) waits until it is done.
    void beginBusy();
    void endBusy();
    bool busy_ = false;
    bool closePending_ = false;
    bool closing_ = false;  // the close path ran (or runs)
};

}  // namespace kx
