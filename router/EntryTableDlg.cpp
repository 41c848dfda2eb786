#include "router/EntryTableDlg.h"

#include <algorithm>

#include "app/services/Help.h"
#include "link/TextFunctions.h"

namespace kx {

namespace {

constexpr int kEntryNumberLimit = 4;
constexpr int kNatItemLimit = 32;

const CEntryTableDlg<NatEntry>::Table kNatTable{
    kNatIds,
    &RouterSettings::nat,
    &NatEntry::lanAddress,
    &NatEntry::wanAddress,
    kNatItemLimit,
    kNatItemLimit,
    true,
    checkNatLan,
    checkNatWan,
    "プライベートＩＰアドレスの入力に間違いがあります。",
    "グローバルＩＰアドレスの入力に間違いがあります。",
};

const CEntryTableDlg<HostEntry>::Table kHostTable{
    kDnsHostIds,
    &RouterSettings::hosts,
    &HostEntry::hostAddress,
    &HostEntry::hostName,
    kNatItemLimit,
    kHostNameLimit,
    false,
    checkHostAddress,
    checkHostName,
    "ＩＰアドレスの入力に間違いがあります。",
    "ホスト名の入力に間違いがあります。",
};

}  // namespace

template <class Entry>
CEntryTableDlg<Entry>::CEntryTableDlg(const Table& table)
    : CSettingsDlg(table.ids.dialog, kHelpClassicRouter), table_(table) {
    filterKeys(table.ids.number);
    filterKeys(table.ids.first);
    if (table.secondFiltered)
        filterKeys(table.ids.second);
}

template <class Entry>
bool CEntryTableDlg<Entry>::OnInitDialog() {
    const EntryTableIds& ids = table_.ids;
    LimitText(ids.number, kEntryNumberLimit);
    LimitText(ids.first, table_.firstLimit);
    LimitText(ids.second, table_.secondLimit);
    std::string list;
    for (int n = 1; n <= kTableEntries; ++n) {
        const Entry& entry = workingEntry(n);
        if (entry.inUse != 0)
            list += std::to_string(n) + ": " + entry.*table_.first + ", " + entry.*table_.second +
                    "\r\n";
    }
    SetDlgItemText(ids.list, list);
    return CSettingsDlg::OnInitDialog();
}

template <class Entry>
int CEntryTableDlg<Entry>::readEntryNumber() {
    std::string text;
    if (!readChecked(
            table_.ids.number, area::kEditReadChars,
            [](std::string_view t) { return CheckNumber(t, 1, kTableEntries); },
            "番号の入力に間違いがあります。", text))
        return 0;
    return ReadDecimal(text);
}

template <class Entry>
void CEntryTableDlg<Entry>::OnOK() {
    const int n = readEntryNumber();
    std::string first, second;
    if (n == 0 ||
        !readChecked(table_.ids.first, std::max(area::kEditReadChars, table_.firstLimit),
                     table_.checkFirst, table_.firstMessage, first) ||
        !readChecked(table_.ids.second, std::max(area::kEditReadChars, table_.secondLimit),
                     table_.checkSecond, table_.secondMessage, second))
        return;
    confirm([] { routerSettings.takeSnapshot(); },
            [&] {
                Entry& entry = workingEntry(n);
                entry.*table_.first = first;
                entry.*table_.second = second;
                entry.inUse = 1;
            });
}

template <class Entry>
void CEntryTableDlg<Entry>::OnCommand(int id) {
    if (id != table_.ids.deleteButton) {
        CSettingsDlg::OnCommand(id);
        return;
    }
    if (const int n = readEntryNumber(); n != 0)
        confirm([] { routerSettings.takeSnapshot(); }, [&] { workingEntry(n).inUse = 0; });
}

template class CEntryTableDlg<NatEntry>;
template class CEntryTableDlg<HostEntry>;

CNatDlg::CNatDlg() : CEntryTableDlg(kNatTable) {}

CDnsHostDlg::CDnsHostDlg() : CEntryTableDlg(kHostTable) {}

}  // namespace kx
