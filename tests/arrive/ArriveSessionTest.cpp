// The incoming-call control area end to end: the main window reads the three "show arrive"
// replies, the menu opens the standard dialog and the two per-number dialogs, a scripted user
// edits them, and the adapter receives one setting command per changed item.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/AreaRegistry.h"
#include "app/HelpPages.h"
#include "arrive/ArriveSettings.h"
#include "link/Exchange.h"
#include "res/ArriveIds.h"
#include "res/ShellIds.h"
#include "tests/support/SessionSupport.h"
#include "ui/MessageBox.h"

namespace kx::test {
namespace {

using Lines = std::vector<std::string>;

const Lines kShows{"show arrive basic", "show arrive num1", "show arrive num2"};
const Lines kReadOk{"com open", "Arrive Control Status Read OK", "View Arrive Control Dlg"};

std::string click(int id) {
    return "click " + std::to_string(id) + "\n";
}
std::string text(int id, const std::string& value) {
    return "text " + std::to_string(id) + " " + value + "\n";
}
std::string select(int id, int index) {
    return "select " + std::to_string(id) + " " + std::to_string(index) + "\n";
}
// The controls of entry 1-20: rows of the first dialog, then of the second.
const ArriveRowIds& entry(int k) {
    const auto index = static_cast<std::size_t>((k - 1) % 10);
    return k <= 10 ? kArriveNumber1Rows[index] : kArriveNumber2Rows[index];
}
const ArriveColumnIds& kDefault = kArriveDefaultIds;
const ArriveColumnIds& kNoid = kArriveNoidIds;

const std::string kMenu = "dialog " + std::to_string(IDD_ARRIVE_MENU) + "\n";
const std::string kOpenStandard =
    click(IDC_ARRIVE_MENU_STANDARD) + "dialog " + std::to_string(IDD_ARRIVE_STANDARD) + "\n";
const std::string kOpenNumber1 =
    click(IDC_ARRIVE_MENU_NUMBER1) + "dialog " + std::to_string(IDD_ARRIVE_NUMBER1) + "\n";
const std::string kOpenNumber2 =
    click(IDC_ARRIVE_MENU_NUMBER2) + "dialog " + std::to_string(IDD_ARRIVE_NUMBER2) + "\n";
const std::string kConfirm = click(ui::IDOK) + kMenu;
const std::string kRefused = click(ui::IDOK) + "answer ok\n";
const std::string kBack = click(ui::IDCANCEL) + kMenu;
const std::string kEnter = click(IDC_MAIN_ARRIVE) + kMenu;
const std::string kLeave = click(ui::IDCANCEL) + "dialog " + std::to_string(IDD_MAIN) + "\n";

// The whole session: start, the arrive button, `menu` inside the menu, "戻る", close.
std::string session(const std::string& menu) {
    return kStart + kEnter + menu + kLeave + kClose;
}
// `commands` followed by the store into flash that a confirmed dialog asks for at close.
Lines stored(Lines commands) {
    commands.push_back("fromwr 15");
    return commands;
}

// What the adapter holds after a reset: TEL rankings normal, DATA/USB/PNA normal (index 0),
// the first ring, the telephone company's services, no numbers.
ArriveSettings factorySettings() {
    ArriveSettings s;
    s.tel1DefaultRank = s.tel2DefaultRank = s.tel3DefaultRank = 1;
    s.tel1NoidRank = s.tel2NoidRank = s.tel3NoidRank = 1;
    for (ArriveEntry& e : s.entries) e.tel1Rank = e.tel2Rank = e.tel3Rank = 1;
    return s;
}

// Values away from the factory's in every standard item and in entries 1, 10, 11 and 20.
const Lines kRichPresets{
    "arrive ring_select pseudo",          "arrive trouble_tel pseudo",
    "arrive ring_select ring2",           "arrive ranking default tel1 precede",
    "arrive ranking default tel2 delay",  "arrive ranking default tel3 reject",
    "arrive ranking default data reject", "arrive ranking default pna reject",
    "arrive ring_select default ring3",   "arrive ranking noid tel1 reject",
    "arrive ranking noid tel2 precede",   "arrive ranking noid tel3 delay",
    "arrive ranking noid usb reject",     "arrive ranking noid pna reject",
    "arrive ring_select noid ring2",      "arrive address 1 0311112222",
    "arrive ranking 1 tel1 precede",      "arrive ring_select 1 ring3",
    "arrive address 10 0312345678*1234",  "arrive ranking 10 tel3 reject",
    "arrive ranking 10 data reject",      "arrive address 11 0399",
    "arrive ranking 11 tel2 delay",       "arrive ranking 11 pna reject",
    "arrive address 20 09011112222#",     "arrive ranking 20 usb reject",
    "arrive ring_select 20 ring2"};

ArriveSettings richSettings() {
    ArriveSettings s = factorySettings();
    s.ringSelectService = s.troubleTelService = 1;
    s.nttRing = 1;
    s.tel1DefaultRank = 0, s.tel2DefaultRank = 2, s.tel3DefaultRank = 3;
    s.dataDefaultRank = 1, s.pnaDefaultRank = 1, s.defaultRing = 2;
    s.tel1NoidRank = 3, s.tel2NoidRank = 0, s.tel3NoidRank = 2;
    s.usbNoidRank = 1, s.pnaNoidRank = 1, s.noidRing = 1;
    // number, tel1, tel2, tel3, data, usb, pna, ring
    s.entries[0] = {"0311112222", 0, 1, 1, 0, 0, 0, 2};
    s.entries[9] = {"0312345678*1234", 1, 1, 3, 1, 0, 0, 0};
    s.entries[10] = {"0399", 1, 2, 1, 0, 0, 1, 0};
    s.entries[19] = {"09011112222#", 1, 1, 1, 0, 1, 0, 1};
    return s;
}

// A change to what the adapter reports: in the nth reply to `command`, the first `from` after
// the first `anchor` becomes `to`.
struct ReplyEdit {
    std::string command;
    std::string anchor;
    std::string from;
    std::string to;
    int nth = 1;
};

class ArriveSessionTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        useFastTimings();
    }
    // A fresh program and adapter, the adapter set by `presets` without them reaching the
    // transcript.
    void freshAdapter(const Lines& presets, const std::string& fault = "") {
        freshRun(serialSettings(), withFault(fault));
        for (const std::string& preset : presets)
            EXPECT_EQ(adapter().device().execute(preset).body, "") << preset;
    }
    // The read of the arrive button sees the adapter's replies with `edits` made: values the
    // emulator cannot be set to, and reply layouts it does not produce. Every command still
    // goes to the adapter.
    static void reportAs(std::vector<ReplyEdit> edits) {
        auto counts = std::make_shared<std::map<std::string, int>>();
        AreaHandlers area = *findArea(IDC_MAIN_ARRIVE);
        area.read = [edits, counts](AreaContext& context) {
            context.exchange = [edits, counts](std::string_view command, ReplyBuffer& reply,
                                               int timeoutMs, int kind) {
                const int result = SendCommand(command, reply, timeoutMs, kind);
                const std::string line(command.substr(0, command.find('\r')));
                const int nth = ++(*counts)[line];
                std::string edited(reply.view());
                for (const ReplyEdit& e : edits) {
                    if (result != 1 || e.command != line || e.nth != nth)
                        continue;
                    const std::size_t anchor = edited.find(e.anchor);
                    const std::size_t at =
                        anchor == std::string::npos ? anchor : edited.find(e.from, anchor);
                    EXPECT_NE(at, std::string::npos) << line << ": " << e.anchor << e.from;
                    if (at != std::string::npos)
                        edited.replace(at, e.from.size(), e.to);
                }
                if (edited != reply.view())
                    reply.assign(edited);
                return result;
            };
            return ReadArriveSettings(context);
        };
        ASSERT_TRUE(registerArea(IDC_MAIN_ARRIVE, area));
    }
    // What the adapter receives: the probe, the read, `tail`, "exit".
    static Lines sent(const Lines& tail) {
        return concat(concat(concat(probeLines(), kShows), tail), {"exit"});
    }
};

