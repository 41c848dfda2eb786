// Area templates: every control the dialog code binds is there exactly once, and each radio
// group holds its buttons in the order of their stored index.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "res/AnalogIds.h"
#include "res/ArriveIds.h"
#include "res/DigitalIds.h"
#include "res/ShortnumIds.h"
#include "res/Templates.h"

namespace kx::res {
namespace {

using Ids = std::vector<int>;

struct DialogCase {
    int id;
    Ids controls;             // controls with an id, radio buttons aside
    std::vector<Ids> radios;  // each group in order
};

template <std::size_t N>
Ids ids(const std::array<int, N>& a) {
    return {a.begin(), a.end()};
}

Ids concat(std::initializer_list<Ids> parts) {
    Ids all;
    for (const Ids& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

DialogCase telPort(const TelPortIds& p) {
    return {p.dialog,
            {p.selfAddress, p.transferAddress, p.talkyTransfer, p.talkySource, p.sendDialTime,
             p.dialTimeSpin, IDOK, IDCANCEL, IDC_HELP_BUTTON},
            {ids(p.arriveTransfer), ids(p.globalArrive), ids(p.subaddressLessArrive),
             ids(p.analogPortMode), ids(p.discSignal), ids(p.numberDisplay), ids(p.ringSound),
             ids(p.callWaiting), ids(p.iNumber), ids(p.noticeNumber)}};
}

DialogCase digitalPort(const DigitalPortIds& p) {
    return {p.dialog,
            {p.selfAddress, p.transferAddress, IDOK, IDCANCEL, IDC_HELP_BUTTON},
            {ids(p.arriveTransfer), ids(p.globalArrive), ids(p.subaddressLessArrive),
             ids(p.noticeNumber), ids(p.iNumber)}};
}

Ids bodSide(const BodSideIds& s) {
    return {s.rate, s.rateSpin, s.estimate, s.evalTime, s.evalTimeSpin, s.minTime, s.minTimeSpin};
}

Ids arriveColumns(const ArriveColumnIds& c) {
    return {c.tel1, c.tel2, c.tel3, c.data, c.usb, c.ring};
}

DialogCase arriveNumbers(int dialog, const std::array<ArriveRowIds, 10>& rows) {
    Ids controls{IDOK, IDCANCEL, IDC_HELP_BUTTON};
    for (const ArriveRowIds& row : rows) {
        controls.push_back(row.number);
        Ids columns = arriveColumns(row.columns);
        controls.insert(controls.end(), columns.begin(), columns.end());
    }
    return {dialog, controls, {}};
}

std::vector<DialogCase> cases() {
    Ids shortnum = ids(kShortNumberEdits);
    shortnum.insert(shortnum.end(), {IDOK, IDCANCEL, IDC_HELP_BUTTON});
    return {
        telPort(kTel1PortIds),
        telPort(kTel2PortIds),
        telPort(kTel3PortIds),
        {IDD_ANALOG_COMMON,
         {IDC_ANALOG_COMMON_DELAY, IDC_ANALOG_COMMON_DELAY_SPIN, IDC_ANALOG_COMMON_FREQUENCY,
          IDC_ANALOG_COMMON_FREQUENCY_SPIN, IDOK, IDCANCEL, IDC_HELP_BUTTON},
         {{IDC_ANALOG_COMMON_INUMBER_OFF, IDC_ANALOG_COMMON_INUMBER_ON}}},
        {IDD_ANALOG_MENU,
         {IDC_ANALOG_MENU_TEL1, IDC_ANALOG_MENU_TEL2, IDC_ANALOG_MENU_TEL3, IDC_ANALOG_MENU_COMMON,
          IDCANCEL},
         {}},
        {IDD_SHORT_NUMBER, shortnum, {}},
        digitalPort(kDataPortIds),
        digitalPort(kUsbPortIds),
        {IDD_DIGITAL_COMMON,
         {IDC_DIGITAL_COMMON_DISC_TIME, IDC_DIGITAL_COMMON_PIAFS, IDOK, IDCANCEL, IDC_HELP_BUTTON},
         {ids(kInitChannelIds), ids(kResourceBodIds), ids(kThroughputBodIds), ids(kBacpBapIds),
          ids(kArrivePriorityIds)}},
        {IDD_THROUGHPUT_BOD,
         concat({bodSide(kBodAddIds), bodSide(kBodDelIds), {IDOK, IDCANCEL, IDC_HELP_BUTTON}}),
         {ids(kBodAddIds.direction), ids(kBodDelIds.direction)}},
        {IDD_BACP_BAP,
         {IDOK, IDCANCEL, IDC_HELP_BUTTON},
         {ids(kBacpDepartIds[0]), ids(kBacpDepartIds[1]), ids(kBacpDepartIds[2]),
          ids(kBacpArriveIds[0]), ids(kBacpArriveIds[1]), ids(kBacpArriveIds[2])}},
        {IDD_DIGITAL_MENU,
         {IDC_DIGITAL_MENU_DATA, IDC_DIGITAL_MENU_USB, IDC_DIGITAL_MENU_COMMON,
          IDC_DIGITAL_MENU_BOD, IDC_DIGITAL_MENU_BACP_BAP, IDCANCEL},
         {}},
        {IDD_ARRIVE_STANDARD,
         concat({arriveColumns(kArriveDefaultIds),
                 arriveColumns(kArriveNoidIds),
                 {IDC_ARRIVE_NTT_RING, IDOK, IDCANCEL, IDC_HELP_BUTTON}}),
         {{IDC_ARRIVE_RING_SELECT_NTT, IDC_ARRIVE_RING_SELECT_PSEUDO},
          {IDC_ARRIVE_TROUBLE_NTT, IDC_ARRIVE_TROUBLE_PSEUDO}}},
        arriveNumbers(IDD_ARRIVE_NUMBER1, kArriveNumber1Rows),
        arriveNumbers(IDD_ARRIVE_NUMBER2, kArriveNumber2Rows),
        {IDD_ARRIVE_MENU,
         {IDC_ARRIVE_MENU_STANDARD, IDC_ARRIVE_MENU_NUMBER1, IDC_ARRIVE_MENU_NUMBER2, IDCANCEL},
         {}},
    };
}

TEST(AreaTemplates, HoldTheirControlsOnceAndTheirRadioGroupsInOrder) {
    for (const DialogCase& c : cases()) {
        SCOPED_TRACE(c.id);
        const ui::Template* tpl = findTemplate(c.id);
        ASSERT_NE(tpl, nullptr);

        Ids expected = c.controls;
        for (const Ids& group : c.radios)
            expected.insert(expected.end(), group.begin(), group.end());
        Ids present;
        for (const ui::Control* control : ui::controlsWithIds(*tpl)) present.push_back(control->id);
        std::sort(expected.begin(), expected.end());
        std::sort(present.begin(), present.end());
        EXPECT_EQ(present, expected);

        for (const Ids& group : c.radios)
            for (int member : group) EXPECT_EQ(ui::radioGroup(*tpl, member), group) << member;
    }
}

// A list's items are the stored values by index, so each must be exactly these.
TEST(AreaTemplates, ListsOfferTheirItemsInOrder) {
    const std::vector<std::string> tel{"優先", "標準", "遅延", "拒否"};
    const std::vector<std::string> port{"標準", "拒否"};
    const std::vector<std::string> ring{"リーン・リーン", "リーーン・リーーン",
                                        "リーンリン・リーンリン"};
    struct ListCase {
        int dialog;
        int list;
        std::vector<std::string> items;
    };
    const ListCase lists[] = {
        {IDD_DIGITAL_COMMON,
         IDC_DIGITAL_COMMON_PIAFS,
         {"32k", "64k Version 2.0", "64k Version 2.1"}},
        {IDD_ARRIVE_STANDARD, kArriveDefaultIds.tel3, tel},
        {IDD_ARRIVE_STANDARD, kArriveNoidIds.data, port},
        {IDD_ARRIVE_STANDARD, kArriveDefaultIds.ring, ring},
        {IDD_ARRIVE_STANDARD, IDC_ARRIVE_NTT_RING, ring},
        {IDD_ARRIVE_NUMBER1, kArriveNumber1Rows[9].columns.usb, port},
        {IDD_ARRIVE_NUMBER2, kArriveNumber2Rows[4].columns.tel1, tel},
        {IDD_ARRIVE_NUMBER2, kArriveNumber2Rows[0].columns.ring, ring},
    };
    for (const ListCase& c : lists) {
        SCOPED_TRACE(c.list);
        const ui::Control* list = ui::findControl(dialogTemplate(c.dialog), c.list);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->kind, ui::ControlKind::List);
        EXPECT_EQ(list->items, c.items);
    }
}

}  // namespace
}  // namespace kx::res
