#pragma once

// The dialog base class. A dialog is built from a template (ui/Template.h) and overrides the
// handlers it needs; see ui/README.md for a complete example.
//
// Text encodings: the texts of edits are the records' text, the adapter's bytes (CP932):
// SetDlgItemText, GetDlgItemText and DataExchange::text convert at this boundary. Captions,
// labels and message boxes are UTF-8 (SetDlgItemTextUtf8, SetWindowText, MessageBox).
//
// All members are for the UI thread.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ui/KeyFilter.h"
#include "ui/Template.h"

namespace kx::ui {

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Scroll codes of OnVScroll.
inline constexpr int kScrollLineUp = 0;
inline constexpr int kScrollLineDown = 1;

class DataExchange;
class WindowPeer;
struct DialogEvents;

class Dialog {
public:
    // The template must outlive the dialog (templates in res/ live for the whole run).
    explicit Dialog(const Template& tpl);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Modal run: creates the window owned by the active dialog, runs OnInitDialog, shows it and
    // dispatches until EndDialog. Returns the EndDialog value: IDOK (1) or IDCANCEL (2).
    int DoModal();

    // Modeless window (the wait window): created, initialised (OnInitDialog) and shown at
    // once; stays until DestroyWindow() or the object's destruction. `parent` may be nullptr.
    // Returns false when the window exists already.
    bool Create(Dialog* parent = nullptr);
    void DestroyWindow();
    bool hasWindow() const { return peer_ != nullptr; }

    // Ends the modal run with `result` once the current handler returns.
    void EndDialog(int result);

    // A close request, as the window's close button sends, posted to run later (OnClose).
    void PostClose();
    // Command `id` posted to run later (OnCommand, or OnOK / OnCancel for IDOK / IDCANCEL).
    void PostCommand(int id);

    // Moves members into the controls (saveAndValidate false) or controls into members (true)
    // through DoDataExchange. Returns false when a field was refused; its message was shown.
    bool UpdateData(bool saveAndValidate = true);

    // --- edits: the records' text (CP932 bytes) ---
    // Shows `cp932` in control `id` (also the text of statics and read-only panes).
    void SetDlgItemText(int id, std::string_view cp932);
    // Reads control `id` as CP932, at most maxChars bytes (a character is never split). Returns
    // false, with `cp932` empty, when the text holds a character CP932 cannot carry or a
    // control character (CR, LF, TAB, NUL): the caller shows the field's input error.
    [[nodiscard]] bool GetDlgItemText(int id, int maxChars, std::string& cp932) const;
    // Shows `value` in decimal.
    void SetDlgItemInt(int id, int value);
    // Text limit of an edit in CP932 bytes: typing and pasting stop there (0: no limit).
    void LimitText(int id, int maxBytes);

    // --- UI text (UTF-8) ---
    void SetDlgItemTextUtf8(int id, std::string_view utf8);
    std::string GetDlgItemTextUtf8(int id) const;
    void SetWindowText(std::string_view utf8);  // the dialog's caption

    // --- buttons and lists ---
    void CheckDlgButton(int id, bool checked);  // check box or radio button
    bool IsDlgButtonChecked(int id) const;
    void SetListIndex(int id, int index);  // -1 or out of range: no selection
    int GetListIndex(int id) const;        // -1 when nothing is selected
    // A note beside list item `index` in the open list, e.g. the device behind "COM1".
    void SetListItemNote(int id, int index, std::string_view utf8);

    // --- state ---
    void EnableControl(int id, bool on);
    bool IsControlEnabled(int id) const;
    void ShowControl(int id, bool show);  // a group or panel hides its contents too
    bool IsControlVisible(int id) const;
    void EnableWindow(bool on);  // the whole dialog refuses input when off
    bool IsWindowEnabled() const;
    void SetActiveWindow();  // bring to the front, take the focus
    void SetFocus(int id);
    // Scrolls a multi-line edit down by `lines` lines from the top.
    void LineScroll(int id, int lines);

    // Key pre-filter of control `id` (CNumEdit). Not owned; it must outlive the dialog.
    // May be set before the window exists (usually in the constructor).
    void SetKeyFilter(int id, KeyFilter* filter);

    const Template& GetTemplate() const { return tpl_; }
    int templateId() const { return tpl_.id; }
    // Whether the dialog has a control `id` (menu commands are not controls).
    bool hasControl(int id) const;

    // The dialog of the innermost modal run, or nullptr.
    static Dialog* activeModal();

protected:
    // Base: UpdateData(false); returns true. Called with the window created, before it shows.
    virtual bool OnInitDialog();
    // Base: UpdateData(true) and, when that succeeds, EndDialog(IDOK).
    virtual void OnOK();
    // Base: EndDialog(IDCANCEL).
    virtual void OnCancel();
    // A close request (the window's close button, PostClose). Base: OnCancel().
    virtual void OnClose();
    // A click on a button, radio button or check box other than IDOK / IDCANCEL, or a menu
    // command. Radio buttons and check boxes have already changed state.
    virtual void OnCommand(int id);
    // A list's selection changed.
    virtual void OnSelChange(int id);
    // Spin arrows `id`: kScrollLineUp, kScrollLineDown or another scroll code.
    virtual void OnVScroll(int id, int code);
    // The help key (F1).
    virtual void OnHelp();
    // Binds members to controls with DataExchange helpers. Base: nothing.
    virtual void DoDataExchange(DataExchange& dx);

private:
    friend struct DialogEvents;
    friend class DataExchange;

    bool createWindow(Dialog* parent, bool modal);
    void destroyWindowNow();
    KeyFilter* keyFilter(int id) const;
    WindowPeer* peer() const { return peer_.get(); }

    const Template& tpl_;
    std::unique_ptr<WindowPeer> peer_;
    std::unique_ptr<struct DialogFilters> filters_;
    std::shared_ptr<bool> alive_;  // false once destroyed, for posted calls
    bool ended_ = false;
    bool modal_ = false;
    int result_ = IDCANCEL;
    std::uint64_t run_ = 0;  // serial of the current window, unique for the whole process
};

}  // namespace kx::ui