TEST_F(ArriveSessionTest, ConfirmedDialogsSendTheChangedItemsInWritingOrder) {
    struct Row {
        const char* name;
        Lines presets;
        std::string menu;
        Lines tail;
    } rows[] = {
        {"cancelled", {}, kOpenStandard + select(kDefault.tel1, 3) + kBack, {}},
        {"entry 12 TEL2 only",
         {},
         kOpenNumber2 + select(entry(12).columns.tel2, 2) + kConfirm,
         stored({"arrive ranking 12 tel2 delay"})},
        {"noid TEL3 changed first",
         {},
         kOpenStandard + select(kNoid.tel3, 0) + select(kDefault.tel1, 3) + kConfirm,
         stored({"arrive ranking default tel1 reject", "arrive ranking noid tel3 precede"})},
        {"default TEL1 changed first",
         {},
         kOpenStandard + select(kDefault.tel1, 3) + select(kNoid.tel3, 0) + kConfirm,
         stored({"arrive ranking default tel1 reject", "arrive ranking noid tel3 precede"})},
        // every item of the standard dialog, changed from the last to the first
        {"standard in writing order",
         {},
         kOpenStandard + click(IDC_ARRIVE_TROUBLE_PSEUDO) + select(IDC_ARRIVE_NTT_RING, 2) +
             click(IDC_ARRIVE_RING_SELECT_PSEUDO) + select(kNoid.ring, 2) + select(kNoid.usb, 1) +
             select(kNoid.data, 1) + select(kNoid.tel3, 3) + select(kNoid.tel2, 0) +
             select(kNoid.tel1, 2) + select(kDefault.ring, 1) + select(kDefault.usb, 1) +
             select(kDefault.data, 1) + select(kDefault.tel3, 3) + select(kDefault.tel2, 2) +
             select(kDefault.tel1, 0) + kConfirm,
         stored({"arrive ring_select pseudo", "arrive trouble_tel pseudo",
                 "arrive ranking default tel1 precede", "arrive ranking default tel2 delay",
                 "arrive ranking default tel3 reject", "arrive ranking default data reject",
                 "arrive ranking default usb reject", "arrive ring_select default ring2",
                 "arrive ranking noid tel1 delay", "arrive ranking noid tel2 precede",
                 "arrive ranking noid tel3 reject", "arrive ranking noid data reject",
                 "arrive ranking noid usb reject", "arrive ring_select noid ring3",
                 "arrive ring_select ring3"})},
        {"back to the telephone company's services",
         {"arrive ring_select pseudo", "arrive trouble_tel pseudo"},
         kOpenStandard + click(IDC_ARRIVE_TROUBLE_NTT) + click(IDC_ARRIVE_RING_SELECT_NTT) +
             kConfirm,
         stored({"arrive ring_select ntt", "arrive trouble_tel ntt"})},
        {"DATA and USB back to normal",
         {"arrive ranking default data reject", "arrive ranking 7 usb reject"},
         kOpenStandard + select(kDefault.data, 0) + kConfirm + kOpenNumber1 +
             select(entry(7).columns.usb, 0) + kConfirm,
         stored({"arrive ranking default data normal", "arrive ranking 7 usb normal"})},
        // every item of entry 10 (the last row of the first dialog), from the last to the first
        {"entry 10 in writing order",
         {},
         kOpenNumber1 + select(entry(10).columns.ring, 1) + select(entry(10).columns.usb, 1) +
             select(entry(10).columns.data, 1) + select(entry(10).columns.tel3, 0) +
             select(entry(10).columns.tel2, 3) + select(entry(10).columns.tel1, 2) +
             text(entry(10).number, "0312345678*99") + kConfirm,
         stored({"arrive address 10 0312345678*99", "arrive ranking 10 tel1 delay",
                 "arrive ranking 10 tel2 reject", "arrive ranking 10 tel3 precede",
                 "arrive ranking 10 data reject", "arrive ranking 10 usb reject",
                 "arrive ring_select 10 ring2"})},
        {"entries ascending",
         {},
         kOpenNumber1 + text(entry(9).number, "09") + select(entry(1).columns.ring, 2) +
             select(entry(4).columns.tel3, 3) + kConfirm,
         stored({"arrive ring_select 1 ring3", "arrive ranking 4 tel3 reject",
                 "arrive address 9 09"})},
        {"first and last rows of the second dialog",
         {},
         kOpenNumber2 + text(entry(20).number, "0120") + text(entry(11).number, "0311") + kConfirm,
         stored({"arrive address 11 0311", "arrive address 20 0120"})},
        {"emptied numbers",
         {"arrive address 3 0311112222", "arrive address 13 0313"},
         kOpenNumber1 + text(entry(3).number, "") + kConfirm + kOpenNumber2 +
             text(entry(13).number, "") + kConfirm,
         stored({"arrive address 3 ", "arrive address 13 "})},
        {"the same number given again",
         {"arrive address 3 0311112222"},
         kOpenNumber1 + text(entry(3).number, "0311112222") + kConfirm,
         stored({})},
        {"one dialog cancelled, the next confirmed",
         {},
         kOpenNumber1 + text(entry(2).number, "02") + kBack + kOpenNumber2 +
             select(entry(15).columns.data, 1) + kConfirm,
         stored({"arrive ranking 15 data reject"})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshAdapter(row.presets);
        SessionResult r = run(session(row.menu));
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, sent(row.tail));
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.log, kReadOk);
    }
}

