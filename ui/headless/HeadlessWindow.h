#pragma once

// A dialog's window without a screen: the controls' state in memory, and what a user can do
// to them. Each user action checks what a real user would meet (the control exists, is a
// control of that kind, is visible and enabled) and returns the reason when it cannot be done.

#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Backend.h"

namespace kx::ui::headless {

class HeadlessWindow final : public WindowPeer {
public:
    HeadlessWindow(Dialog& dialog, const Template& tpl);

    void show() override { shown_ = true; }
    void setCaption(std::string_view utf8) override { caption_ = utf8; }
    void setText(int id, std::string_view utf8) override;
    std::string text(int id) const override;
    void setLimit(int id, int maxBytes) override;
    void setChecked(int id, bool checked) override;
    bool checked(int id) const override;
    void setListIndex(int id, int index) override;
    int listIndex(int id) const override;
    void setListItemNote(int id, int index, std::string_view utf8) override;
    // The note beside list item `index` ("" when none).
    std::string listItemNote(int id, int index) const;
    void setEnabled(int id, bool on) override;
    bool enabled(int id) const override;
    void setVisible(int id, bool show) override;
    bool visible(int id) const override;
    void setWindowEnabled(bool on) override { windowEnabled_ = on; }
    bool windowEnabled() const override { return windowEnabled_; }
    void activate() override {}
    void setFocus(int) override {}
    void lineScroll(int, int) override {}

    const std::string& caption() const { return caption_; }
    bool shown() const { return shown_; }

    // User actions; each returns "" when done, else the reason it cannot be done.
    std::string click(int id);
    std::string paste(int id, std::string_view utf8);  // replaces the whole text
    std::string type(int id, std::string_view keys);   // key by key through the pre-filter
    std::string setCheck(int id, bool on);
    std::string select(int id, int index);
    std::string scroll(int id, int code);

private:
    struct State {
        const Control* control = nullptr;
        int parent = 0;  // nearest enclosing control with an id, 0 for none
        std::string text;
        bool checked = false;
        int listIndex = -1;
        std::map<int, std::string> notes;  // list item notes by index
        bool enabled = true;
        bool visible = true;
        int limit = 0;
    };
    State* find(int id);
    const State* find(int id) const;
    // "" when a user can reach control `id` (of one of `kinds`), else why not.
    std::string reach(int id, std::initializer_list<ControlKind> kinds, const char* kindName);

    Dialog& dialog_;
    const Template& tpl_;
    std::map<int, State> states_;
    std::string caption_;
    bool shown_ = false;
    bool windowEnabled_ = true;
};

}  // namespace kx::ui::headless
