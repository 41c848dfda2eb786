#pragma once

// The base of every settings dialog, and RecordDlg, the base of the dialogs that edit one
// record (a TEL port, the analog common settings, a digital port, ...).
//
// Every settings dialog ends the same way once its checks have passed (confirm()): the area's
// working copy is copied into its snapshot, the dialog's values are stored into the working
// copy, changeCount goes up by one and the dialog ends with OK. The dialogs are the only ones
// that count changes; the menu that opened the dialog then writes the area, and the writer
// sends what differs between the two copies. A dialog never talks to the adapter itself.
//
// A RecordDlg binds its controls to the members of a copy of the record it edits (`values`),
// never to the working copy itself, so nothing reaches the working copy before the snapshot
// has been taken; the edits are checked by the rules of the record's item table, in the order
// the dialog binds them, each with the dialog's own message (area/Bindings.h holds the
// bindings, one small class per kind). See ui/README.md for a worked example. Spin arrows may step
// by several units (bindSpin's step), and a static text may follow a number edit (bindDerivedText:
// a rate estimate beside a threshold).

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/services/AppState.h"
#include "app/services/NumEdit.h"
#include "area/Bindings.h"
#include "area/Items.h"
#include "link/TextFunctions.h"
#include "res/ShellIds.h"
#include "ui/DataExchange.h"
#include "ui/Dialog.h"
#include "ui/MessageBox.h"

namespace kx::area {

// Characters the OK handlers read of an edit before checking it (more when the edit holds
// more: a text is never cut before its check).
inline constexpr int kEditReadChars = 59;

// Whether an address text stands for no address: empty, or "0.0.0.0" with or without a prefix.
bool isNoAddress(std::string_view text);

// A stored number in display units, in decimal (computed wide: a reply may report any int).
std::string displayNumber(int stored, int scale);

// The message of a wrong number in a numbered table: "電話番号07の入力に間違いがあります。",
// the entry number (1..99) in two digits.
std::string numberedPhoneMessage(int entry);

// The spin arrows' arithmetic: `value` changed by the scroll code and wrapped into
// lowest..highest as `wrap` says (down past lowest gives highest). Any other code leaves it
// unchanged.
int spinValue(int value, int code, int lowest, int highest, SpinWrap wrap = SpinWrap::AboveHighest);

class CSettingsDlg : public ui::Dialog {
public:
    CSettingsDlg(int templateId, int helpContext);
    // Over a template that is not one of the program's (it must outlive the dialog).
    CSettingsDlg(const ui::Template& tpl, int helpContext);

    // --- what the bindings (area/Bindings.h) and the dialogs' own rules share ---
    // Reads edit `id` (at most maxChars bytes, as the adapter's CP932) and runs `check` on it
    // (0 valid). On a refusal (the check, a control character, a character CP932 cannot carry)
    // shows `message` and returns false.
    bool readChecked(int id, int maxChars, const std::function<int(std::string_view)>& check,
                     std::string_view message, std::string& out);

    // Spin arrows over edit `editId`: reads at most readChars characters as a number of
    // `scale` display units per step, changes the steps by `code` within lowest..highest and
    // shows the result again in decimal display units.
    void spinEdit(int editId, int readChars, int code, int lowest, int highest, int scale = 1,
                  SpinWrap wrap = SpinWrap::AboveHighest);

    // The number, address and phone edits filter their keys; attach one per edit.
    void filterKeys(int editId);

    // A binding that cannot work is a programming error: say so at once, not with dead
    // controls.
    [[noreturn]] void bindingError(const char* what, int id) const;

protected:
    // The help button and the help key open the dialog's help page.
    void OnHelp() override;
    void OnCommand(int id) override;

