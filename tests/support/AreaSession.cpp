#include "tests/support/AreaSession.h"

#include "app/services/AppState.h"
#include "app/services/HelpPages.h"
#include "res/AnalogIds.h"
#include "res/ArriveIds.h"
#include "res/RouterIds.h"
#include "ui/MessageBox.h"

namespace kx::test {

Lines stored(Lines commands) {
    commands.push_back("fromwr 15");
    return commands;
}

std::string AreaScript::session(const std::string& inMenu) const {
    if (menu == 0)
        return kStart + inMenu + kClose;
    return kStart + open(button, menu) + inMenu + click(IDCANCEL) + kClose;
}

const AreaScript& analogArea() {
    static const AreaScript area{
        IDC_MAIN_ANALOG,
        IDD_ANALOG_MENU,
        {"show analog tel1", "show analog tel2", "show analog tel3", "show analog common"},
        "Analog"};
    return area;
}

const AreaScript& digitalArea() {
    static const AreaScript area{IDC_MAIN_DIGITAL,
                                 IDD_DIGITAL_MENU,
                                 {"show digital data", "show digital usb", "show digital common"},
                                 "Digital"};
    return area;
}

const AreaScript& arriveArea() {
    static const AreaScript area{IDC_MAIN_ARRIVE,
                                 IDD_ARRIVE_MENU,
                                 {"show arrive basic", "show arrive num1", "show arrive num2"},
                                 "Arrive Control"};
    return area;
}

const AreaScript& shortnumArea() {
    static const AreaScript area{
        IDC_MAIN_SHORTNUM, 0, {"show shortnum num1", "show shortnum num2"}, "Short Number"};
    return area;
}

const AreaScript& routerArea() {
    static const AreaScript area{
        IDC_MAIN_PNA_MENU,
        IDD_PNA_MENU,
        {"show router", "show nat", "show dhcp", "show dns", "show host", "show syslog",
         "show digital pna", "show ras", "show dialup num1", "show dialup num2", "show dialup num3",
         "show dialup num4", "show connect", "show network", "show bod", "show bacpbap"},
        "HomaPNA"};
    return area;
}

const AreaScript& easySetupArea() {
    static const AreaScript area{IDC_MAIN_PNA_EASY, 0, {"show dialup num1"}, "Dialup"};
    return area;
}

Lines AreaScript::sent(const Lines& tail) const {
    Lines lines = reads;
    lines.insert(lines.end(), tail.begin(), tail.end());
    lines.push_back("exit");
    return lines;
}

void AreaSessionTest::expectSession(const SessionResult& r, const Lines& afterProbe,
                                    const Lines& messages, const Lines& log) {
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(r.transcript, concat(probeLines(), afterProbe));
    EXPECT_EQ(r.messageTexts(), messages);
    for (const auto& m : r.messages) {
        EXPECT_EQ(m.caption, windowTitle) << m.text;
        EXPECT_EQ(m.buttons, ui::MsgButtons::Ok) << m.text;
        EXPECT_EQ(m.icon, ui::MsgIcon::None) << m.text;
    }
    EXPECT_EQ(r.log, log);
}

void AreaSessionTest::freshAdapter(const Lines& presets, const std::string& fault) {
    freshRun(serialSettings(modeLines_), withFault(fault));
    if (!emulator_)
        return;  // the start failed the test already
    for (const std::string& preset : presets)
        EXPECT_EQ(adapter().device().execute(preset).body, "") << preset;
}

void AreaSessionTest::expectRows(const AreaScript& area, std::span<const AreaRow> rows,
                                 const std::function<void(std::size_t i)>& after) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const AreaRow& row = rows[i];
        SCOPED_TRACE(row.name);
        freshAdapter(row.presets, row.fault);
        SessionResult r = run(area.session(row.menu));
        expectSession(r, area.sent(row.tail), row.messages, area.viewed());
        if (after)
            after(i);
    }
}

void AreaSessionTest::expectReadStops(const AreaScript& area, const Lines& presets,
                                      const std::function<void(std::size_t failed)>& check) {
    for (std::size_t failed = 0; failed < area.reads.size(); ++failed) {
        SCOPED_TRACE(area.reads[failed]);
        freshAdapter(presets, "silent/1:" + area.reads[failed]);
        SessionResult r = run(kStart + click(area.button) + kClose);
        Lines sent(area.reads.begin(), area.reads.begin() + static_cast<long>(failed) + 1);
        expectSession(r, concat(sent, {"exit"}), {}, area.readFailed());
        check(failed);
    }
}

void AreaSessionTest::expectHelpPages(const AreaScript& area, const std::vector<HelpRow>& rows) {
    freshAdapter();
    std::string script;
    Lines pages;
    for (const HelpRow& row : rows) {
        script += row.open + "key F1\n" + click(IDC_HELP_BUTTON) + area.back();
        const std::string page = std::string(KX_HELP_SOURCE_DIR) + "/" + helpPageName(row.context);
        pages.insert(pages.end(), 2, page);
    }
    if (area.menu != 0)
        script += "key F1\n";
    RecordedPages viewer;
    setHelpViewer(&viewer);
    SessionResult r = run(area.session(script));
    setHelpViewer(nullptr);
    EXPECT_EQ(viewer.pages, pages);
    expectSession(r, area.sent({}), {}, area.viewed());
}

}  // namespace kx::test
