#include "area/Bindings.h"

#include <algorithm>
#include <optional>

#include "app/services/AppState.h"
#include "area/SettingsDlg.h"
#include "link/TextFunctions.h"
#include "ui/DataExchange.h"
#include "ui/MessageBox.h"

namespace kx::area {

// One binding. Every step of the dialog walks all of them in the order they were bound; a kind
// overrides the steps it takes part in.
class Binding {
public:
    // What spin arrows left in their edit: the number it now shows, in display units.
    struct Spun {
        int editId;
        int shown;
    };

    virtual ~Binding() = default;

    // The dialog's copy has just been taken, before the dialog's own initRules.
    virtual void opening() {}
    // To the controls (the choices also put the value they show into the dialog's copy).
    virtual void show(CSettingsDlg&) {}
    virtual void exchange(ui::DataExchange&) {}
    // The controls to disable over the network link.
    virtual void serialOnlyControls(const CSettingsDlg&, std::vector<int>&) const {}
    // A click on `clicked` (0: the dialog has just shown its controls).
    virtual void clicked(CSettingsDlg&, int /*clicked*/, const std::vector<int>& /*keep*/) {}
    // OK, first pass, right after the exchange from the controls.
    virtual void settle() {}
    // OK, second pass: reads and checks the control into the dialog's copy; false after the
    // message of a refusal.
    virtual bool take(CSettingsDlg&) { return true; }
    virtual void store() {}
    // Spin arrows `id` moved by `code`: what they changed, if they are this binding's.
    virtual std::optional<Spun> scrolled(CSettingsDlg&, int /*id*/, int /*code*/) { return {}; }
    // Spin arrows changed an edit.
    virtual void follow(CSettingsDlg&, const Spun&) {}
};

namespace {

// --- choices: radio groups, lists, check boxes ---

// A choice shows the index its keyword has (a switch that the adapter reports as 2 shows as
// on, like 1). Left as it was shown, or with nothing chosen, it keeps its stored value, so
// that no command goes out for it (a 2 stays 2).
class Choice : public Binding {
public:
    Choice(int id, CopyField<int> field, const ItemRule* rule)
        : id_(id), field_(std::move(field)), rule_(rule) {}

    void show(CSettingsDlg&) override {
        int& value = field_(Copy::Dialog);
        stored_ = value;
        shown_ = shownFor(stored_);
        value = shown_;
    }
    void settle() override {
        int& value = field_(Copy::Dialog);
        if (value == shown_ || value == -1)
            value = stored_;
    }
    void serialOnlyControls(const CSettingsDlg&, std::vector<int>& ids) const override {
        if (rule_ && rule_->serialOnly)
            ids.push_back(id_);
    }

protected:
    virtual int shownFor(int stored) const {
        return rule_ && rule_->encode ? rule_->encode(stored) : stored;
    }

    int id_;
    CopyField<int> field_;
    const ItemRule* rule_;  // nullptr: not a row of the table
    int stored_ = 0;        // the value when the dialog opened
    int shown_ = 0;         // the index or check state shown for it
};

class Radio : public Choice {
public:
    using Choice::Choice;
    void exchange(ui::DataExchange& dx) override { dx.radio(id_, field_(Copy::Dialog)); }
    void serialOnlyControls(const CSettingsDlg& dialog, std::vector<int>& ids) const override {
        if (rule_ && rule_->serialOnly)
            for (int id : ui::radioGroup(dialog.GetTemplate(), id_)) ids.push_back(id);
    }
};

// Shows the stored value as the index it is and stores what it shows, also when left alone.
class RadioAsShown : public Radio {
public:
    using Radio::Radio;
    void settle() override {}

protected:
    int shownFor(int stored) const override { return stored; }
};

class List : public Choice {
public:
    using Choice::Choice;
    void exchange(ui::DataExchange& dx) override { dx.listIndex(id_, field_(Copy::Dialog)); }
};

class CheckBox : public Choice {
public:
    using Choice::Choice;
    void exchange(ui::DataExchange& dx) override { dx.check(id_, field_(Copy::Dialog)); }

protected:
    int shownFor(int stored) const override { return stored != 0 ? 1 : 0; }
};

// A two-button group (off, on) over one bit of a mask; the other bits are carried as they are.
class Bit : public Binding {
public:
    Bit(int firstId, CopyField<int> mask, int bit)
        : firstId_(firstId), mask_(std::move(mask)), bit_(bit) {}

