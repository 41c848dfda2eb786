#pragma once

// The scripted user of the headless backend: replays a user session written one action a line
// (the replay-script vocabulary: dialog, text, type, click, check, select, scroll, key,
// command, answer, file, wait, close; "#" comment lines and blank lines are skipped).
//
// The script is pulled: whenever the program waits for the user (a modal dialog is idle, or a
// message box is shown) the next line is taken. Output goes to `out` (standard output by
// default): "message: TEXT" for every message box, "log: TEXT" for every log line, and
// "script: line N: REASON" for the first line that cannot be done. After a failure the user
// answers every message box (Cancel where there is one, else OK) and sends each waiting dialog
// a close request, so the program leaves through its normal close path; the program then
// checks failed() and ends with exit status 2.

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ui/MessageBox.h"
#include "ui/MessageLoop.h"

namespace kx::ui {
class Dialog;
struct MessageBoxRequest;
struct FileRequest;
}  // namespace kx::ui

namespace kx::ui::headless {

struct ShownMessage {
    std::string text;
    std::string caption;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    int answer = 0;  // IDOK or IDCANCEL
};

class ScriptUser {
public:
    // The script's lines from text (tests) or a file; nullptr and `error` set when the file
    // cannot be read.
    static std::unique_ptr<ScriptUser> fromText(std::string_view script);
    static std::unique_ptr<ScriptUser> fromFile(const std::string& path, std::string* error);

    ~ScriptUser();

    // How long "dialog ID" and "wait TEXT" wait (15 s unless set).
    void setTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }
    // Where the "message:", "log:" and "script:" lines go (standard output unless set; the
    // stream must outlive the user).
    void setOutput(std::ostream& out) { out_ = &out; }

    bool failed() const { return failedLine_ != 0; }
    int failedLine() const { return failedLine_; }  // 1-based; 0 while nothing failed
    const std::string& failureReason() const { return failureReason_; }
    // Every message box shown so far, in order.
    const std::vector<ShownMessage>& messages() const { return messages_; }
    // Every log line noted so far, without its line end.
    const std::vector<std::string>& logLines() const { return logLines_; }
    // Whether every line has been taken.
    bool finished() const { return next_ >= lines_.size() && !pending_; }

    // The program has ended: a line still pending or not yet taken (comments and blank lines
    // aside) cannot be done any more, so it fails the script. Call once, after the run.
    void endOfRun();

    // Called by the headless backend.
    void idle(Dialog& modal, Clock::time_point nextDue);
    int messageBox(const MessageBoxRequest& request);
    // The line after the one that opened the chooser must be "file PATH" (a relative PATH is
    // taken from the current folder) or "file cancel".
    std::optional<std::string> chooseFile(const FileRequest& request);
    void noteLogLine(std::string_view text);

private:
    struct Line;
    explicit ScriptUser(std::vector<std::string> lines);

    bool takeLine();  // false at the end of the script
    // Completes a pending "wait" whose text has been logged or a pending "dialog" that is
    // `active`; true when it did.
    bool pendingDone(const Dialog* active);
    void perform(Dialog& modal);
    void fail(int line, std::string reason);
    void failedIdle(Dialog& modal);
    void sleepUntil(Clock::time_point until, Clock::time_point nextDue);

    std::vector<std::string> lines_;
    std::size_t next_ = 0;           // index of the next line to take
    std::unique_ptr<Line> pending_;  // the line taken and not yet done
    Clock::time_point pendingDeadline_{};
    std::size_t logCursor_ = 0;  // "wait" searches the log lines from here
    std::chrono::milliseconds timeout_{15000};
    std::ostream* out_;
    int failedLine_ = 0;
    std::string failureReason_;
    std::set<std::uint64_t> closeSentTo_;  // windows (DialogEvents::run) sent a close request
    std::vector<ShownMessage> messages_;
    std::vector<std::string> logLines_;
};

}  // namespace kx::ui::headless
