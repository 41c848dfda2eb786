#pragma once

// The menu of an area: each button opens one of the area's dialogs modally; when that dialog
// ends with OK, the menu writes the dialog's part of the area at once, with itself disabled and
// the wait window up, and becomes the active window again. A dialog ended otherwise sends
// nothing. "戻る" (IDCANCEL) closes the menu.
//
// A write that fails (the writer stops at the failed exchange) is told in the status line of
// the menu and of the main window, naming the dialog's part; the next write that succeeds
// clears it. The area's copies are then held (area/Copies.h), so the part that did not reach
// the adapter is not taken for sent by the next confirmation and goes out again with the next
// write of its part.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/services/AreaContext.h"
#include "area/Copies.h"
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

    // `copies`: the area's records that the menu's dialogs edit, held after a failed write.
    CAreaMenuDlg(int templateId, AreaContext& context, std::vector<Entry> entries, Writer write,
                 std::vector<SnapshotHold*> copies = {});
    ~CAreaMenuDlg() override;

protected:
    bool OnInitDialog() override;
    void OnCommand(int id) override;

    // After entry `entry`'s dialog ended with `result` and, for OK, its write returned
    // `written` (-1 when nothing was written). A menu with rules of its own (closing itself,
    // writing after a cancel) overrides it.
    virtual void afterDialog(const Entry& /*entry*/, int /*result*/, int /*written*/) {}
    // Writes `area` now (1 when every command was acknowledged); the status line tells how it
    // went, naming the dialog last opened.
    int write(int area);

    // An entry's opener: a new Dlg made from `args` at each click.
    template <class Dlg, class... Args>
    static std::function<std::unique_ptr<ui::Dialog>()> opens(Args... args) {
        return [=] { return std::make_unique<Dlg>(args...); };
    }

private:
    // Runs `fn`, a write of the part shown by the dialog captioned `caption`, and tells the
    // status line how it went.
    template <class Fn>
    int reported(const std::string& caption, Fn&& fn);

    AreaContext& context_;
    std::vector<Entry> entries_;
    Writer write_;
    std::vector<SnapshotHold*> copies_;
    std::string lastCaption_;  // of the dialog last opened
};

}  // namespace kx::area
