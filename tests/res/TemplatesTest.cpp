// Area templates: every control the dialog code binds is there exactly once, and each radio
// group holds its buttons in the order of their stored index.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "res/AnalogIds.h"
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

DialogCase telPort(const TelPortIds& p) {
    return {p.dialog,
            {p.selfAddress, p.transferAddress, p.talkyTransfer, p.talkySource, p.sendDialTime,
             p.dialTimeSpin, IDOK, IDCANCEL, IDC_HELP_BUTTON},
            {ids(p.arriveTransfer), ids(p.globalArrive), ids(p.subaddressLessArrive),
             ids(p.analogPortMode), ids(p.discSignal), ids(p.numberDisplay), ids(p.ringSound),
             ids(p.callWaiting), ids(p.iNumber), ids(p.noticeNumber)}};
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

}  // namespace
}  // namespace kx::res
