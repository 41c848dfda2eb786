#include "ui/Template.h"

namespace kx::ui {
namespace {

template <typename Visit>
void walk(const std::vector<Control>& controls, Visit&& visit) {
    for (const Control& c : controls) {
        visit(c);
        walk(c.children, visit);
    }
}

void collectCommands(const std::vector<MenuItem>& items, std::vector<int>& out) {
    for (const MenuItem& item : items) {
        if (item.command != 0)
            out.push_back(item.command);
        collectCommands(item.items, out);
    }
}

}  // namespace

const Control* findControl(const Template& tpl, int id) {
    if (id == 0)
        return nullptr;
    const Control* found = nullptr;
    walk(tpl.controls, [&](const Control& c) {
        if (!found && c.id == id)
            found = &c;
    });
    return found;
}

std::vector<const Control*> controlsWithIds(const Template& tpl) {
    std::vector<const Control*> out;
    walk(tpl.controls, [&](const Control& c) {
        if (c.id != 0)
            out.push_back(&c);
    });
    return out;
}

std::vector<int> radioGroup(const Template& tpl, int radioId) {
    std::vector<int> current;
    std::vector<int> result;
    bool found = false;
    walk(tpl.controls, [&](const Control& c) {
        if (c.kind != ControlKind::Radio || !result.empty())
            return;
        if ((c.style & kGroupStart) && !current.empty()) {
            if (found)
                result = current;
            current.clear();
        }
        current.push_back(c.id);
        if (c.id == radioId)
            found = true;
    });
    if (result.empty() && found)
        result = current;
    return result;
}

std::vector<int> menuCommands(const Template& tpl) {
    std::vector<int> out;
    collectCommands(tpl.menu, out);
    return out;
}

}  // namespace kx::ui