    void opening() override { value_ = (mask_(Copy::Dialog) >> bit_) & 1; }
    void exchange(ui::DataExchange& dx) override { dx.radio(firstId_, value_); }
    void store() override {
        int& mask = mask_(Copy::Dialog);
        if (value_ != ((mask >> bit_) & 1))
            mask = value_ != 0 ? mask | (1 << bit_) : mask & ~(1 << bit_);
    }

private:
    int firstId_;
    CopyField<int> mask_;
    int bit_;
    int value_ = 0;  // the group's index: 1 when the bit is set
};

// --- edits ---

// An edit checked by its row: OK reads it, refuses it with the dialog's message and stops, or
// puts it into the dialog's copy.
class Edit : public Binding {
public:
    Edit(int id, const ItemRule& rule, int limit, std::string_view message)
        : id_(id), rule_(rule), limit_(limit), message_(message) {}

    int id() const { return id_; }
    const ItemRule& rule() const { return rule_; }

    void show(CSettingsDlg& dialog) override {
        dialog.LimitText(id_, limit_);
        dialog.SetDlgItemText(id_, shownText());
    }
    void serialOnlyControls(const CSettingsDlg&, std::vector<int>& ids) const override {
        if (rule_.serialOnly)
            ids.push_back(id_);
    }
    bool take(CSettingsDlg& dialog) override {
        if (skipped(dialog))
            return true;
        std::string text;
        // a text is never cut before its check
        if (!dialog.readChecked(
                id_, std::max(kEditReadChars, limit_),
                [this](std::string_view t) { return check(t); }, message_, text))
            return false;
        put(text);
        return true;
    }

protected:
    virtual std::string shownText() const = 0;
    virtual int check(std::string_view text) const { return rule_.checkText(text); }
    virtual void put(const std::string& text) = 0;
    virtual bool skipped(const CSettingsDlg&) const { return false; }

    int id_;
    const ItemRule& rule_;
    int limit_;
    std::string message_;
};

class TextEdit : public Edit {
public:
    TextEdit(int id, CopyField<std::string> field, const ItemRule& rule, int limit,
             std::string_view message)
        : Edit(id, rule, limit, message), field_(std::move(field)) {}

protected:
    std::string shownText() const override { return field_(Copy::Dialog); }
    int check(std::string_view text) const override {
        // a free text the adapter holds as it is may be longer than the dialog lets the user
        // type: it needs no check
        if (rule_.kind == ItemKind::Text && text == field_(Copy::Working))
            return 0;
        return Edit::check(text);
    }
    void put(const std::string& text) override { field_(Copy::Dialog) = text; }

    CopyField<std::string> field_;
};

// An address edit that may be left empty: what the adapter reports as no address shows empty
// and, left empty, stays as the adapter holds it; an address the user empties is stored as
// `storedWhenEmpty`. With `whileEnabled`, a disabled edit is neither checked nor stored.
class AddressEdit : public TextEdit {
public:
    AddressEdit(int id, CopyField<std::string> field, const ItemRule& rule, int limit,
                std::string_view message, std::string_view storedWhenEmpty, bool whileEnabled)
        : TextEdit(id, std::move(field), rule, limit, message),
          storedWhenEmpty_(storedWhenEmpty),
          whileEnabled_(whileEnabled) {}

protected:
    std::string shownText() const override {
        const std::string& held = field_(Copy::Dialog);
        return isNoAddress(held) ? std::string() : held;
    }
    int check(std::string_view text) const override {
        return text.empty() ? 0 : TextEdit::check(text);
    }
    void put(const std::string& text) override {
        if (!text.empty())
            return TextEdit::put(text);
        const std::string& held = field_(Copy::Working);
        field_(Copy::Dialog) = isNoAddress(held) ? held : storedWhenEmpty_;
    }
    bool skipped(const CSettingsDlg& dialog) const override {
        return whileEnabled_ && !dialog.IsControlEnabled(id_);
    }

private:
    std::string storedWhenEmpty_;
    bool whileEnabled_;
};

// A number shown in decimal, in the row's display unit.
class NumberEdit : public Edit {
public:
    NumberEdit(int id, CopyField<int> field, const ItemRule& rule, int limit,
               std::string_view message)
        : Edit(id, rule, limit, message), field_(std::move(field)) {}

