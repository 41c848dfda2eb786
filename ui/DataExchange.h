#pragma once

// Data exchange between a dialog's members and its controls (Dialog::DoDataExchange):
//
//   void CPortSelectDlg::DoDataExchange(ui::DataExchange& dx) {
//       dx.radio(IDC_PORTSEL_SERIAL, linkChoice);
//       dx.listIndex(IDC_PORTSEL_COM, comIndex);
//       dx.text(IDC_PORTSEL_IP_ADDRESS, ipAddress, 20, "ＩＰアドレスの入力に間違いがあります。");
//   }
//
// Going to the controls always succeeds. Coming from them, the first refused field shows its
// message (MessageCaption(), OK, no icon) and fails the exchange; the helpers after it leave
// their members alone.

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace kx::ui {

class Dialog;

class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saveAndValidate);

    bool saving() const { return saving_; }  // true: controls -> members
    bool failed() const { return failed_; }

    // Edit text as the record holds it (CP932 bytes). To the control: limits the edit to
    // `limit` bytes (0: no limit) and shows the text. From the control: keeps at most `limit`
    // bytes (never splitting a character); text that CP932 cannot carry, or with a control
    // character, is refused with `errorMessage`.
    void text(int id, std::string& cp932, int limit, std::string_view errorMessage);
    // The same for a fixed buffer; the text always ends in a NUL inside it.
    template <std::size_t N>
    void text(int id, char (&buffer)[N], int limit, std::string_view errorMessage) {
        std::string value(buffer, ::strnlen(buffer, N));
        int cap = static_cast<int>(N) - 1;
        text(id, value, limit > 0 && limit < cap ? limit : cap, errorMessage);
        if (saving_ && !failed_) {
            std::memcpy(buffer, value.data(), value.size());
            buffer[value.size()] = '\0';
        }
    }

    // Radio group that starts at `firstId`: the index of the checked button in template order,
    // -1 when none is checked. To the controls, -1 or an index past the group clears them all.
    void radio(int firstId, int& index);
    // Check box: 0 or 1 (to the control, any nonzero value checks it).
    void check(int id, int& value);
    // Drop-down list: the selected item's index, -1 when none.
    void listIndex(int id, int& index);

    // Marks the exchange failed after showing `errorMessage` (for checks of a dialog's own).
    void fail(std::string_view errorMessage);

private:
    Dialog& dialog_;
    bool saving_;
    bool failed_ = false;
};

}  // namespace kx::ui
