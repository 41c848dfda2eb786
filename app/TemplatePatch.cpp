#include "app/TemplatePatch.h"

#include <vector>

namespace kx {

namespace {

bool insertIn(std::vector<ui::Control>& controls, int siblingId, ui::Control& control) {
    for (size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].id == siblingId) {
            controls.insert(controls.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                            std::move(control));
            return true;
        }
        if (insertIn(controls[i].children, siblingId, control))
            return true;
    }
    return false;
}

bool appendIn(std::vector<ui::MenuItem>& items, int siblingCommand, ui::MenuItem& item) {
    for (ui::MenuItem& m : items) {
        if (m.command != 0)
            continue;
        for (const ui::MenuItem& child : m.items) {
            if (child.command == siblingCommand) {
                m.items.push_back(std::move(item));
                return true;
            }
        }
        if (appendIn(m.items, siblingCommand, item))
            return true;
    }
    return false;
}

}  // namespace

bool insertControlAfter(ui::Template& tpl, int siblingId, ui::Control control) {
    return insertIn(tpl.controls, siblingId, control);
}

bool appendMenuItemBeside(ui::Template& tpl, int siblingCommand, ui::MenuItem item) {
    return appendIn(tpl.menu, siblingCommand, item);
}

}  // namespace kx
