#include "ui/headless/ScriptUser.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <fstream>
#include <iostream>
#include <sstream>

#include "link/TextFunctions.h"
#include "ui/Backend.h"
#include "ui/Dialog.h"
#include "ui/FileDialog.h"
#include "ui/headless/HeadlessWindow.h"

namespace kx::ui::headless {

enum class Action {
    Dialog,
    Text,
    Type,
    Click,
    Check,
    Select,
    Scroll,
    Key,
    Command,
    Answer,
    File,
    Wait,
    Close
};

struct ScriptUser::Line {
    int number = 0;
    Action action = Action::Close;
    int id = 0;
    int arg = 0;        // check 0/1, select index, scroll code, answer IDOK/IDCANCEL
    std::string value;  // text, type, wait, file
    std::string error;  // why the line cannot be read; reported when it is taken
};

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimStart(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

// Blank lines and lines whose first non-blank character is '#' are no actions.
bool isAction(std::string_view line) {
    line = trimStart(line);
    return !line.empty() && line.front() != '#';
}

// Splits off the first blank-separated word; `rest` is what follows the one blank after it.
std::string_view word(std::string_view s, std::string_view& rest) {
    std::size_t end = 0;
    while (end < s.size() && !isBlank(s[end])) ++end;
    rest = end < s.size() ? s.substr(end + 1) : std::string_view();
    return s.substr(0, end);
}

bool parseInt(std::string_view s, int& out) {
    if (s.empty())
        return false;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && ptr == s.data() + s.size() && out >= 0;
}

// A word or value of the script in quotes, for a reason. Control bytes (a stray CR, an escape)
// are shown as \xNN, so the "script:" line stays one readable line.
std::string quoted(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7f) {
            const char* hex = "0123456789abcdef";
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 0xf];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// A message box's text on one line, for reasons.
std::string oneLine(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\r')
            continue;
        out += c == '\n' ? ' ' : c;
    }
    return out;
}

std::string seconds(std::chrono::milliseconds t) {
    if (t.count() % 1000 == 0)
        return std::to_string(t.count() / 1000) + " s";
    return std::to_string(t.count()) + " ms";
}

std::chrono::milliseconds until(Clock::time_point t) {
    auto now = Clock::now();
    if (t <= now)
        return std::chrono::milliseconds(0);
    return std::chrono::ceil<std::chrono::milliseconds>(
        std::min(t - now, Clock::duration(std::chrono::hours(1))));
}

struct ActionName {
    std::string_view name;
    Action action;
};
constexpr ActionName kActions[] = {
    {"dialog", Action::Dialog}, {"text", Action::Text},   {"type", Action::Type},
    {"click", Action::Click},   {"check", Action::Check}, {"select", Action::Select},
    {"scroll", Action::Scroll}, {"key", Action::Key},     {"command", Action::Command},
    {"answer", Action::Answer}, {"wait", Action::Wait},   {"close", Action::Close},
    {"file", Action::File},
};

}  // namespace

std::unique_ptr<ScriptUser> ScriptUser::fromText(std::string_view script) {
    std::vector<std::string> lines;
    // an editor's byte-order mark is not part of the first line
    if (script.substr(0, 3) == "\xEF\xBB\xBF")
        script.remove_prefix(3);
    std::size_t start = 0;
    while (start < script.size()) {
        std::size_t end = script.find('\n', start);
        if (end == std::string_view::npos)
            end = script.size();
        std::string_view line = script.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return std::unique_ptr<ScriptUser>(new ScriptUser(std::move(lines)));
}

std::unique_ptr<ScriptUser> ScriptUser::fromFile(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error)
            *error = "cannot read the script " + path;
        return nullptr;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return fromText(text.str());
}

ScriptUser::ScriptUser(std::vector<std::string> lines)
    : lines_(std::move(lines)), out_(&std::cout) {}

ScriptUser::~ScriptUser() = default;

