#pragma once

// Short helpers that make templates read like the dialogs they describe:
//
//   group("着信転送", {
//       radios({{IDC_TEL1_TRANSFER_OFF, "利用しない"}, {IDC_TEL1_TRANSFER_ON, "利用する"}}),
//       field("着信転送先電話番号", edit(IDC_TEL1_TRANSFER_NUMBER, 0, 24)),
//   })
//
// Consecutive field()s in one box line their labels up in a column.

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "ui/Template.h"

namespace kx::ui::tpl {

inline Control box(ControlKind kind, std::vector<Control> children, std::string caption = {},
                   int id = 0, int columns = 1) {
    Control c;
    c.kind = kind;
    c.id = id;
    c.caption = std::move(caption);
    c.children = std::move(children);
    c.columns = columns;
    return c;
}

// A group box; `columns` > 1 puts its children in that many columns.
inline Control group(std::string caption, std::vector<Control> children, int columns = 1) {
    return box(ControlKind::Group, std::move(children), std::move(caption), 0, columns);
}
// A group box with an id, so code can hide or disable it with everything inside.
inline Control group(int id, std::string caption, std::vector<Control> children, int columns = 1) {
    return box(ControlKind::Group, std::move(children), std::move(caption), id, columns);
}
inline Control row(std::vector<Control> children) {
    return box(ControlKind::Row, std::move(children));
}
inline Control column(std::vector<Control> children) {
    return box(ControlKind::Column, std::move(children));
}
// A column with an id, so code can hide or disable a part of the dialog.
inline Control panel(int id, std::vector<Control> children) {
    return box(ControlKind::Column, std::move(children), {}, id);
}
inline Control grid(int columns, std::vector<Control> children) {
    return box(ControlKind::Grid, std::move(children), {}, 0, columns);
}

inline Control label(std::string caption, unsigned style = kNoStyle) {
    Control c;
    c.kind = ControlKind::Static;
    c.caption = std::move(caption);
    c.style = style;
    return c;
}
// A static text with an id (its text is set at run time).
inline Control text(int id, std::string caption = {}, unsigned style = kNoStyle) {
    Control c = label(std::move(caption), style);
    c.id = id;
    return c;
}
// A long note that wraps.
inline Control note(std::string caption) {
    return label(std::move(caption), kWrap);
}

inline Control icon(int resourceId) {
    Control c;
    c.kind = ControlKind::Icon;
    c.resourceId = resourceId;
    return c;
}

inline Control edit(int id, unsigned style = kNoStyle, int widthChars = 0) {
    Control c;
    c.kind = ControlKind::Edit;
    c.id = id;
    c.style = style;
    c.widthChars = widthChars;
    return c;
}
inline Control multiLineEdit(int id, int lines, unsigned style = kReadOnly) {
    Control c = edit(id, style | kMultiLine);
    c.lines = lines;
    return c;
}

inline Control button(int id, std::string caption, unsigned style = kNoStyle) {
    Control c;
    c.kind = ControlKind::Button;
    c.id = id;
    c.caption = std::move(caption);
    c.style = style;
    return c;
}
inline Control check(int id, std::string caption, unsigned style = kNoStyle) {
    Control c = button(id, std::move(caption), style);
    c.kind = ControlKind::Check;
    return c;
}
inline Control radio(int id, std::string caption, unsigned style = kNoStyle) {
    Control c = button(id, std::move(caption), style);
    c.kind = ControlKind::Radio;
    return c;
}

struct RadioItem {
    int id;
    std::string caption;
};
// One radio group, stacked (or side by side with kHorizontal); the first button starts it.
inline Control radios(std::initializer_list<RadioItem> items, unsigned style = kNoStyle) {
    Control c = box(ControlKind::Column, {});
    c.style = style & kHorizontal;
    bool first = true;
    for (const RadioItem& item : items) {
        c.children.push_back(radio(item.id, item.caption, first ? kGroupStart : kNoStyle));
        first = false;
    }
    return c;
}

inline Control list(int id, std::vector<std::string> items, int widthChars = 0,
                    unsigned style = kNoStyle) {
    Control c;
    c.kind = ControlKind::List;
    c.id = id;
    c.items = std::move(items);
    c.widthChars = widthChars;
    c.style = style;
    return c;
}

// Spin arrows (a vertical scroll bar), normally in a field() right after its edit.
inline Control spin(int id) {
    Control c;
    c.kind = ControlKind::Spin;
    c.id = id;
    return c;
}

// A label beside its input, optionally followed by a unit ("秒").
inline Control field(std::string caption, Control input, std::string unit = {}) {
    std::vector<Control> children{label(std::move(caption)), std::move(input)};
    if (!unit.empty())
        children.push_back(label(std::move(unit)));
    return box(ControlKind::Field, std::move(children));
}
// A label beside an edit with its spin arrows, and a unit.
inline Control spinField(std::string caption, Control input, int spinId, std::string unit = {}) {
    std::vector<Control> children{label(std::move(caption)), std::move(input), spin(spinId)};
    if (!unit.empty())
        children.push_back(label(std::move(unit)));
    return box(ControlKind::Field, std::move(children));
}

// The dialog's buttons, in one row at the bottom right.
inline Control buttons(std::vector<Control> children) {
    Control c = row(std::move(children));
    c.style = kButtonRow;
    return c;
}

inline MenuItem menuItem(std::string caption, int command) {
    return MenuItem{std::move(caption), command, {}};
}
inline MenuItem popup(std::string caption, std::vector<MenuItem> items) {
    return MenuItem{std::move(caption), 0, std::move(items)};
}

}  // namespace kx::ui::tpl