    // What the edit shows for the dialog's copy, in display units.
    int shownNumber() const { return field_(Copy::Dialog) * rule_.scale; }

protected:
    std::string shownText() const override {
        return displayNumber(field_(Copy::Dialog), rule_.scale);
    }
    void put(const std::string& text) override {
        field_(Copy::Dialog) = ReadDecimal(text) / rule_.scale;
    }

private:
    CopyField<int> field_;
};

// --- the dialog's own check, spin arrows, texts and enables ---

class Rule : public Binding {
public:
    Rule(std::string_view message, std::function<bool()> refused)
        : message_(message), refused_(std::move(refused)) {}

    bool take(CSettingsDlg&) override {
        if (!refused_())
            return true;
        ui::InputError(message_);
        return false;
    }

private:
    std::string message_;
    std::function<bool()> refused_;
};

// Spin arrows over a number edit, wrapping within its row's range counted in steps.
class Spin : public Binding {
public:
    Spin(int spinId, const NumberEdit& edit, int readChars, int step, SpinWrap wrap)
        : spinId_(spinId), edit_(edit), readChars_(readChars), step_(step), wrap_(wrap) {}

    void serialOnlyControls(const CSettingsDlg&, std::vector<int>& ids) const override {
        if (edit_.rule().serialOnly)
            ids.push_back(spinId_);
    }
    std::optional<Spun> scrolled(CSettingsDlg& dialog, int id, int code) override {
        if (id != spinId_)
            return std::nullopt;
        const ItemRule& rule = edit_.rule();
        dialog.spinEdit(edit_.id(), readChars_, code, rule.lowest / step_, rule.highest / step_,
                        rule.scale * step_, wrap_);
        std::string text;
        if (!dialog.GetDlgItemText(edit_.id(), readChars_, text))
            text.clear();
        return Spun{edit_.id(), ReadDecimal(text)};
    }

private:
    int spinId_;
    const NumberEdit& edit_;
    int readChars_;
    int step_;
    SpinWrap wrap_;
};

// A static text that follows a number edit: when the dialog opens and after its spin arrows.
class DerivedText : public Binding {
public:
    DerivedText(int staticId, const NumberEdit& edit, std::function<std::string(int)> text)
        : staticId_(staticId), edit_(edit), text_(std::move(text)) {}

    void show(CSettingsDlg& dialog) override {
        dialog.SetDlgItemTextUtf8(staticId_, text_(edit_.shownNumber()));
    }
    void follow(CSettingsDlg& dialog, const Spun& spun) override {
        if (spun.editId == edit_.id())
            dialog.SetDlgItemTextUtf8(staticId_, text_(spun.shown));
    }

private:
    int staticId_;
    const NumberEdit& edit_;
    std::function<std::string(int)> text_;
};

// Controls enabled while one button of a radio group is checked. A control disabled for the
// network link stays disabled.
class EnableWhen : public Binding {
public:
    EnableWhen(int firstId, int index, std::vector<int> ids)
        : firstId_(firstId), index_(index), ids_(std::move(ids)) {}

