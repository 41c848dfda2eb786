// The incoming-call control area end to end: the main window reads the three "show arrive"
// replies, the menu opens the standard dialog and the two per-number dialogs, a scripted user
// edits them, and the adapter receives one setting command per changed item.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/AreaRegistry.h"
#include "app/services/AppState.h"
#include "arrive/ArriveSettings.h"
#include "link/Exchange.h"
#include "res/ArriveIds.h"
#include "tests/support/AreaSession.h"

namespace kx::test {
namespace {

const AreaScript& kArrive = arriveArea();

// The controls of entry 1-20: rows of the first dialog, then of the second.
const ArriveRowIds& entry(int k) {
    const auto index = static_cast<std::size_t>((k - 1) % 10);
    return k <= 10 ? kArriveNumber1Rows[index] : kArriveNumber2Rows[index];
}
const ArriveColumnIds& kDefault = kArriveDefaultIds;
const ArriveColumnIds& kNoid = kArriveNoidIds;

const std::string kOpenStandard = open(IDC_ARRIVE_MENU_STANDARD, IDD_ARRIVE_STANDARD);
const std::string kOpenNumber1 = open(IDC_ARRIVE_MENU_NUMBER1, IDD_ARRIVE_NUMBER1);
const std::string kOpenNumber2 = open(IDC_ARRIVE_MENU_NUMBER2, IDD_ARRIVE_NUMBER2);
const std::string kConfirm = kArrive.confirm();
const std::string kRefused = kArrive.refused();
const std::string kBack = kArrive.back();

// A change to what the adapter reports: in the nth reply to `command`, the first `from` after
// the first `anchor` becomes `to`.
struct ReplyEdit {
    std::string command;
    std::string anchor;
    std::string from;
    std::string to;
    int nth = 1;
};

class ArriveSessionTest : public AreaSessionTest {
protected:
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
};

TEST_F(ArriveSessionTest, ConfirmedDialogsSendTheChangedItemsInWritingOrder) {
    const AreaRow rows[] = {
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
        // every item of entry 10 (the last row of the first dialog), from the last to the
        // first, after a cancelled dialog whose change is not kept
        {"entry 10 in writing order",
         {},
         kOpenNumber1 + text(entry(2).number, "02") + kBack + kOpenNumber1 +
             select(entry(10).columns.ring, 1) + select(entry(10).columns.usb, 1) +
             select(entry(10).columns.data, 1) + select(entry(10).columns.tel3, 0) +
             select(entry(10).columns.tel2, 3) + select(entry(10).columns.tel1, 2) +
             text(entry(10).number, "0312345678*99") + kConfirm,
         stored({"arrive address 10 0312345678*99", "arrive ranking 10 tel1 delay",
                 "arrive ranking 10 tel2 reject", "arrive ranking 10 tel3 precede",
                 "arrive ranking 10 data reject", "arrive ranking 10 usb reject",
                 "arrive ring_select 10 ring2"})},
        {"entries ascending, emptied numbers, first and last rows of the second dialog",
         {"arrive address 3 0311112222", "arrive address 13 0313"},
         kOpenNumber1 + text(entry(9).number, "09") + text(entry(3).number, "") +
             select(entry(1).columns.ring, 2) + select(entry(4).columns.tel3, 3) + kConfirm +
             kOpenNumber2 + text(entry(20).number, "0120") + text(entry(13).number, "") +
             text(entry(11).number, "0311") + kConfirm,
         stored({"arrive ring_select 1 ring3", "arrive address 3 ", "arrive ranking 4 tel3 reject",
                 "arrive address 9 09", "arrive address 11 0311", "arrive address 13 ",
                 "arrive address 20 0120"})},
    };
    expectRows(kArrive, rows);
}

// Values away from the factory's in every standard item and in entries of both dialogs: the
// dialogs confirmed without a change send nothing, though the close stores into flash.
TEST_F(ArriveSessionTest, UnchangedDialogsOverReadValuesSendNothing) {
    freshAdapter({"arrive ring_select pseudo",          "arrive trouble_tel pseudo",
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
                  "arrive ring_select 20 ring2"});
    SessionResult r = run(kArrive.session(kOpenStandard + kConfirm + kOpenNumber1 + kConfirm +
                                          kOpenNumber2 + kConfirm));
    expectSession(r, kArrive.sent(stored({})), {}, kArrive.viewed());
    // what each item reads is checked by the round trip of every value
    EXPECT_NE(arriveSettings.snapshot, ArriveSettings{});
    EXPECT_EQ(arriveSettings.working, arriveSettings.snapshot);
    EXPECT_EQ(changeCount, 3);
}

// DATA, USB and HomePNA know only normal and reject: a reported 1 is "標準" (index 0), every
// other code "拒否" (index 1); choosing "標準" sends a command only where the list showed "拒否".
// A value the other lists have no item for shows no selection and, left so, keeps its value.
TEST_F(ArriveSessionTest, ReportedCodesAsTheListsShowThem) {
    freshAdapter();
    reportAs({{"show arrive basic", "", "default data rank: 1", "default data rank: 3"},
              {"show arrive basic", "", "noid usb rank: 1", "noid usb rank: 0"},
              {"show arrive basic", "", "default tel1 rank: 1", "default tel1 rank: 9"},
              {"show arrive basic", "", "noid ring: 0", "noid ring: 7"},
              {"show arrive num1", "\r\n4: ", "ring: 0", "ring: 3"},
              {"show arrive num1", "\r\n5: ", "data rank: 1", "data rank: 0"}});
    SessionResult r = run(kArrive.session(kOpenStandard + select(kDefault.data, 0) + kConfirm +
                                          kOpenNumber1 + select(entry(5).columns.data, 0) +
                                          select(entry(6).columns.data, 0) + kConfirm));
    expectSession(r,
                  kArrive.sent(stored(
                      {"arrive ranking default data normal", "arrive ranking 5 data normal"})),
                  {}, kArrive.viewed());
    const ArriveSettings& read = arriveSettings.snapshot;
    EXPECT_EQ(read.usbNoidRank, 1);
    // the second dialog took its snapshot before storing "標準"
    EXPECT_EQ(read.entries[4].dataRank, 1);
    const ArriveSettings& w = arriveSettings.working;
    EXPECT_EQ(w.dataDefaultRank, 0);
    EXPECT_EQ(w.tel1DefaultRank, 9);
    EXPECT_EQ(w.noidRing, 7);
    EXPECT_EQ(w.entries[3].ring, 3);
    EXPECT_EQ(w.entries[3].tel1Rank, 1);
}

// A service selection reported as neither 0 nor 1 checks neither button; confirmed so, the
// group stores -1, which differs from what was read and goes out as the adapter's own service.
// A button the user checks is sent as it is.
TEST_F(ArriveSessionTest, AServiceReportedAsNeitherChecksNoButtonAndIsSentAsPseudo) {
    freshAdapter();
    reportAs({{"show arrive basic", "", "ring select service: 0", "ring select service: 2"},
              {"show arrive basic", "", "trouble tel service: 0", "trouble tel service: 2"}});
    // the distinctive ring's service left alone, the nuisance-call service's button checked
    SessionResult r =
        run(kArrive.session(kOpenStandard + click(IDC_ARRIVE_TROUBLE_NTT) + kConfirm));
    expectSession(r, kArrive.sent(stored({"arrive ring_select pseudo", "arrive trouble_tel ntt"})),
                  {}, kArrive.viewed());
    EXPECT_EQ(arriveSettings.snapshot.ringSelectService, 2);
    EXPECT_EQ(arriveSettings.snapshot.troubleTelService, 2);
    EXPECT_EQ(arriveSettings.working.ringSelectService, -1);
}

// Entries 1-10 are read from the first page, 11-20 from the second, each from "k: " on a line
// of its own (blanks around the number trimmed, as TableIO.NumberedEntries checks). Each read
// takes every entry afresh: one the page no longer lists is an empty number.
TEST_F(ArriveSessionTest, EntriesAreReadFromTheirOwnLines) {
    freshAdapter({"arrive address 1 0311", "arrive address 7 0377", "arrive address 20 0320"});
    // the first page's second reply: a line of entry 11 before entry 1's, entry 7 gone
    reportAs({{"show arrive num1", "", "\r\n1: 0311\r", "\r\n11: 0399\r\n1: 0311\r", 2},
              {"show arrive num1", "", "\r\n7: 0377\r\n", "\r\n", 2}});
    const std::string kVisit = open(IDC_MAIN_ARRIVE, IDD_ARRIVE_MENU) + click(IDCANCEL);
    SessionResult r = run(kStart + kVisit + dialog(IDD_MAIN) + kVisit + kClose);
    expectSession(
        r, concat(kArrive.reads, kArrive.sent({})), {},
        concat(kArrive.viewed(), {"Arrive Control Status Read OK", "View Arrive Control Dlg"}));
    const std::map<int, std::string> kRead{{1, "0311"}, {7, ""}, {11, ""}, {20, "0320"}};
    for (const auto& [k, number] : kRead)
        EXPECT_EQ(arriveSettings.snapshot.entries[static_cast<std::size_t>(k - 1)].number, number)
            << k;
}

// The numbers are checked in entry order; each refusal names the first wrong entry by its own
// number, and a dialog left with "戻る" then stores nothing.
TEST_F(ArriveSessionTest, RefusedNumbersNameTheirEntryAndStoreNothing) {
    freshAdapter({"arrive address 11 0399"});
    SessionResult r = run(kArrive.session(
        // row 4 of the second dialog, after rows changed above it
        kOpenNumber2 + text(entry(11).number, "0311") + text(entry(12).number, "0312") +
        select(entry(13).columns.tel1, 0) + text(entry(14).number, "03ab") + kRefused + kBack +
        // the first wrong row, then the next
        kOpenNumber1 + text(entry(7).number, "y") + text(entry(3).number, "03 1") + kRefused +
        text(entry(3).number, "") + kRefused + kBack +
        // the last rows
        kOpenNumber1 + text(entry(10).number, "1-x") + kRefused + kBack + kOpenNumber2 +
        text(entry(20).number, "03\rarrive address 1 5") + kRefused + kBack));
    expectSession(r, kArrive.sent({}),
                  {"電話番号14の入力に間違いがあります。", "電話番号03の入力に間違いがあります。",
                   "電話番号07の入力に間違いがあります。", "電話番号10の入力に間違いがあります。",
                   "電話番号20の入力に間違いがあります。"},
                  kArrive.viewed());
    EXPECT_EQ(arriveSettings.working, arriveSettings.snapshot);
    EXPECT_EQ(arriveSettings.working.entries[10].number, "0399");
    EXPECT_EQ(changeCount, 0);
}

// What was read before the failed reply stays in the snapshot; the working copy is left as it
// was.
TEST_F(ArriveSessionTest, FailedReadStopsAndOpensNoMenu) {
    expectReadStops(kArrive, {"arrive ring_select pseudo", "arrive address 3 0333"},
                    [](std::size_t failed) {
                        const ArriveSettings& read = arriveSettings.snapshot;
                        EXPECT_EQ(read.ringSelectService, failed > 0 ? 1 : 0);
                        EXPECT_EQ(read.entries[2].number, failed > 1 ? "0333" : "");
                        EXPECT_EQ(arriveSettings.working, ArriveSettings{});
                    });
}

TEST_F(ArriveSessionTest, HelpPages) {
    expectHelpPages(kArrive,
                    {{kOpenStandard, 10014}, {kOpenNumber1, 10015}, {kOpenNumber2, 10015}});
}

}  // namespace
}  // namespace kx::test
