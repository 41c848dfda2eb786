#pragma once

// Dialog templates as data. A template names the dialog (id, caption, design size) and holds a
// tree of controls; the backends build their windows from it. There are no coordinates: boxes
// (group, row, column, grid, field) say what stands beside what, and the Qt backend lays them
// out. Build templates with the helpers of ui/TemplateBuilder.h.
//
// Texts in templates are UTF-8.

#include <string>
#include <vector>

namespace kx::ui {

enum class ControlKind {
    // boxes: hold children, take no input
    Group,   // group box with a caption; children stacked (or in `columns` columns)
    Row,     // children side by side
    Column,  // children stacked
    Grid,    // children in `columns` columns, row by row
    Field,   // a label beside its input: children = { label, input [, unit label] }
    // controls
    Static,  // text; with an id it can be set at run time
    Icon,    // the program icon (caption unused)
    Edit,    // one-line edit; kMultiLine for a multi-line one, kPassword to hide the text
    Button,  // push button; kDefault for the one Enter presses
    Radio,   // radio button; kGroupStart marks the first of its group
    Check,   // check box
    List,    // drop-down list with fixed `items`
    Spin,    // vertical scroll bar used as spin arrows (line up / line down)
};

// Style bits of a control.
enum ControlStyle : unsigned {
    kNoStyle = 0,
    kPassword = 1u << 0,    // edit: characters hidden
    kDefault = 1u << 1,     // button: the default button
    kGroupStart = 1u << 2,  // radio: first button of a group
    kHidden = 1u << 3,      // created hidden
    kDisabled = 1u << 4,    // created disabled
    kMultiLine = 1u << 5,   // edit: several lines, scrolls
    kReadOnly = 1u << 6,    // edit: the user cannot change it
    kCentred = 1u << 7,     // static: centred text
    kWrap = 1u << 8,        // static: long text wraps
    kHorizontal = 1u << 9,  // column of radios laid out side by side instead
    kButtonRow = 1u << 10,  // row: the dialog's buttons, aligned to the right
};

struct Control {
    ControlKind kind = ControlKind::Static;
    int id = 0;           // 0: no id (labels, boxes that code never touches)
    std::string caption;  // label, button text, group caption, edit's first text
    unsigned style = kNoStyle;
    std::vector<std::string> items;  // List: its items, index 0 first
    std::vector<Control> children;   // boxes only
    int columns = 1;                 // Group, Grid: number of columns
    int widthChars = 0;              // Edit, List: preferred width in characters (0: default)
    int lines = 0;                   // multi-line Edit: preferred height in lines (0: default)
    int resourceId = 0;              // Icon: the icon resource
};

struct MenuItem {
    std::string caption;
    int command = 0;  // 0 for a pop-up that holds `items`
    std::vector<MenuItem> items;
};

// Style bits of a whole dialog.
enum TemplateStyle : unsigned {
    kDialogNoStyle = 0,
    kNoCaption = 1u << 0,    // pop-up with a frame and no caption bar (the wait window)
    kMinimizeBox = 1u << 1,  // has a minimise box
};

struct Template {
    int id = 0;
    std::string caption;
    int width = 0;  // design size in dialog units; the backend may grow it to fit
    int height = 0;
    unsigned style = kDialogNoStyle;
    int menuId = 0;                 // 0: no menu bar
    std::vector<MenuItem> menu;     // the menu bar's pop-ups
    std::vector<Control> controls;  // stacked top to bottom
};

// Depth-first search for the control with `id`; nullptr when the template has none.
const Control* findControl(const Template& tpl, int id);

// Every control with an id, depth-first in template order.
std::vector<const Control*> controlsWithIds(const Template& tpl);

// The radio group that `radioId` belongs to, in template order: from the group-start button
// up to the next group start (a radio without any group start before it starts a group).
// Empty when `radioId` is not a radio button of the template.
std::vector<int> radioGroup(const Template& tpl, int radioId);

// Every command id of the menu bar.
std::vector<int> menuCommands(const Template& tpl);

}  // namespace kx::ui
