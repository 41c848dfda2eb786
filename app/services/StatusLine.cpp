#include "app/services/StatusLine.h"

#include <algorithm>

#include "ui/Dialog.h"

namespace kx {

std::string failureReasonText(ExchangeOutcome outcome) {
    switch (outcome) {
        case ExchangeOutcome::Ok:
            return {};
        case ExchangeOutcome::TimedOut:
        case ExchangeOutcome::UnknownKind:
            return "機器から応答がありません";
        case ExchangeOutcome::NoLink:
        case ExchangeOutcome::LinkLost:
            return "機器との接続が切れています";
        case ExchangeOutcome::WriteFailed:
            return "機器へ送信できませんでした";
        case ExchangeOutcome::Busy:
            return "ほかの通信の途中です";
    }
    return {};
}

namespace {

std::string bracketed(ExchangeOutcome outcome) {
    const std::string reason = failureReasonText(outcome);
    return reason.empty() ? reason : "（" + reason + "）";
}

}  // namespace

std::string readFailedText(std::string_view area, ExchangeOutcome outcome) {
    return std::string(area) + "を読み込めませんでした" + bracketed(outcome);
}

std::string writeFailedText(std::string_view area, ExchangeOutcome outcome) {
    return std::string(area) + "を書き込めませんでした" + bracketed(outcome);
}

std::string sectionWriteFailedText(std::string_view section, ExchangeOutcome outcome) {
    // no reply is what the text itself expects; any other reason is named
    const std::string reason =
        outcome == ExchangeOutcome::TimedOut || outcome == ExchangeOutcome::UnknownKind
            ? std::string()
            : bracketed(outcome);
    return std::string(section) + "の一部を書き込めませんでした" + reason +
           "。メニューを閉じて開き直すと、機器の現在の設定が読み込まれます。";
}

std::string sectionName(std::string_view caption) {
    // U+FF01..U+FF5E are EF BC 81..EF BC BF and EF BD 80..EF BD 9E in UTF-8
    std::string name;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(caption[k]); };
        if (i + 2 < caption.size() && byte(i) == 0xEF &&
            (byte(i + 1) == 0xBC || byte(i + 1) == 0xBD)) {
            const int code = ((byte(i + 1) & 0x3F) << 6) | (byte(i + 2) & 0x3F);  // low 12 bits
            const int wide = 0xF000 | code;
            if (wide >= 0xFF01 && wide <= 0xFF5E) {
                name.push_back(static_cast<char>(wide - 0xFF01 + 0x21));
                i += 2;
                continue;
            }
        }
        name.push_back(caption[i]);
    }
    return name;
}

void StatusLine::attach(ui::Dialog& window, int controlId) {
    auto at = std::find_if(places_.begin(), places_.end(),
                           [&](const Place& p) { return p.window == &window; });
    if (at != places_.end())
        at->controlId = controlId;
    else
        places_.push_back({&window, controlId});
    if (window.hasWindow())
        window.SetDlgItemTextUtf8(controlId, text_);
}

void StatusLine::detach(ui::Dialog& window) {
    std::erase_if(places_, [&](const Place& p) { return p.window == &window; });
}

void StatusLine::show(std::string text) {
    text_ = std::move(text);
    for (const Place& p : places_)
        if (p.window->hasWindow())
            p.window->SetDlgItemTextUtf8(p.controlId, text_);
    if (observer_)
        observer_(*this);
}

std::vector<std::string> StatusLine::shown() const {
    std::vector<std::string> texts;
    for (const Place& p : places_)
        texts.push_back(p.window->hasWindow() ? p.window->GetDlgItemTextUtf8(p.controlId)
                                              : std::string());
    return texts;
}

StatusLine& statusLine() {
    static StatusLine line;
    return line;
}

}  // namespace kx
