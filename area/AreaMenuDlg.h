#pragma once

// The menu of an area: each button opens one of the area's dialogs modally; when that dialog
// ends with OK, the menu writes the dialog's part of the area at once, with itself disabled and
// the wait window up, and becomes the active window again. A dialog ended otherwise sends
// nothing. The menu reports no write result: the dialog was confirmed, and a failed exchange
// stops the writer at once. "戻る" (IDCANCEL) closes the menu.

#include <functional>
#include <memory>
#include <vector>

#include "app/AreaContext.h"
#include "ui/Dialog.h"

namespace kx::area {

class CAreaMenuDlg : public ui::Dialog {
public:
    struct Entry {
        int button;
        int area;  // the writer's area number
        std::function<std::unique_ptr<ui::Dialog>()> open;
    };
    // Writes area `area` from the two copies; 1 when every command was acknowledged.
    using Writer = std::function<int(const AreaContext& context, int area)>;

    CAreaMenuDlg(int templateId, AreaContext& context, std::vector<Entry> entries, Writer write);

protected:
    void OnCommand(int id) override;

    // After entry `entry`'s dialog ended with `result` and, for OK, its write returned
    // `written` (-1 when nothing was written). A menu with rules of its own (closing itself,
    // writing after a cancel) overrides it.
    virtual void afterDialog(const Entry& /*entry*/, int /*result*/, int /*written*/) {}
    // Writes `area` now (1 when every command was acknowledged).
    int write(int area) { return write_(context_, area); }

    // An entry's opener: a new Dlg made from `args` at each click.
    template <class Dlg, class... Args>
    static std::function<std::unique_ptr<ui::Dialog>()> opens(Args... args) {
        return [=] { return std::make_unique<Dlg>(args...); };
    }

private:
    AreaContext& context_;
    std::vector<Entry> entries_;
    Writer write_;
};

}  // namespace kx::area
