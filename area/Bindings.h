#pragma once

// The bindings of a record dialog (RecordDlg, area/SettingsDlg.h): which control shows which
// field of the record, how OK reads and checks it, and what the dialog does around its
// controls (spin arrows, a text that follows a number, controls enabled by a radio button).
//
// Each kind of binding is one small class (area/Bindings.cpp). The dialog's Bindings keeps
// them in the order they were bound, which is the order OK checks them: the first refusal
// shows its message and stops the OK, so nothing reaches the working copy. Bindings knows
// nothing of the record's type; a field reaches the member in either copy of the record
// through a CopyField.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "area/Items.h"

namespace kx::ui {
class DataExchange;
}

namespace kx::area {

class CSettingsDlg;
class Binding;

// How the upper arrow wraps past the highest value: every value above it becomes the lowest,
// or only the one right after it (so a typed 300 steps on to 301, which the dialog's check then
// refuses). The lower arrow always turns anything below the lowest into the highest.
enum class SpinWrap { AboveHighest, JustAfterHighest };

// The copy of the record a field is reached in: the dialog's own (what the controls show and
// OK fills in) or the working copy (what the adapter was last known to hold).
enum class Copy { Dialog, Working };

template <class T>
using CopyField = std::function<T&(Copy)>;

class Bindings {
public:
    explicit Bindings(CSettingsDlg& dialog);
    ~Bindings();
    Bindings(const Bindings&) = delete;
    Bindings& operator=(const Bindings&) = delete;

    // --- made in the dialog's constructor (RecordDlg's bind... functions say what each does) ---
    void radio(int firstId, CopyField<int> field, const ItemRule* rule);
    void radioAsShown(int firstId, CopyField<int> field, const ItemRule* rule);
    void list(int id, CopyField<int> field, const ItemRule* rule);
    void checkBox(int id, CopyField<int> field, const ItemRule* rule);
    void bit(int firstId, CopyField<int> mask, int bit);
    void textEdit(int id, CopyField<std::string> field, const ItemRule& rule, int limit,
                  std::string_view message);
    void numberEdit(int id, CopyField<int> field, const ItemRule& rule, int limit,
                    std::string_view message);
    void address(int id, CopyField<std::string> field, const ItemRule& rule, int limit,
                 std::string_view message, std::string_view storedWhenEmpty, bool whileEnabled);
    void rule(std::string_view message, std::function<bool()> refused);
    void enableWhen(int firstId, int index, std::vector<int> ids);
    void spin(int spinId, int editId, int readChars, int step, SpinWrap wrap);
    void derivedText(int staticId, int editId, std::function<std::string(int)> text);

    // --- the dialog's steps, in the order they happen ---
    // The dialog's copy has just been taken from the working copy.
    void opening();
    // After the dialog's own initRules: the edits and texts to the controls, the choices'
    // shown values into the dialog's copy; over the network link, serial-only rows disabled.
    void show();
    // Radios, lists, check boxes and bits, both ways.
    void exchange(ui::DataExchange& dx);
    // The enable rules of the groups `clicked` belongs to (0: all of them).
    void clicked(int clicked);
    // OK, after the exchange from the controls: the choices left as shown take back their
    // stored values, then every binding in order reads and checks its control into the
    // dialog's copy. False at the first refusal, after its message.
    bool take();
    // Just before the dialog's copy is stored: what the bindings fold into it (the bits).
    void store();
    // Spin arrows `id` moved by `code`; `after(editId)` runs for each edit they changed.
    void scrolled(int id, int code, const std::function<void(int editId)>& after);

private:
    void add(std::unique_ptr<Binding> binding);

    CSettingsDlg& dialog_;
    std::vector<std::unique_ptr<Binding>> bindings_;
    std::vector<int> networkDisabled_;
};

}  // namespace kx::area