    // The end of OK once every check has passed: takeSnapshot (empty for the dialogs that take
    // no snapshot copy), store, changeCount + 1, end with OK.
    void confirm(const std::function<void()>& takeSnapshot, const std::function<void()>& store);

private:
    int helpContext_;
    std::vector<std::unique_ptr<CNumEdit>> filters_;
};

// A field of a record that a binding reaches: a member, or a member of an entry of an array
// member (entryField).
template <class Record, class T>
using Field = std::function<T&(Record&)>;

template <class Record, class T>
Field<Record, T> memberField(T Record::*member) {
    return [member](Record& record) -> T& { return record.*member; };
}

// The member of entry `index` of an array member:
//   entryField(&ArriveSettings::entries, 3, &ArriveEntry::tel1Rank)
template <class Record, class Array, class Entry, class T>
Field<Record, T> entryField(Array Record::*array, std::size_t index, T Entry::*member) {
    return [array, index, member](Record& record) -> T& { return (record.*array)[index].*member; };
}

// A dialog over one record of an area. `working` is the part of the working copy it edits;
// `takeSnapshot` copies the area's whole working copy into its snapshot; `items` is the
// record's item table, whose rows give the edits' checks.
template <class Record>
class RecordDlg : public CSettingsDlg {
public:
    RecordDlg(int templateId, int helpContext, Record& working, std::function<void()> takeSnapshot,
              std::span<const Item<Record>> items = {})
        : CSettingsDlg(templateId, helpContext),
          values(working),
          working_(working),
          takeSnapshot_(std::move(takeSnapshot)),
          items_(items) {}
    RecordDlg(const ui::Template& tpl, int helpContext, Record& working,
              std::function<void()> takeSnapshot, std::span<const Item<Record>> items = {})
        : CSettingsDlg(tpl, helpContext),
          values(working),
          working_(working),
          takeSnapshot_(std::move(takeSnapshot)),
          items_(items) {}

    // The dialog's copy of the record: taken from the working copy when the window opens, stored
    // into it by a successful OK.
    Record values;

protected:
    using IntField = Field<Record, int>;
    using TextField = Field<Record, std::string>;

    // --- bindings, made in the derived constructor; edits are checked in the order bound ---
    // A radio group that starts at firstId, as the index of the checked button (-1: none).
    void bindRadio(int firstId, IntField field, const ItemRule* rule = nullptr) {
        bindings_.radio(firstId, reach(std::move(field)), rule);
    }
    void bindRadio(int firstId, int Record::*member) {
        bindRadio(firstId, memberField(member), rowOf(member));
    }
    // A radio group that shows the stored value as the index it is, and stores what it shows:
    // a value without a button shows no button checked, and OK then stores -1 like any group
    // left with none checked. Unlike the other choices, not kept as stored when left alone.
    void bindRadioAsShown(int firstId, int Record::*member) {
        bindings_.radioAsShown(firstId, reach(memberField(member)), rowOf(member));
    }
    // A drop-down list, as the index of its selected item (-1: none; a value without an item
    // shows no selection).
    void bindList(int id, IntField field, const ItemRule* rule = nullptr) {
        bindings_.list(id, reach(std::move(field)), rule);
    }
    void bindList(int id, int Record::*member) { bindList(id, memberField(member), rowOf(member)); }
    // A check box, as 0 or 1.
    void bindCheckBox(int id, int Record::*member) {
        bindings_.checkBox(id, reach(memberField(member)), rowOf(member));
    }
    // A two-button radio group (off, on) over bit `bit` of a mask; OK sets or clears the bit
    // when the group's value differs from it, so the other bits are carried as they are.
    void bindBit(int firstId, IntField mask, int bit) {
        bindings_.bit(firstId, reach(std::move(mask)), bit);
    }
    void bindBit(int firstId, int Record::*mask, int bit) {
        bindBit(firstId, memberField(mask), bit);
    }
    // An edit of a text or number item, limited to `limit` bytes, checked by the item's row and
    // refused with `message`. Numbers show in decimal, in the row's display unit.
    void bindEdit(int id, std::string Record::*member, int limit, std::string_view message) {
        bindEdit(id, memberField(member), requiredRow(member), limit, message);
    }
    void bindEdit(int id, int Record::*member, int limit, std::string_view message) {
        bindEdit(id, memberField(member), requiredRow(member), limit, message);
    }
    void bindEdit(int id, TextField field, const ItemRule& rule, int limit,
                  std::string_view message) {
        bindings_.textEdit(id, reach(std::move(field)), rule, limit, message);
    }
    void bindEdit(int id, IntField field, const ItemRule& rule, int limit,
                  std::string_view message) {
        bindings_.numberEdit(id, reach(std::move(field)), rule, limit, message);
    }
    // An address edit that may be left empty. An address the adapter reports as "0.0.0.0"
    // (with or without a prefix), or not at all, shows as an empty edit and stays as it was
    // when the user leaves it empty, so no command goes out for it; an address the user
    // empties is stored as `storedWhenEmpty`. A text that is not empty is checked by the row. With
    // `whileEnabled`, a disabled edit is neither checked nor stored.
    void bindAddress(int id, std::string Record::*member, int limit, std::string_view message,
                     std::string_view storedWhenEmpty, bool whileEnabled = false) {
        bindAddress(id, memberField(member), requiredRow(member), limit, message, storedWhenEmpty,
                    whileEnabled);
    }
    void bindAddress(int id, TextField field, const ItemRule& rule, int limit,
                     std::string_view message, std::string_view storedWhenEmpty,
                     bool whileEnabled = false) {
        bindings_.address(id, reach(std::move(field)), rule, limit, message, storedWhenEmpty,
                          whileEnabled);
    }
    // A check of the dialog's own, at its place among the edits' checks: when refused(values)
    // is true, OK shows `message` and stops. The radios and lists are in `values` already, and
    // so are the edits bound before it.
    void bindRule(std::string_view message, std::function<bool(const Record&)> refused) {
        bindings_.rule(message, [this, refused = std::move(refused)] { return refused(values); });
    }
    // Controls `ids` are enabled while button `index` of radio group `firstId` is checked: when
    // the dialog opens and whenever a button of the group is clicked.
    void enableWhen(int firstId, int index, std::vector<int> ids) {
        bindings_.enableWhen(firstId, index, std::move(ids));
    }
    // Spin arrows `spinId` over the number edit `editId`, bound before: read `readChars`
    // characters, wrap within the row's range (in stored units: the holding times step by 5
    // seconds). With `step`, the arrows move by that many stored units and wrap within the
    // range counted in steps (a holding time kept in seconds that steps by 5: step 5); the
    // shown value becomes a whole number of steps. `wrap`: the dialog's own rule for the
    // upper arrow past the range.
    void bindSpin(int spinId, int editId, int readChars, int step = 1,
                  SpinWrap wrap = SpinWrap::AboveHighest) {
        bindings_.spin(spinId, editId, readChars, step, wrap);
    }
    // Static text `staticId` shows text(n) for the number n of edit `editId` (in display
    // units), bound before: when the dialog opens and after the edit's spin arrows, not while
    // the user types (a rate estimate beside a threshold).
    void bindDerivedText(int staticId, int editId, std::function<std::string(int)> text) {
        bindings_.derivedText(staticId, editId, std::move(text));
    }

