// The replay-script reader (kestrelx-setup --headless --script FILE) fed any bytes as a script.
// Message boxes are shown to the scripted user one after another, so every action line is
// taken and read; each must either answer the box or stop the script with a reason.
// Besides crashes and sanitizer reports it checks the reader against a plain reading of the
// script format: comments and blank lines are skipped; "answer ok|cancel" answers; any other
// well-formed line stops the script as "the line must answer it", a malformed one with its own
// reason; the failure names the right line; a cancel is refused where the box has none; and
// every line written out is one line with no CR or other control byte in it.

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "ui/Backend.h"
#include "ui/Dialog.h"
#include "ui/headless/ScriptUser.h"

namespace {

enum class Expect { Ok, Cancel, OtherAction, Malformed };

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && isBlank(line[at])) ++at;
        const std::size_t start = at;
        while (at < line.size() && !isBlank(line[at])) ++at;
        if (at > start)
            out.push_back(line.substr(start, at - start));
    }
    return out;
}

// A control id or index: decimal digits (a "-" only before a zero), within int.
bool isNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
        if (value > 0x7fffffff)
            return false;
    }
    return !negative || value == 0;
}

std::string_view afterFirstWord(std::string_view line) {
    while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
    std::size_t at = 0;
    while (at < line.size() && !isBlank(line[at])) ++at;
    line.remove_prefix(at);
    while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
    while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
    return line;
}

Expect expected(std::string_view line) {
    const std::vector<std::string_view> w = words(line);
    const std::string_view name = w.front();
    const std::string_view rest = afterFirstWord(line);
    const auto idThen = [&](std::size_t count) { return w.size() == count && isNumber(w[1]); };
    if (name == "answer")
        return rest == "ok" ? Expect::Ok : rest == "cancel" ? Expect::Cancel : Expect::Malformed;
    bool good = false;
    if (name == "dialog" || name == "click" || name == "command")
        good = idThen(2);
    else if (name == "text" || name == "type")
        good = w.size() >= 2 && isNumber(w[1]);
    else if (name == "check")
        good = idThen(3) && (w[2] == "0" || w[2] == "1");
    else if (name == "select")
        good = idThen(3) && isNumber(w[2]);
    else if (name == "scroll")
        good = idThen(3) && (w[2] == "up" || w[2] == "down");
    else if (name == "key")
        good = rest == "F1";
    else if (name == "wait" || name == "file")
        good = !rest.empty();
    else if (name == "close")
        good = rest.empty();
    return good ? Expect::OtherAction : Expect::Malformed;
}

// The script's lines as a text editor shows them.
std::vector<std::string_view> lines(std::string_view script) {
    if (script.starts_with("\xEF\xBB\xBF"))
        script.remove_prefix(3);
    std::vector<std::string_view> out;
    while (!script.empty()) {
        const std::size_t end = script.find('\n');
        std::string_view line = script.substr(0, end);
        script = end == std::string_view::npos ? std::string_view{} : script.substr(end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        out.push_back(line);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view script(reinterpret_cast<const char*>(data), size);
    auto user = kx::ui::headless::ScriptUser::fromText(script);
    std::ostringstream out;
    user->setOutput(out);

    const std::vector<std::string_view> all = lines(script);
    std::size_t next = 0;
    for (int shown = 0; !user->failed(); ++shown) {
        kx::fuzz::check(shown <= static_cast<int>(all.size()), "more boxes answered than lines");
        // every third box has only an OK button
        kx::ui::MessageBoxRequest request;
        request.text = "box " + std::to_string(shown) + "\r\nsecond line";
        request.buttons = shown % 3 == 2 ? kx::ui::MsgButtons::Ok : kx::ui::MsgButtons::OkCancel;
        const int answer = user->messageBox(request);

        while (next < all.size()) {
            const std::string_view t = all[next];
            const std::size_t first = t.find_first_not_of(" \t");
            if (first != std::string_view::npos && t[first] != '#')
                break;
            ++next;
        }
        if (next == all.size()) {
            kx::fuzz::check(
                user->failed() && user->failedLine() == static_cast<int>(all.size()) + 1,
                "the end of the script not reported after its last line");
            break;
        }
        const int number = static_cast<int>(next) + 1;
        const Expect want = expected(all[next++]);
        const std::string& reason = user->failureReason();
        switch (want) {
            case Expect::Ok:
                kx::fuzz::check(!user->failed() && answer == kx::ui::IDOK, "answer ok not taken");
                break;
            case Expect::Cancel:
                if (request.buttons == kx::ui::MsgButtons::Ok)
                    kx::fuzz::check(user->failed() && user->failedLine() == number &&
                                        reason == "the message box has no cancel button",
                                    "a cancel accepted for a box without a cancel button");
                else
                    kx::fuzz::check(!user->failed() && answer == kx::ui::IDCANCEL,
                                    "answer cancel not taken");
                break;
            case Expect::OtherAction:
                kx::fuzz::check(user->failed() && user->failedLine() == number &&
                                    reason.ends_with("; the line must answer it"),
                                "a well-formed line not reported as not answering the box");
                break;
            case Expect::Malformed:
                kx::fuzz::check(user->failed() && user->failedLine() == number &&
                                    !reason.ends_with("; the line must answer it"),
                                "a malformed line not reported as such");
                break;
        }
    }

    // what the program prints: "message: " lines and one "script: line N: " line, with no CR
    // or other control byte (a tab aside) inside a line
    const std::string printed = out.str();
    for (char c : printed)
        kx::fuzz::check(
            c == '\n' || c == '\t' || (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f),
            "a control byte in the script's output");
    std::istringstream read(printed);
    int failures = 0;
    for (std::string line; std::getline(read, line);) {
        if (line.starts_with("script: line "))
            ++failures;
        else
            kx::fuzz::check(line.starts_with("message: ") || line == "second line",
                            "an output line of no known kind");
    }
    kx::fuzz::check(failures == 1, "not exactly one failure line");
    return 0;
}