// Every item is read from its own label and every entry from its own line; a dialog confirmed
// without a change then sends nothing, though the close stores into flash.
TEST_F(ArriveSessionTest, ReadTakesEveryItemAndAnUnchangedDialogSendsNothing) {
    for (const std::string& open : {kOpenStandard, kOpenNumber1, kOpenNumber2}) {
        SCOPED_TRACE(open);
        freshAdapter(kRichPresets);
        SessionResult r = run(session(open + kConfirm));
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, sent(stored({})));
        EXPECT_EQ(r.log, kReadOk);
        EXPECT_EQ(arriveSettings.snapshot, richSettings());
        EXPECT_EQ(arriveSettings.working, richSettings());
        EXPECT_EQ(changeCount, 1);
    }
}

// DATA, USB and HomePNA know only normal and reject: a reported 1 is "標準" (index 0), every
// other code "拒否" (index 1). Choosing "標準" sends a command only where the list showed "拒否".
TEST_F(ArriveSessionTest, PortRankingCodesOtherThanOneReadAsReject) {
    struct Row {
        const char* code;
        int index;
        Lines tail;
    } rows[] = {
        {"3", 1, stored({"arrive ranking default data normal", "arrive ranking 5 data normal"})},
        {"1", 0, stored({})},
        {"0", 1, stored({"arrive ranking default data normal", "arrive ranking 5 data normal"})},
        {"2", 1, stored({"arrive ranking default data normal", "arrive ranking 5 data normal"})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        freshAdapter({});
        const std::string code = row.code;
        reportAs({{"show arrive basic", "", "default data rank: 1", "default data rank: " + code},
                  {"show arrive basic", "", "noid usb rank: 1", "noid usb rank: " + code},
                  {"show arrive basic", "", "noid pna rank: 1", "noid pna rank: " + code},
                  {"show arrive num1", "\r\n5: ", "data rank: 1", "data rank: " + code},
                  {"show arrive num2", "\r\n15: ", "usb rank: 1", "usb rank: " + code}});
        SessionResult r = run(session(kOpenStandard + select(kDefault.data, 0) + kConfirm +
                                      kOpenNumber1 + select(entry(5).columns.data, 0) + kConfirm));
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, sent(row.tail));
        const ArriveSettings& read = arriveSettings.snapshot;
        EXPECT_EQ(read.usbNoidRank, row.index);
        EXPECT_EQ(read.pnaNoidRank, row.index);
        EXPECT_EQ(read.entries[14].usbRank, row.index);
        // the second dialog took its snapshot before storing "標準"
        EXPECT_EQ(read.entries[4].dataRank, row.index);
        EXPECT_EQ(arriveSettings.working.dataDefaultRank, 0);
    }
}

