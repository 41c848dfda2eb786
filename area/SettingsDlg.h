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
// the dialog binds them, each with the dialog's own message. See ui/README.md for a worked
// example.

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/AppState.h"
#include "app/NumEdit.h"
#include "area/Items.h"
#include "link/TextFunctions.h"
#include "res/ShellIds.h"
#include "ui/DataExchange.h"
#include "ui/Dialog.h"
#include "ui/MessageBox.h"

namespace kx::area {

// Characters the OK handlers read of an edit before checking it.
inline constexpr int kEditReadChars = 59;

// The spin arrows' arithmetic: `value` changed by the scroll code and wrapped into
// lowest..highest (up past highest gives lowest, down past lowest gives highest). Any other
// code leaves it unchanged.
int spinValue(int value, int code, int lowest, int highest);

class CSettingsDlg : public ui::Dialog {
public:
    CSettingsDlg(int templateId, int helpContext);

protected:
    // The help button and the help key open the dialog's help page.
    void OnHelp() override;
    void OnCommand(int id) override;

    // The end of OK once every check has passed: takeSnapshot (empty for the dialogs that take
    // no snapshot copy), store, changeCount + 1, end with OK.
    void confirm(const std::function<void()>& takeSnapshot, const std::function<void()>& store);

    // Reads edit `id` (at most maxChars bytes, as the adapter's CP932) and runs `check` on it
    // (0 valid). On a refusal (the check, a control character, a character CP932 cannot carry)
    // shows `message` and returns false.
    bool readChecked(int id, int maxChars, const std::function<int(std::string_view)>& check,
                     std::string_view message, std::string& out);

    // Spin arrows over edit `editId`: reads at most readChars characters as a number, changes
    // it by `code` within lowest..highest and shows it again in decimal.
    void spinEdit(int editId, int readChars, int code, int lowest, int highest);

    // The number, address and phone edits filter their keys; attach one per edit.
    void filterKeys(int editId);

private:
    int helpContext_;
    std::vector<std::unique_ptr<CNumEdit>> filters_;
};

// A dialog over one record of an area. `working` is the part of the working copy it edits;
// `takeSnapshot` copies the area's whole working copy into its snapshot; `items` is the
// record's item table.
template <class Record>
class RecordDlg : public CSettingsDlg {
public:
    RecordDlg(int templateId, int helpContext, Record& working, std::function<void()> takeSnapshot,
              std::span<const Item<Record>> items)
        : CSettingsDlg(templateId, helpContext),
          values(working),
          working_(working),
          takeSnapshot_(std::move(takeSnapshot)),
          items_(items) {}

    // The dialog's copy of the record: taken from the working copy when the window opens, stored
    // into it by a successful OK.
    Record values;

protected:
    // --- bindings, made in the derived constructor; edits are checked in the order bound ---
    // A radio group that starts at firstId, as the index of the checked button (-1: none).
    void bindRadio(int firstId, int Record::*member) { radios_.push_back({firstId, member}); }
    // An edit of a text item, limited to `limit` bytes; refused with `message`.
    void bindEdit(int id, std::string Record::*member, int limit, std::string_view message) {
        edits_.push_back({id, limit, message, member, nullptr, ruleOf(member)});
        filterKeys(id);
    }
    // An edit of a number item, shown in decimal.
    void bindEdit(int id, int Record::*member, int limit, std::string_view message) {
        edits_.push_back({id, limit, message, nullptr, member, ruleOf(member)});
        filterKeys(id);
    }
    // Spin arrows `spinId` over the bound number edit `editId`: read `readChars` characters,
    // wrap within the item's range.
    void bindSpin(int spinId, int editId, int readChars) {
        for (const Edit& e : edits_)
            if (e.id == editId && e.rule->kind == ItemKind::Number)
                spins_.push_back({spinId, editId, readChars, e.rule->lowest, e.rule->highest});
    }

    // --- the dialog's own rules, around the generic steps ---
    // After `values` was taken from the working copy, before it reaches the controls.
    virtual void initRules() {}
    // After the bound edits passed their checks; false stops the OK (after a message).
    virtual bool checkRules() { return true; }
    // Just before `values` is stored: fold the dialog's own controls into it.
    virtual void storeRules() {}

    Record& working() { return working_; }

    bool OnInitDialog() override {
        values = working_;
        initRules();
        for (const Edit& e : edits_) {
            LimitText(e.id, e.limit);
            if (e.text)
                SetDlgItemText(e.id, values.*e.text);
            else
                SetDlgItemInt(e.id, values.*e.number);
        }
        return CSettingsDlg::OnInitDialog();  // radios and check boxes to the controls
    }

    void DoDataExchange(ui::DataExchange& dx) override {
        for (Radio& r : radios_) dx.radio(r.firstId, values.*r.member);
    }

    void OnOK() override {
        if (!UpdateData(true))
            return;
        for (const Edit& e : edits_) {
            std::string text;
            if (!readChecked(
                    e.id, kEditReadChars, [&](std::string_view t) { return e.rule->checkText(t); },
                    e.message, text))
                return;
            if (e.text)
                values.*e.text = text;
            else
                values.*e.number = ReadDecimal(text);
        }
        if (!checkRules())
            return;
        confirm(takeSnapshot_, [this] {
            storeRules();
            working_ = values;
        });
    }

    void OnVScroll(int id, int code) override {
        for (const Spin& s : spins_)
            if (s.spinId == id)
                spinEdit(s.editId, s.readChars, code, s.lowest, s.highest);
    }

private:
    struct Radio {
        int firstId;
        int Record::*member;
    };
    struct Edit {
        int id;
        int limit;
        std::string_view message;
        std::string Record::*text;
        int Record::*number;
        const ItemRule* rule;
    };
    struct Spin {
        int spinId, editId, readChars, lowest, highest;
    };

    template <class Member>
    const ItemRule* ruleOf(Member Record::*member) const {
        const Item<Record>* item = findItem(items_, member);
        if (!item) {
            std::fprintf(stderr, "kx::area: an edit of dialog %d has no item\n", templateId());
            std::abort();
        }
        return item;
    }

    Record& working_;
    std::function<void()> takeSnapshot_;
    std::span<const Item<Record>> items_;
    std::vector<Radio> radios_;
    std::vector<Edit> edits_;
    std::vector<Spin> spins_;
};

}  // namespace kx::area
