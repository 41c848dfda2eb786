#include "ui/headless/HeadlessWindow.h"

#include "ui/Dialog.h"
#include "ui/KeyLayout.h"
#include "ui/TextCodec.h"

namespace kx::ui::headless {
namespace {

void index(const std::vector<Control>& controls, int parent, std::map<int, const Control*>& byId,
           std::map<int, int>& parents) {
    for (const Control& c : controls) {
        if (c.id != 0) {
            byId.emplace(c.id, &c);
            parents.emplace(c.id, parent);
        }
        index(c.children, c.id != 0 ? c.id : parent, byId, parents);
    }
}

std::string controlName(int id) {
    return "control " + std::to_string(id);
}

}  // namespace

HeadlessWindow::HeadlessWindow(Dialog& dialog, const Template& tpl)
    : dialog_(dialog), tpl_(tpl), caption_(tpl.caption) {
    std::map<int, const Control*> byId;
    std::map<int, int> parents;
    index(tpl.controls, 0, byId, parents);
    for (auto& [id, control] : byId) {
        State& s = states_[id];
        s.control = control;
        s.parent = parents[id];
        if (control->kind == ControlKind::Edit || control->kind == ControlKind::Static)
            s.text = control->caption;
        s.enabled = !(control->style & kDisabled);
        s.visible = !(control->style & kHidden);
    }
}

HeadlessWindow::State* HeadlessWindow::find(int id) {
    auto it = states_.find(id);
    return it == states_.end() ? nullptr : &it->second;
}

const HeadlessWindow::State* HeadlessWindow::find(int id) const {
    auto it = states_.find(id);
    return it == states_.end() ? nullptr : &it->second;
}

void HeadlessWindow::setText(int id, std::string_view utf8) {
    if (State* s = find(id))
        s->text = utf8;
}

std::string HeadlessWindow::text(int id) const {
    if (const State* s = find(id)) {
        if (s->control->kind == ControlKind::List)
            return s->listIndex >= 0 ? s->control->items[s->listIndex] : std::string();
        if (s->control->kind == ControlKind::Edit || s->control->kind == ControlKind::Static)
            return s->text;
        return s->control->caption;
    }
    return {};
}

void HeadlessWindow::setLimit(int id, int maxBytes) {
    if (State* s = find(id))
        s->limit = maxBytes;
}

void HeadlessWindow::setChecked(int id, bool on) {
    if (State* s = find(id))
        s->checked = on;
}

bool HeadlessWindow::checked(int id) const {
    const State* s = find(id);
    return s && s->checked;
}

void HeadlessWindow::setListIndex(int id, int i) {
    State* s = find(id);
    if (!s)
        return;
    bool inRange = i >= 0 && static_cast<std::size_t>(i) < s->control->items.size();
    s->listIndex = inRange ? i : -1;
}

int HeadlessWindow::listIndex(int id) const {
    const State* s = find(id);
    return s ? s->listIndex : -1;
}

void HeadlessWindow::setListItemNote(int id, int index, std::string_view utf8) {
    State* s = find(id);
    if (s && s->control->kind == ControlKind::List && index >= 0 &&
        index < static_cast<int>(s->control->items.size()))
        s->notes[index] = std::string(utf8);
}

std::string HeadlessWindow::listItemNote(int id, int index) const {
    const State* s = find(id);
    if (!s)
        return {};
    auto it = s->notes.find(index);
    return it == s->notes.end() ? std::string() : it->second;
}

void HeadlessWindow::setEnabled(int id, bool on) {
    if (State* s = find(id))
        s->enabled = on;
}

// A control inside a disabled or hidden box is disabled or hidden with it.
bool HeadlessWindow::enabled(int id) const {
    for (const State* s = find(id); s; s = s->parent ? find(s->parent) : nullptr)
        if (!s->enabled)
            return false;
    return find(id) != nullptr;
}

void HeadlessWindow::setVisible(int id, bool show) {
    if (State* s = find(id))
        s->visible = show;
}

bool HeadlessWindow::visible(int id) const {
    for (const State* s = find(id); s; s = s->parent ? find(s->parent) : nullptr)
        if (!s->visible)
            return false;
    return find(id) != nullptr;
}

std::string HeadlessWindow::reach(int id, std::initializer_list<ControlKind> kinds,
                                  const char* kindName) {
    const State* s = find(id);
    std::string dialogName = "dialog " + std::to_string(tpl_.id);
    if (!s)
        return dialogName + " has no " + controlName(id);
    bool kindOk = false;
    for (ControlKind k : kinds) kindOk = kindOk || s->control->kind == k;
    if (!kindOk)
        return controlName(id) + " is not " + kindName;
    if (!windowEnabled_)
        return dialogName + " is disabled";
    if (!visible(id))
        return controlName(id) + " of " + dialogName + " is hidden";
    if (!enabled(id))
        return controlName(id) + " of " + dialogName + " is disabled";
    return {};
}

std::string HeadlessWindow::click(int id) {
    std::string why = reach(id, {ControlKind::Button, ControlKind::Radio, ControlKind::Check},
                            "a button, radio button or check box");
    if (!why.empty())
        return why;
    State& s = *find(id);
    if (s.control->kind == ControlKind::Radio) {
        for (int member : radioGroup(tpl_, id)) setChecked(member, member == id);
    } else if (s.control->kind == ControlKind::Check) {
        s.checked = !s.checked;
    }
    DialogEvents::command(dialog_, id);  // may end the dialog: nothing of this after it
    return {};
}

std::string HeadlessWindow::paste(int id, std::string_view utf8) {
    std::string why = reach(id, {ControlKind::Edit}, "an edit");
    if (!why.empty())
        return why;
    State& s = *find(id);
    if (s.control->style & kReadOnly)
        return controlName(id) + " is read-only";
    s.text = fitToLimit(utf8, s.limit);
    return {};
}

std::string HeadlessWindow::type(int id, std::string_view keys) {
    std::string why = reach(id, {ControlKind::Edit}, "an edit");
    if (!why.empty())
        return why;
    if (find(id)->control->style & kReadOnly)
        return controlName(id) + " is read-only";
    bool filtered = DialogEvents::hasKeyFilter(dialog_, id);
    for (std::size_t pos = 0; pos < keys.size();) {
        char32_t c = nextCodePoint(keys, pos);
        bool pass = true;
        if (filtered) {
            KeyStroke stroke = jisKeyFor(c).value_or(KeyStroke{kVkProcessKey, false});
            KeySequence seq = keySequenceFor(stroke, false);
            for (std::size_t i = 0; i < seq.messages.size(); ++i) {
                bool swallowed = DialogEvents::preTranslate(dialog_, id, seq.messages[i]);
                if (i == seq.keyIndex)
                    pass = !swallowed;
            }
        }
        State& s = *find(id);
        std::string grown = s.text;
        appendUtf8(grown, c);
        if (pass && (s.limit <= 0 || cp932Length(grown) <= static_cast<std::size_t>(s.limit)))
            s.text = std::move(grown);
    }
    return {};
}

std::string HeadlessWindow::setCheck(int id, bool on) {
    std::string why = reach(id, {ControlKind::Check}, "a check box");
    if (!why.empty())
        return why;
    if (find(id)->checked == on)
        return {};
    return click(id);
}

std::string HeadlessWindow::select(int id, int i) {
    std::string why = reach(id, {ControlKind::List}, "a list");
    if (!why.empty())
        return why;
    State& s = *find(id);
    if (i < 0 || static_cast<std::size_t>(i) >= s.control->items.size())
        return "list " + std::to_string(id) + " has no item " + std::to_string(i);
    if (s.listIndex == i)
        return {};
    s.listIndex = i;
    DialogEvents::selChange(dialog_, id);
    return {};
}

std::string HeadlessWindow::scroll(int id, int code) {
    std::string why = reach(id, {ControlKind::Spin}, "a scroll bar");
    if (!why.empty())
        return why;
    DialogEvents::vScroll(dialog_, id, code);
    return {};
}

}  // namespace kx::ui::headless