bool ScriptUser::takeLine() {
    while (next_ < lines_.size()) {
        int number = static_cast<int>(next_) + 1;
        std::string_view text = trimStart(lines_[next_++]);
        if (!isAction(text))
            continue;

        auto line = std::make_unique<Line>();
        line->number = number;
        std::string_view rest;
        std::string_view name = word(text, rest);
        auto known = std::find_if(std::begin(kActions), std::end(kActions),
                                  [&](const ActionName& a) { return a.name == name; });
        if (known == std::end(kActions)) {
            line->error = "unknown action " + quoted(name);
        } else {
            line->action = known->action;
            Action a = line->action;
            bool takesId = a != Action::Key && a != Action::Answer && a != Action::Wait &&
                           a != Action::Close && a != Action::File;
            // words may stand apart by several blanks; only a value keeps what follows the
            // one blank after its id
            std::string_view after = rest;
            if (takesId) {
                std::string_view idText = word(trimStart(rest), after);
                if (!parseInt(idText, line->id))
                    line->error = std::string(name) + " needs an id, not " + quoted(idText);
            }
            std::string_view arg = trimmed(after);
            if (!line->error.empty()) {
            } else if (a == Action::Text || a == Action::Type || a == Action::Wait) {
                line->value = a == Action::Wait ? trimmed(rest) : after;
                if (a == Action::Wait && line->value.empty())
                    line->error = "wait needs a text";
            } else if (a == Action::Check) {
                if (arg == "0" || arg == "1")
                    line->arg = arg == "1";
                else
                    line->error = "check needs 0 or 1, not " + quoted(arg);
            } else if (a == Action::Select) {
                if (!parseInt(arg, line->arg))
                    line->error = "select needs an item index, not " + quoted(arg);
            } else if (a == Action::Scroll) {
                if (arg == "up")
                    line->arg = kScrollLineUp;
                else if (arg == "down")
                    line->arg = kScrollLineDown;
                else
                    line->error = "scroll needs up or down, not " + quoted(arg);
            } else if (a == Action::Key) {
                if (trimmed(rest) != "F1")
                    line->error = "key knows only F1, not " + quoted(trimmed(rest));
            } else if (a == Action::Answer) {
                std::string_view answer = trimmed(rest);
                if (answer == "ok")
                    line->arg = IDOK;
                else if (answer == "cancel")
                    line->arg = IDCANCEL;
                else
                    line->error = "answer needs ok or cancel, not " + quoted(answer);
            } else if (a == Action::File) {
                std::string_view path = trimmed(rest);
                if (path == "cancel")
                    line->arg = IDCANCEL;
                else if (path.empty())
                    line->error = "file needs a path or cancel";
                else
                    line->value = path;
            } else if (a == Action::Close) {
                if (!trimmed(rest).empty())
                    line->error = "close takes nothing after it";
            } else if (!arg.empty()) {
                line->error = std::string(name) + " takes only an id";
            }
        }
        if (line->action == Action::Dialog || line->action == Action::Wait)
            pendingDeadline_ = Clock::now() + timeout_;
        pending_ = std::move(line);
        return true;
    }
    return false;
}

bool ScriptUser::pendingDone(const Dialog* active) {
    if (!pending_ || !pending_->error.empty())
        return false;
    if (pending_->action == Action::Dialog) {
        if (!active || active->templateId() != pending_->id)
            return false;
        pending_.reset();
        return true;
    }
    if (pending_->action != Action::Wait)
        return false;
    for (std::size_t i = logCursor_; i < logLines_.size(); ++i)
        if (logLines_[i].find(pending_->value) != std::string::npos) {
            logCursor_ = i + 1;
            pending_.reset();
            return true;
        }
    return false;
}

void ScriptUser::endOfRun() {
    if (failed())
        return;
    if (pending_) {
        fail(pending_->number, "the program ended before this line was done");
        return;
    }
    for (std::size_t i = next_; i < lines_.size(); ++i) {
        if (!isAction(lines_[i]))
            continue;
        fail(static_cast<int>(i) + 1, "the program ended before this line");
        return;
    }
}

void ScriptUser::fail(int line, std::string reason) {
    if (failed())
        return;
    failedLine_ = line;
    failureReason_ = std::move(reason);
    *out_ << "script: line " << line << ": " << failureReason_ << std::endl;
}

void ScriptUser::sleepUntil(Clock::time_point t, Clock::time_point nextDue) {
    backend().wait(until(std::min(t, nextDue)));
}

void ScriptUser::idle(Dialog& modal, Clock::time_point nextDue) {
    if (failed())
        return failedIdle(modal);
    std::string dialogName = "dialog " + std::to_string(modal.templateId());
    if (!pending_ && !takeLine()) {
        fail(static_cast<int>(lines_.size()) + 1,
             "the script ended while " + dialogName + " waits for the user");
        return failedIdle(modal);
    }
    Line& line = *pending_;
    if (!line.error.empty()) {
        auto taken = std::move(pending_);
        fail(taken->number, taken->error);
        return failedIdle(modal);
    }
    switch (line.action) {
        case Action::Dialog:
            if (modal.templateId() == line.id) {
                pending_.reset();
            } else if (Clock::now() >= pendingDeadline_) {
                auto taken = std::move(pending_);
                fail(taken->number, "dialog " + std::to_string(taken->id) +
                                        " did not appear within " + seconds(timeout_) + " (" +
                                        dialogName + " is active)");
            } else {
                sleepUntil(pendingDeadline_, nextDue);
            }
            return;
        case Action::Wait: {
            if (pendingDone(&modal))
                return;
            if (Clock::now() >= pendingDeadline_) {
                auto taken = std::move(pending_);
                fail(taken->number, "no log line containing " + quoted(taken->value) + " within " +
                                        seconds(timeout_));
            } else {
                sleepUntil(pendingDeadline_, nextDue);
            }
            return;
        }
        case Action::Answer: {
            auto taken = std::move(pending_);
            fail(taken->number, "no message box is shown (" + dialogName + " is active)");
            return;
        }
        case Action::File: {
            auto taken = std::move(pending_);
            fail(taken->number, "no file chooser is shown (" + dialogName + " is active)");
            return;
        }
        default:
            perform(modal);
            return;
    }
}

