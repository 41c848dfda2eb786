#pragma once

// The status line: one static text under the buttons of the main window, and of the area menu
// while one is open, that says what went wrong with the last read or write of a settings area.
// It is the only place a user without the log pane learns of such a failure, and it shows no
// message box, so a replayed session prints exactly what it printed before. The next read or
// write that succeeds clears it.
//
// Texts are UTF-8.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "link/Link.h"

namespace kx {
namespace ui {
class Dialog;
}

// Why an exchange failed, in the user's words: "機器から応答がありません" for a time-out.
// Empty for Ok (a reader or writer that gave up without a failed exchange).
std::string failureReasonText(ExchangeOutcome outcome);
// "アナログ設定を読み込めませんでした（機器から応答がありません）"
std::string readFailedText(std::string_view area, ExchangeOutcome outcome);
// A direct area's write: "短縮番号設定を書き込めませんでした（機器から応答がありません）"
std::string writeFailedText(std::string_view area, ExchangeOutcome outcome);
// A write inside a menu, named by the dialog that was confirmed: "TEL1ポート設定の一部を書き込め
// ませんでした。メニューを閉じて開き直すと、機器の現在の設定が読み込まれます。" A reason other
// than no reply goes in brackets before the first "。".
std::string sectionWriteFailedText(std::string_view section, ExchangeOutcome outcome);
// A dialog's caption as a section's name in those texts: full-width letters, digits and signs
// become their ASCII forms ("ＴＥＬ１ポート設定" gives "TEL1ポート設定").
std::string sectionName(std::string_view caption);

class StatusLine {
public:
    // Window `window` shows the line in its static `controlId` from now on (the main window
    // from its start, a menu while it is open), with the current text. Attaching a window again
    // only moves its control id.
    void attach(ui::Dialog& window, int controlId);
    void detach(ui::Dialog& window);
    // Shows `text` in every attached window that is open; "" clears the line.
    void show(std::string text);
    void clear() { show({}); }
    const std::string& text() const { return text_; }
    // What each attached window's control shows now, in the order they were attached (a
    // window that is not open shows nothing).
    std::vector<std::string> shown() const;
    // Told of every change of the line, after the windows were updated (tests).
    void setObserver(std::function<void(const StatusLine&)> observer) {
        observer_ = std::move(observer);
    }

private:
    struct Place {
        ui::Dialog* window;
        int controlId;
    };
    std::vector<Place> places_;
    std::string text_;
    std::function<void(const StatusLine&)> observer_;
};

// The line of the running program.
StatusLine& statusLine();

}  // namespace kx
