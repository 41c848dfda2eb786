#pragma once

#include "area/AreaMenuDlg.h"

namespace kx {

// "ＨｏｍｅＰＮＡ詳細設定" (template 167): one button per dialog of the router area, each written
// right after its dialog is confirmed (RouterWriter, the button's section). After a new router
// address was taken the menu closes itself, and the main window then ends the program; the
// connection-limit dialog's clear button has the counters cleared even when the dialog is
// cancelled.
class CPnaMenuDlg : public area::CAreaMenuDlg {
public:
    explicit CPnaMenuDlg(AreaContext& context);

protected:
    void afterDialog(const Entry& entry, int result, int written) override;
};

}  // namespace kx
