// The record dialogs' bindings on the headless backend: a scripted user edits a small record's
// dialog and presses OK.

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/services/AppState.h"
#include "area/SettingsDlg.h"
#include "ui/Backend.h"
#include "ui/TemplateBuilder.h"
#include "ui/headless/Headless.h"

namespace kx::area {
namespace {

using namespace ui::tpl;

struct Demo {
    int mode = 0;
    std::string number = "0311112222";
    std::string name = "kestrel";
    int count = 5;
    int hold = 10;
    int talky = 2;  // the adapter may report a switch as 2
    bool operator==(const Demo&) const = default;
};

constexpr std::string_view kModes[] = {"off", "on", "auto"};
constexpr Item<Demo> kDemoItems[] = {
    choice("mode", &Demo::mode, "mode:", kModes, "demo mode {}"),
    phone("number", &Demo::number, "number:", "demo number {}"),
    text("name", &Demo::name, "name:", 8, "demo name {}"),
    number("count", &Demo::count, "count:", 3, 15, "demo count {}"),
    number("hold", &Demo::hold, "hold:", 0, 60, "demo hold {}").withSerialOnly(),
};

enum : int {
    kMode = 101,  // 101..103
    kNumber = 110,
    kName = 120,
    kCount = 130,
    kCountSpin = 131,
    kRate = 132,
    kHold = 140,
    kHoldSpin = 141,
    kTalky = 150,
};

const char kNumberError[] = "番号の入力に間違いがあります。";
const char kNameRule[] = "名前が使えません。";
const char kCountError[] = "回数の入力に間違いがあります。";
const char kHoldError[] = "保持時間の入力に間違いがあります。";

const ui::Template& demoTemplate() {
    static const ui::Template t{
        .id = 9300,
        .caption = "demo",
        .menu = {},
        .controls = {
            radios({{kMode, "off"}, {kMode + 1, "on"}, {kMode + 2, "auto"}}),
            field("number", edit(kNumber)),
            field("name", edit(kName)),
            spinField("count", edit(kCount), kCountSpin),
            ui::tpl::text(kRate),
            spinField("hold", edit(kHold), kHoldSpin),
            check(kTalky, "talky"),
            buttons({button(ui::IDOK, "OK"), button(ui::IDCANCEL, "Cancel")}),
        }};
    return t;
}

// Notes what the controls show when OK is pressed.
class DemoDlg : public RecordDlg<Demo> {
public:
    DemoDlg(Demo& working, int& snapshots, SpinWrap wrap)
        : RecordDlg(
              demoTemplate(), 0, working, [&snapshots] { ++snapshots; }, kDemoItems) {
        bindRadio(kMode, &Demo::mode);
        bindEdit(kNumber, &Demo::number, 24, kNumberError);
        bindEdit(kName, &Demo::name, 8, "");
        bindRule(kNameRule, [](const Demo& d) { return d.name == "falcon"; });
        bindEdit(kCount, &Demo::count, 2, kCountError);
        bindSpin(kCountSpin, kCount, 2, 1, wrap);
        bindDerivedText(kRate, kCount, [](int n) { return std::to_string(n * 64) + " kbit/s"; });
        bindEdit(kHold, &Demo::hold, 2, kHoldError);
        bindSpin(kHoldSpin, kHold, 2, 5);
        enableWhen(kMode, 1, {kHold, kHoldSpin});
        bindCheckBox(kTalky, &Demo::talky);
    }