    void clicked(CSettingsDlg& dialog, int clicked, const std::vector<int>& keep) override {
        const std::vector<int> group = ui::radioGroup(dialog.GetTemplate(), firstId_);
        if (clicked != 0 && std::find(group.begin(), group.end(), clicked) == group.end())
            return;
        const bool on = index_ >= 0 && static_cast<std::size_t>(index_) < group.size() &&
                        dialog.IsDlgButtonChecked(group[static_cast<std::size_t>(index_)]);
        for (int id : ids_)
            if (std::find(keep.begin(), keep.end(), id) == keep.end())
                dialog.EnableControl(id, on);
    }

private:
    int firstId_, index_;
    std::vector<int> ids_;
};

}  // namespace

Bindings::Bindings(CSettingsDlg& dialog) : dialog_(dialog) {}
Bindings::~Bindings() = default;

void Bindings::add(std::unique_ptr<Binding> binding) {
    bindings_.push_back(std::move(binding));
}

void Bindings::radio(int firstId, CopyField<int> field, const ItemRule* rule) {
    add(std::make_unique<Radio>(firstId, std::move(field), rule));
}

void Bindings::radioAsShown(int firstId, CopyField<int> field, const ItemRule* rule) {
    add(std::make_unique<RadioAsShown>(firstId, std::move(field), rule));
}

void Bindings::list(int id, CopyField<int> field, const ItemRule* rule) {
    add(std::make_unique<List>(id, std::move(field), rule));
}

void Bindings::checkBox(int id, CopyField<int> field, const ItemRule* rule) {
    add(std::make_unique<CheckBox>(id, std::move(field), rule));
}

void Bindings::bit(int firstId, CopyField<int> mask, int bit) {
    add(std::make_unique<Bit>(firstId, std::move(mask), bit));
}

void Bindings::textEdit(int id, CopyField<std::string> field, const ItemRule& rule, int limit,
                        std::string_view message) {
    add(std::make_unique<TextEdit>(id, std::move(field), rule, limit, message));
    if (rule.kind != ItemKind::Text)  // free text takes any key
        dialog_.filterKeys(id);
}

void Bindings::numberEdit(int id, CopyField<int> field, const ItemRule& rule, int limit,
                          std::string_view message) {
    add(std::make_unique<NumberEdit>(id, std::move(field), rule, limit, message));
    dialog_.filterKeys(id);
}

void Bindings::address(int id, CopyField<std::string> field, const ItemRule& rule, int limit,
                       std::string_view message, std::string_view storedWhenEmpty,
                       bool whileEnabled) {
    add(std::make_unique<AddressEdit>(id, std::move(field), rule, limit, message, storedWhenEmpty,
                                      whileEnabled));
    if (rule.kind != ItemKind::Text)
        dialog_.filterKeys(id);
}

void Bindings::rule(std::string_view message, std::function<bool()> refused) {
    add(std::make_unique<Rule>(message, std::move(refused)));
}

void Bindings::enableWhen(int firstId, int index, std::vector<int> ids) {
    add(std::make_unique<EnableWhen>(firstId, index, std::move(ids)));
}

namespace {

// The bound number edit `editId`; a binding over anything else is an error of `id`'s.
const NumberEdit& numberEditOf(const CSettingsDlg& dialog,
                               const std::vector<std::unique_ptr<Binding>>& bindings, int editId,
                               int id) {
    for (const auto& b : bindings)
        if (const auto* edit = dynamic_cast<const NumberEdit*>(b.get()))
            if (edit->id() == editId && edit->rule().kind == ItemKind::Number)
                return *edit;
    dialog.bindingError("a binding over an edit that is not a bound number", id);
}

}  // namespace

void Bindings::spin(int spinId, int editId, int readChars, int step, SpinWrap wrap) {
    add(std::make_unique<Spin>(spinId, numberEditOf(dialog_, bindings_, editId, spinId), readChars,
                               step, wrap));
}

void Bindings::derivedText(int staticId, int editId, std::function<std::string(int)> text) {
    add(std::make_unique<DerivedText>(staticId, numberEditOf(dialog_, bindings_, editId, staticId),
                                      std::move(text)));
}

void Bindings::opening() {
    for (auto& b : bindings_) b->opening();
}

void Bindings::show() {
    for (auto& b : bindings_) b->show(dialog_);
    // over the network link, the controls of serial-only rows are shown but not editable
    if (networkMode == 0)
        return;
    for (const auto& b : bindings_) b->serialOnlyControls(dialog_, networkDisabled_);
    for (int id : networkDisabled_) dialog_.EnableControl(id, false);
}

void Bindings::exchange(ui::DataExchange& dx) {
    for (auto& b : bindings_) b->exchange(dx);
}

void Bindings::clicked(int clicked) {
    for (auto& b : bindings_) b->clicked(dialog_, clicked, networkDisabled_);
}

bool Bindings::take() {
    for (auto& b : bindings_) b->settle();
    for (auto& b : bindings_)
        if (!b->take(dialog_))
            return false;
    return true;
}

void Bindings::store() {
    for (auto& b : bindings_) b->store();
}

void Bindings::scrolled(int id, int code, const std::function<void(int editId)>& after) {
    for (auto& b : bindings_) {
        const std::optional<Binding::Spun> spun = b->scrolled(dialog_, id, code);
        if (!spun)
            continue;
        for (auto& f : bindings_) f->follow(dialog_, *spun);
        after(spun->editId);
    }
}

}  // namespace kx::area