// Entries are found by "k: " on a line of their own; the number is what follows the colon,
// without blanks around it; an entry the reply does not list is an empty number.
TEST_F(ArriveSessionTest, EntriesAreReadFromTheirOwnLines) {
    const Lines kNumbers{"arrive address 1 0311",  "arrive address 3 0333",
                         "arrive address 7 0377",  "arrive address 10 0310",
                         "arrive address 12 0312", "arrive address 20 0320"};
    struct Row {
        const char* name;
        std::vector<ReplyEdit> edits;
        int k;
        const char* number;
        int reads = 1;  // times the arrive button is pressed
    } rows[] = {
        {"blanks around entry 3",
         {{"show arrive num1", "", "\r\n3: 0333\r", "\r\n3:   0333 \t \r"}},
         3,
         "0333"},
        {"blanks around entry 12",
         {{"show arrive num2", "", "\r\n12: 0312\r", "\r\n12:  0312  \r"}},
         12,
         "0312"},
        {"blanks around entry 10",
         {{"show arrive num1", "", "\r\n10: 0310\r", "\r\n10:  0310 \r"}},
         10,
         "0310"},
        {"entry 20 after its colon", {}, 20, "0320"},
        {"a stray entry 11 before entry 1",
         {{"show arrive num1", "", "\r\n1: 0311\r", "\r\n11: 0399\r\n1: 0311\r"}},
         1,
         "0311"},
        {"entry 1 not listed, entry 11 is",
         {{"show arrive num1", "", "\r\n1: 0311\r", "\r\n11: 0399\r"}},
         1,
         ""},
        // the second read forgets the number the first one took
        {"entry 7 no longer listed",
         {{"show arrive num1", "", "\r\n7: 0377\r\n", "\r\n", 2}},
         7,
         "",
         2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshAdapter(kNumbers);
        reportAs(row.edits);
        std::string script = kStart;
        for (int i = 0; i < row.reads; ++i) script += kEnter + kOpenNumber1 + kConfirm + kLeave;
        SessionResult r = run(script + kClose);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        Lines reads;
        for (int i = 0; i < row.reads; ++i) reads = concat(reads, kShows);
        EXPECT_EQ(r.transcript, concat(concat(probeLines(), reads), {"fromwr 15", "exit"}));
        EXPECT_EQ(arriveSettings.snapshot.entries[static_cast<std::size_t>(row.k - 1)].number,
                  row.number);
        EXPECT_EQ(arriveSettings.working, arriveSettings.snapshot);
    }
}

// A value the lists have no item for shows no selection; OK stores -1 for it, which has no
// keyword and so sends nothing. The service selection has no such gap: whatever is not 0 is
// the adapter's own service.
TEST_F(ArriveSessionTest, ValuesWithoutAnItem) {
    freshAdapter({});
    reportAs({{"show arrive basic", "", "default tel1 rank: 1", "default tel1 rank: 9"},
              {"show arrive basic", "", "noid ring: 0", "noid ring: 7"},
              {"show arrive basic", "", "ring select service: 0", "ring select service: 2"},
              {"show arrive num1", "\r\n4: ", "tel2 rank: 1", "tel2 rank: 9"},
              {"show arrive num1", "\r\n4: ", "ring: 0", "ring: 3"}});
    SessionResult r = run(session(kOpenStandard + kConfirm + kOpenNumber1 + kConfirm));
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(r.transcript, sent(stored({"arrive ring_select pseudo"})));
    EXPECT_TRUE(r.messages.empty());
    const ArriveSettings& w = arriveSettings.working;
    EXPECT_EQ(w.tel1DefaultRank, -1);
    EXPECT_EQ(w.noidRing, -1);
    EXPECT_EQ(w.ringSelectService, -1);
    EXPECT_EQ(w.entries[3].tel2Rank, -1);
    EXPECT_EQ(w.entries[3].ring, -1);
    EXPECT_EQ(w.entries[3].tel1Rank, 1);
}

TEST_F(ArriveSessionTest, RefusedNumbersShowTheirMessageAndStoreNothing) {
    struct Row {
        const char* name;
        std::string menu;
        Lines messages;
        Lines tail;
    } rows[] = {
        {"row 4 of the second dialog",
         kOpenNumber2 + text(entry(11).number, "0311") + text(entry(12).number, "0312") +
             select(entry(13).columns.tel1, 0) + text(entry(14).number, "03ab") + kRefused + kBack,
         {"電話番号14の入力に間違いがあります。"},
         {}},
        {"the row labelled ００",
         kOpenNumber1 + text(entry(1).number, "0a") + kRefused + kBack,
         {"電話番号01の入力に間違いがあります。"},
         {}},
        {"only the first wrong row",
         kOpenNumber1 + text(entry(7).number, "y") + text(entry(3).number, "03 1") + kRefused +
             kBack,
         {"電話番号03の入力に間違いがあります。"},
         {}},
        {"last rows",
         kOpenNumber1 + text(entry(10).number, "1-x") + kRefused + kBack + kOpenNumber2 +
             text(entry(20).number, "03\rarrive address 1 5") + kRefused + kBack,
         {"電話番号10の入力に間違いがあります。", "電話番号20の入力に間違いがあります。"},
         {}},
        {"corrected after the message",
         kOpenNumber2 + text(entry(14).number, "03ab") + text(entry(12).number, "0312") + kRefused +
             text(entry(14).number, "0314") + kConfirm,
         {"電話番号14の入力に間違いがあります。"},
         stored({"arrive address 12 0312", "arrive address 14 0314"})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshAdapter({"arrive address 11 0399"});
        SessionResult r = run(session(row.menu));
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, sent(row.tail));
        EXPECT_EQ(r.messageTexts(), row.messages);
        for (const auto& m : r.messages) {
            EXPECT_EQ(m.caption, windowTitle);
            EXPECT_EQ(m.buttons, ui::MsgButtons::Ok);
            EXPECT_EQ(m.icon, ui::MsgIcon::None);
        }
        EXPECT_EQ(r.log, kReadOk);
        if (row.tail.empty()) {
            EXPECT_EQ(arriveSettings.working, arriveSettings.snapshot);
            EXPECT_EQ(arriveSettings.working.entries[10].number, "0399");
            EXPECT_EQ(changeCount, 0);
        }
    }
}

TEST_F(ArriveSessionTest, FailedReadStopsAndOpensNoMenu) {
    const Lines kPresets{"arrive ring_select pseudo", "arrive address 3 0333"};
    struct Row {
        const char* fault;
        Lines shows;
        int service;  // what the snapshot holds of the basic reply
        const char* number3;
    } rows[] = {
        {"silent/1:show arrive basic", {"show arrive basic"}, 0, ""},
        {"silent/1:show arrive num1", {"show arrive basic", "show arrive num1"}, 1, ""},
        {"silent/1:show arrive num2", kShows, 1, "0333"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        freshAdapter(kPresets, row.fault);
        SessionResult r = run(kStart + click(IDC_MAIN_ARRIVE) + kClose);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, concat(concat(probeLines(), row.shows), {"exit"}));
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.log, (Lines{"com open", "Arrive Control Status Read ERROR"}));
        EXPECT_EQ(arriveSettings.snapshot.ringSelectService, row.service);
        EXPECT_EQ(arriveSettings.snapshot.entries[2].number, row.number3);
        EXPECT_EQ(arriveSettings.working, ArriveSettings{});
    }
}