    std::map<int, std::string> shown;
    std::map<int, bool> enabled;
    std::vector<int> spun;

protected:
    void spinRules(int editId) override { spun.push_back(editId); }
    void OnOK() override {
        for (int id : {kCount, kRate, kHold}) shown[id] = GetDlgItemTextUtf8(id);
        for (int id : {kHold, kHoldSpin}) enabled[id] = IsControlEnabled(id);
        RecordDlg::OnOK();
    }
};

// A line of the scripted user: "text 130 99".
std::string line(std::string_view action, int id, std::string_view argument = {}) {
    return std::string(action) + " " + std::to_string(id) +
           (argument.empty() && action != "text" ? "" : " ") + std::string(argument) + "\n";
}
const std::string kOk = line("click", ui::IDOK);
const std::string kRefused = "answer ok\n" + line("click", ui::IDCANCEL);

struct Outcome {
    int result = 0;
    int snapshots = 0;
    int changes = 0;
    Demo stored;
    std::vector<std::string> messages;
    std::map<int, std::string> shown;
    std::map<int, bool> enabled;
    std::vector<int> spun;
    std::string failure;
};

// `script` in the dialog over `working`.
Outcome run(const std::string& script, Demo working = {}, SpinWrap wrap = SpinWrap::AboveHighest,
            int network = 0) {
    std::ostringstream out;
    std::shared_ptr<ui::headless::ScriptUser> user = ui::headless::ScriptUser::fromText(script);
    user->setOutput(out);
    ui::headless::install(user);
    networkMode = network;
    const int changesBefore = changeCount;
    Outcome r;
    {
        DemoDlg dlg(working, r.snapshots, wrap);
        r.result = dlg.DoModal();
        r.shown = dlg.shown;
        r.enabled = dlg.enabled;
        r.spun = dlg.spun;
    }
    networkMode = 0;
    ui::installBackend(nullptr);
    r.changes = changeCount - changesBefore;
    r.stored = working;
    for (const auto& m : user->messages()) r.messages.push_back(m.text);
    r.failure = user->failureReason();
    return r;
}

TEST(Bindings, OkChecksInBindingOrderStopsAtTheFirstRefusalAndStoresNothing) {
    const struct {
        const char* name;
        std::string script;
        std::vector<std::string> messages;
    } rows[] = {
        {"every field wrong: the first edit's message",
         line("text", kNumber, "03x") + line("text", kName, "falcon") + line("text", kCount, "99"),
         {kNumberError}},
        {"the rule comes after the edits bound before it",
         line("text", kName, "falcon") + line("text", kCount, "99"),
         {kNameRule}},
        {"an edit bound after the rule", line("text", kCount, "2"), {kCountError}},
        {"a serial-only edit is checked like any other",
         line("click", kMode + 1) + line("text", kHold, "61"),
         {kHoldError}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Outcome r = run(row.script + kOk + kRefused);
        EXPECT_EQ(r.failure, "");
        EXPECT_EQ(r.messages, row.messages);
        EXPECT_EQ(r.result, ui::IDCANCEL);
        EXPECT_EQ(r.snapshots, 0);
        EXPECT_EQ(r.changes, 0);
        EXPECT_TRUE(r.stored == Demo{});
    }

    // a check box left as it showed keeps the 2 it stands for
    const struct {
        std::string talky;
        int stored;
    } oks[] = {{"", 2},
               {line("check", kTalky, "0") + line("check", kTalky, "1"), 2},
               {line("check", kTalky, "0"), 0}};
    for (const auto& row : oks) {
        SCOPED_TRACE(row.talky);
        Outcome ok = run(line("click", kMode + 1) + line("text", kNumber, "0312345678") +
                         line("text", kName, "hawk") + line("text", kCount, "15") +
                         line("text", kHold, "60") + row.talky + kOk);
        EXPECT_EQ(ok.failure, "");
        EXPECT_TRUE(ok.messages.empty());
        EXPECT_EQ(ok.result, ui::IDOK);
        EXPECT_EQ(ok.snapshots, 1);
        EXPECT_EQ(ok.changes, 1);
        EXPECT_TRUE(ok.stored == (Demo{1, "0312345678", "hawk", 15, 60, row.stored}));
    }
}

TEST(Bindings, SpinArrowsWrapByTheDialogsRuleAndTheTextFollows) {
    const struct {
        SpinWrap wrap;
        const char* typed;
        const char* direction;
        const char* count;
        std::string afterOk = "";
    } rows[] = {
        {SpinWrap::AboveHighest, "15", "up", "3"},
        {SpinWrap::AboveHighest, "40", "up", "3"},
        {SpinWrap::AboveHighest, "7", "up", "8"},
        {SpinWrap::AboveHighest, "3", "down", "15"},
        {SpinWrap::AboveHighest, "", "down", "15"},
        {SpinWrap::JustAfterHighest, "15", "up", "3"},
        // the check then refuses what the arrow showed
        {SpinWrap::JustAfterHighest, "40", "up", "41", kRefused},
        {SpinWrap::JustAfterHighest, "1", "down", "15"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.typed) + " " + row.direction);
        Outcome r = run(line("text", kCount, row.typed) +
                            line("scroll", kCountSpin, row.direction) + kOk + row.afterOk,
                        Demo{}, row.wrap);
        EXPECT_EQ(r.failure, "");
        EXPECT_EQ(r.shown[kCount], row.count);
        EXPECT_EQ(r.shown[kRate], std::to_string(std::stoi(row.count) * 64) + " kbit/s");
        EXPECT_EQ(r.spun, std::vector<int>{kCount});
    }
    // typed text does not move the estimate; arrows in steps of 5 show whole steps
    Outcome r = run(line("text", kCount, "9") + line("click", kMode + 1) +
                    line("text", kHold, "12") + line("scroll", kHoldSpin, "up") + kOk);
    EXPECT_EQ(r.shown[kRate], "320 kbit/s");
    EXPECT_EQ(r.shown[kHold], "15");
    EXPECT_EQ(r.spun, std::vector<int>{kHold});
}

TEST(Bindings, EnableWhenFollowsTheGroupAndKeepsSerialOnlyControlsDisabled) {
    const struct {
        const char* name;
        int mode;
        std::string script;
        int network;
        bool enabled;
    } rows[] = {
        {"opened on another button", 0, "", 0, false},
        {"opened on the button", 1, "", 0, true},
        {"the button clicked", 0, line("click", kMode + 1), 0, true},
        {"another button clicked", 1, line("click", kMode + 2), 0, false},
        {"a serial-only row over the network", 1, line("click", kMode) + line("click", kMode + 1),
         1, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Demo working;
        working.mode = row.mode;
        Outcome r = run(row.script + kOk, working, SpinWrap::AboveHighest, row.network);
        EXPECT_EQ(r.failure, "");
        EXPECT_EQ(r.enabled[kHold], row.enabled);
        EXPECT_EQ(r.enabled[kHoldSpin], row.enabled);
    }
}

}  // namespace
}  // namespace kx::area
