#pragma once

// What a backend (ui/headless, ui/qt) provides, and how the program picks one. Dialog code
// never includes this; the program's main installs a backend before the first dialog:
//
//   ui::headless::install(scriptUser);   // ui/headless/Headless.h
//   ui::qt::install(argc, argv);         // ui/qt/QtBackend.h
//
// The loop logic (posted calls, timers, pumpUntil, modal runs) is shared; a backend only
// sleeps, wakes, watches descriptors, makes windows and asks the user.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ui/FileDialog.h"
#include "ui/KeyFilter.h"
#include "ui/MessageBox.h"
#include "ui/MessageLoop.h"
#include "ui/Template.h"

namespace kx::ui {

class Dialog;

// One dialog's window. Texts are UTF-8 here; the Dialog converts.
class WindowPeer {
public:
    virtual ~WindowPeer() = default;
    virtual void show() = 0;
    virtual void setCaption(std::string_view utf8) = 0;
    virtual void setText(int id, std::string_view utf8) = 0;
    virtual std::string text(int id) const = 0;
    virtual void setLimit(int id, int maxBytes) = 0;
    virtual void setChecked(int id, bool checked) = 0;
    virtual bool checked(int id) const = 0;
    virtual void setListIndex(int id, int index) = 0;
    virtual int listIndex(int id) const = 0;
    // A second, dimmer text shown beside list item `index` while the list is open (the item's
    // own text stays what is selected and read). Base: not shown.
    virtual void setListItemNote(int /*id*/, int /*index*/, std::string_view /*utf8*/) {}
    virtual void setEnabled(int id, bool on) = 0;
    virtual bool enabled(int id) const = 0;
    virtual void setVisible(int id, bool show) = 0;
    virtual bool visible(int id) const = 0;
    virtual void setWindowEnabled(bool on) = 0;
    virtual bool windowEnabled() const = 0;
    virtual void activate() = 0;
    virtual void setFocus(int id) = 0;
    virtual void lineScroll(int id, int lines) = 0;
};

struct MessageBoxRequest {
    std::string text;  // UTF-8, "\r\n" breaks lines
    std::string caption;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    Dialog* owner = nullptr;  // the active dialog, or nullptr
};

class Backend {
public:
    virtual ~Backend() = default;

    // UI thread. Handles window and descriptor events and sleeps until one arrives, interrupt()
    // is called or `timeout` has passed. Returns after the first batch of events.
    virtual void wait(std::chrono::milliseconds timeout) = 0;
    // Any thread. Makes the current or the next wait() return at once.
    virtual void interrupt() = 0;
    // The earliest due time of the timers changed (a backend that dispatches from its own
    // event loop re-arms itself; ui/qt does, so timers run inside message boxes too).
    virtual void timersChanged(Clock::time_point /*nextDue*/) {}

    virtual void addWatch(int watchId, int fd) = 0;
    virtual void removeWatch(int watchId) = 0;

    virtual std::unique_ptr<WindowPeer> createWindow(Dialog& dialog, Dialog* parent,
                                                     bool modal) = 0;

    // A modal dialog waits for the user and nothing else is due before `nextDue`. Base: wait().
    virtual void idle(Dialog& modal, Clock::time_point nextDue);

    virtual int messageBox(const MessageBoxRequest& request) = 0;
    // The file chooser (ui/FileDialog.h): the path chosen, or nullopt. Base: cancelled.
    virtual std::optional<std::string> chooseFile(const FileRequest& /*request*/) {
        return std::nullopt;
    }
    virtual void noteLogLine(std::string_view /*text*/) {}
};

// Installs `backend` as the program's (replacing one installed before; no dialog may exist
// then). Tests install a fresh one per test.
void installBackend(std::unique_ptr<Backend> backend);
// The installed backend; aborts with a message when none is installed.
Backend& backend();
bool hasBackend();

// The loop side that backends call.
namespace loop {
// Runs the posted calls and the due timers. Re-entrant (a call may run a nested wait).
void dispatchDue();
// When the next timer is due (Clock::time_point::max() when none).
Clock::time_point nextTimerDue();
// A watched descriptor is readable.
void watchReadable(int watchId);
}  // namespace loop

// Events from a window to its dialog (backends only).
struct DialogEvents {
    // A button, radio button or check box was clicked (the peer already changed its state),
    // or a menu command chosen.
    static void command(Dialog& dialog, int id);
    static void selChange(Dialog& dialog, int id);
    static void vScroll(Dialog& dialog, int id, int code);
    static void help(Dialog& dialog);
    static void close(Dialog& dialog);
    // true: control `id`'s pre-filter swallowed the message.
    static bool preTranslate(Dialog& dialog, int id, const KeyMessage& message);
    static bool hasKeyFilter(const Dialog& dialog, int id);
    // The dialog's window, or nullptr.
    static WindowPeer* peer(const Dialog& dialog);
    // Ends the run regardless of handlers (a script that failed, a window that went away).
    static void forceEnd(Dialog& dialog, int result);
    // Which window of the dialog this is: a new number each time its window is created, never
    // reused in the process (a dialog object at the address of an ended one is told apart).
    static std::uint64_t run(const Dialog& dialog);
};

}  // namespace kx::ui
