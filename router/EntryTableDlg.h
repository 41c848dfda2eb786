#pragma once

#include <array>
#include <string>
#include <string_view>

#include "area/SettingsDlg.h"
#include "res/RouterIds.h"
#include "router/RouterSettings.h"

namespace kx {

// The dialogs of the router's numbered tables (32 entries each): they list the entries in use,
// one "n: first, second" line each, and change one entry per confirmation. "登録" puts the two
// items into entry n and marks it in use; "削除" marks entry n unused (its items stay). Either
// way, once the entry number and the items passed their checks, the working copy is copied
// into the snapshot, changeCount goes up and the dialog ends with OK; the menu then writes the
// table, which deletes and adds what changed. The fields start empty.
template <class Entry>
class CEntryTableDlg : public area::CSettingsDlg {
public:
    // What a table dialog is made of: its ids, the table, the two items of an entry with their
    // text limits, checks (0 valid) and messages.
    struct Table {
        const EntryTableIds& ids;
        std::array<Entry, kTableEntries> RouterSettings::*entries;
        std::string Entry::*first;
        std::string Entry::*second;
        int firstLimit, secondLimit;
        bool secondFiltered;  // the second item takes the number keys only
        int (*checkFirst)(std::string_view);
        int (*checkSecond)(std::string_view);
        const char* firstMessage;
        const char* secondMessage;
    };

    explicit CEntryTableDlg(const Table& table);

protected:
    bool OnInitDialog() override;
    void OnOK() override;  // "登録"
    void OnCommand(int id) override;

private:
    // The entry number 1..32, or 0 after its message.
    int readEntryNumber();
    Entry& workingEntry(int n) {
        return (routerSettings.working.*table_.entries)[static_cast<std::size_t>(n - 1)];
    }

    const Table& table_;
};

// "ＮＡＴ（スタティックＮＡＴ）設定" (156): static NAT, a private address to a global address
// or to a "*" text.
class CNatDlg : public CEntryTableDlg<NatEntry> {
public:
    CNatDlg();
};

// "ＤＮＳ名前解決設定" (161): the host table of the DNS proxy, an address and its host name.
class CDnsHostDlg : public CEntryTableDlg<HostEntry> {
public:
    CDnsHostDlg();
};

}  // namespace kx
