#pragma once

#include <utility>

#include "ui/Dialog.h"

namespace kx {

// The please-wait window ("しばらくお待ちください！"), shown modeless while an area is read or
// written. The owner creates it with Create(parent) and destroys it afterwards.
class CWaitDlg : public ui::Dialog {
public:
    CWaitDlg();
};

// Shows a wait window for its lifetime: the main window and the area menus wrap each read or
// write in one, so the window goes away on every path out.
class WaitWindow {
public:
    explicit WaitWindow(ui::Dialog* parent) { dialog_.Create(parent); }
    ~WaitWindow() { dialog_.DestroyWindow(); }
    WaitWindow(const WaitWindow&) = delete;
    WaitWindow& operator=(const WaitWindow&) = delete;

private:
    CWaitDlg dialog_;
};

// The pattern around every exchange a window starts: the owner is disabled (so the user cannot
// start a second exchange while this one pumps the loop), the wait window is shown, `fn` runs,
// the wait window goes and the owner is enabled again. Returns what `fn` returns.
//   int ok = withWaitWindow(*this, [&] { return WriteAnalogSettings(context, area); });
template <class Fn>
auto withWaitWindow(ui::Dialog& owner, Fn&& fn) {
    owner.EnableWindow(false);
    struct Enable {
        ui::Dialog& owner;
        ~Enable() { owner.EnableWindow(true); }
    } enable{owner};
    WaitWindow wait(&owner);
    return std::forward<Fn>(fn)();
}

}  // namespace kx