// A failed exchange ends that dialog's commands; the menu stays usable.
TEST_F(ArriveSessionTest, FailedExchangeStopsTheRestOfTheDialog) {
    struct Row {
        const char* fault;
        std::string menu;
        Lines tail;
    } rows[] = {
        {"silent/1:arrive ranking default tel3",
         kOpenStandard + click(IDC_ARRIVE_RING_SELECT_PSEUDO) + select(kDefault.tel3, 3) +
             select(kNoid.tel1, 0) + select(IDC_ARRIVE_NTT_RING, 1) + kConfirm + kOpenNumber1 +
             text(entry(1).number, "0311") + kConfirm,
         stored({"arrive ring_select pseudo", "arrive ranking default tel3 reject",
                 "arrive address 1 0311"})},
        {"silent/1:arrive address 2",
         kOpenNumber1 + text(entry(3).number, "0333") + text(entry(2).number, "0322") +
             select(entry(1).columns.tel1, 0) + kConfirm + kOpenStandard + select(kNoid.ring, 2) +
             kConfirm,
         stored({"arrive ranking 1 tel1 precede", "arrive address 2 0322",
                 "arrive ring_select noid ring3"})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        freshAdapter({}, row.fault);
        SessionResult r = run(session(row.menu));
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, sent(row.tail));
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.log, kReadOk);
    }
}

TEST_F(ArriveSessionTest, HelpKeyAndButton) {
    const std::string kF1 = "key F1\n";
    const std::string kButton = click(IDC_HELP_BUTTON);
    struct Row {
        std::string menu;
        const char* page;
    } rows[] = {
        {kOpenStandard + kF1 + kBack, "10014.html"},
        {kOpenStandard + kButton + kBack, "10014.html"},
        {kOpenNumber1 + kF1 + kBack, "10015.html"},
        {kOpenNumber1 + kButton + kBack, "10015.html"},
        {kOpenNumber2 + kF1 + kBack, "10015.html"},
        {kOpenNumber2 + kButton + kBack, "10015.html"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.menu);
        freshAdapter({});
        setLastHelpPage("");
        SessionResult r = run(session(row.menu));
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.transcript, sent({}));
        EXPECT_EQ(lastHelpPage(), std::string(KX_HELP_SOURCE_DIR) + "/" + row.page);
    }
}

}  // namespace
}  // namespace kx::test