    // --- the dialog's own rules, around the generic steps ---
    // After `values` was taken from the working copy, before it reaches the controls.
    virtual void initRules() {}
    // After the bound edits passed their checks; false stops the OK (after a message).
    virtual bool checkRules() { return true; }
    // Just before `values` is stored: fold the dialog's own controls into it.
    virtual void storeRules() {}
    // After spin arrows changed edit `editId`.
    virtual void spinRules(int /*editId*/) {}

    Record& working() { return working_; }

    bool OnInitDialog() override {
        values = working_;
        bindings_.opening();
        initRules();
        bindings_.show();
        // radios, lists and check boxes to the controls
        const bool result = CSettingsDlg::OnInitDialog();
        bindings_.clicked(0);
        return result;
    }

    void OnCommand(int id) override {
        bindings_.clicked(id);
        CSettingsDlg::OnCommand(id);
    }

    void DoDataExchange(ui::DataExchange& dx) override { bindings_.exchange(dx); }

    void OnOK() override {
        if (!UpdateData(true) || !bindings_.take() || !checkRules())
            return;
        confirm(takeSnapshot_, [this] {
            bindings_.store();
            storeRules();
            working_ = values;
        });
    }

    void OnVScroll(int id, int code) override {
        bindings_.scrolled(id, code, [this](int editId) { spinRules(editId); });
    }

private:
    // A field of `values` or of the working copy, as the bindings ask for it.
    template <class T>
    CopyField<T> reach(Field<Record, T> field) {
        return [this, field = std::move(field)](Copy copy) -> T& {
            return field(copy == Copy::Dialog ? values : working_);
        };
    }

    template <class Member>
    const ItemRule* rowOf(Member Record::*member) const {
        return findItem(items_, member);
    }
    template <class Member>
    const ItemRule& requiredRow(Member Record::*member) const {
        const ItemRule* rule = rowOf(member);
        if (!rule)
            bindingError("an edit without a row in the item table", 0);
        return *rule;
    }

    Record& working_;
    std::function<void()> takeSnapshot_;
    std::span<const Item<Record>> items_;
    Bindings bindings_{*this};
};

}  // namespace kx::area