void ScriptUser::perform(Dialog& modal) {
    // the action may open a nested dialog, which takes the following lines itself
    std::unique_ptr<Line> line = std::move(pending_);
    auto* window = dynamic_cast<HeadlessWindow*>(DialogEvents::peer(modal));
    std::string dialogName = "dialog " + std::to_string(modal.templateId());
    std::string why;
    if (!window) {
        why = dialogName + " has no window";
    } else if (!window->windowEnabled()) {
        why = dialogName + " is disabled";
    } else {
        switch (line->action) {
            case Action::Text:
                why = window->paste(line->id, line->value);
                break;
            case Action::Type:
                why = window->type(line->id, line->value);
                break;
            case Action::Click:
                why = window->click(line->id);
                break;
            case Action::Check:
                why = window->setCheck(line->id, line->arg != 0);
                break;
            case Action::Select:
                why = window->select(line->id, line->arg);
                break;
            case Action::Scroll:
                why = window->scroll(line->id, line->arg);
                break;
            case Action::Key:
                DialogEvents::help(modal);
                break;
            case Action::Command:
                DialogEvents::command(modal, line->id);
                break;
            case Action::Close:
                DialogEvents::close(modal);
                break;
            default:
                break;
        }
    }
    if (!why.empty())
        fail(line->number, why);
}

void ScriptUser::failedIdle(Dialog& modal) {
    // leave by the program's own close path: a close request first, then, should the dialog
    // stay, end it
    // (by window, not by address: a close handler may run a dialog of its own, and a later
    // dialog may stand where an ended one stood)
    if (closeSentTo_.insert(DialogEvents::run(modal)).second) {
        DialogEvents::close(modal);
    } else {
        DialogEvents::forceEnd(modal, IDCANCEL);
    }
}

int ScriptUser::messageBox(const MessageBoxRequest& request) {
    std::string printed;
    for (char c : request.text)
        if (c != '\r')
            printed += c;
    *out_ << "message: " << printed << std::endl;
    messages_.push_back({request.text, request.caption, request.buttons, request.icon, 0});
    int fallback = request.buttons == MsgButtons::OkCancel ? IDCANCEL : IDOK;
    int answer = fallback;

    std::string shown = "a message box is shown (" + quoted(oneLine(request.text)) + ")";
    if (!failed()) {
        // a "wait" whose line was logged, or a "dialog" that is active, is done: the box takes
        // the line after it
        pendingDone(request.owner);
        if (pending_) {
            auto taken = std::move(pending_);
            fail(taken->number, shown + " instead");
        } else if (!takeLine()) {
            fail(static_cast<int>(lines_.size()) + 1, "the script ended while " + shown);
        } else {
            auto taken = std::move(pending_);
            if (!taken->error.empty())
                fail(taken->number, taken->error);
            else if (taken->action != Action::Answer)
                fail(taken->number, shown + "; the line must answer it");
            else if (taken->arg == IDCANCEL && request.buttons == MsgButtons::Ok)
                fail(taken->number, "the message box has no cancel button");
            else
                answer = taken->arg;
        }
        if (failed())
            answer = fallback;
    }
    messages_.back().answer = answer;
    return answer;
}

std::optional<std::string> ScriptUser::chooseFile(const FileRequest& request) {
    if (failed())
        return std::nullopt;
    const std::string shown = "a file chooser is shown (" + quoted(request.caption) + ")";
    // as with a message box: the line after the one that opened the chooser answers it
    pendingDone(request.owner);
    if (pending_) {
        auto taken = std::move(pending_);
        fail(taken->number, shown + " instead");
        return std::nullopt;
    }
    if (!takeLine()) {
        fail(static_cast<int>(lines_.size()) + 1, "the script ended while " + shown);
        return std::nullopt;
    }
    auto taken = std::move(pending_);
    if (!taken->error.empty()) {
        fail(taken->number, taken->error);
        return std::nullopt;
    }
    if (taken->action != Action::File) {
        fail(taken->number, shown + "; the line must answer it");
        return std::nullopt;
    }
    if (taken->arg == IDCANCEL)
        return std::nullopt;
    if (taken->value.front() == '/')
        return taken->value;
    char here[PATH_MAX];
    if (!::getcwd(here, sizeof here))
        return taken->value;
    return std::string(here) + (here[1] == '\0' ? "" : "/") + taken->value;
}

void ScriptUser::noteLogLine(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    *out_ << "log: " << text << std::endl;
    logLines_.emplace_back(text);
}

}  // namespace kx::ui::headless
