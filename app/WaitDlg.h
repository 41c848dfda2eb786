#pragma once

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

}  // namespace kx
