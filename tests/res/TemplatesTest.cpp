// Properties every dialog template must have: ids unique, radio groups that start, captions the
// adapter's code page can carry, every dialog the program names there, list items in the order
// the help pages give them, and passwords typed unseen. What each template holds is checked end
// to end by the session tests.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "link/Sjis.h"
#include "res/RouterIds.h"
#include "res/Templates.h"
#include "tests/support/Files.h"
#include "ui/TextCodec.h"

namespace kx::res {
namespace {

namespace fs = std::filesystem;
using kx::test::readFile;

// Every control of the template, boxes included, depth-first; `field` is the label caption of
// the field a control stands in ("" outside fields).
using Visit = std::function<void(const ui::Control&, const std::string&)>;
void walk(const std::vector<ui::Control>& controls, const Visit& visit,
          const std::string& field = "") {
    for (const ui::Control& c : controls) {
        visit(c, field);
        const bool isField = c.kind == ui::ControlKind::Field && !c.children.empty();
        walk(c.children, visit, isField ? c.children.front().caption : field);
    }
}

struct ListItems {
    int dialog;
    int list;
    std::vector<std::string> items;
};

const ListItems kNotInHelp[] = {
    {IDD_ROUTER,
     IDC_ROUTER_LINE_MODE,
     {"自動", "LowPower/LowSpeed", "LowPower/HighSpeed", "HighPower/LowSpeed",
      "HighPower/HighSpeed"}},
    {IDD_CONNECT_LIMIT, IDC_CONNECT_CLEAR_WEEKDAY, {"日", "月", "火", "水", "木", "金", "土"}},
};

bool inHelp(int dialog, int list) {
    for (const ListItems& entry : kNotInHelp) {
        if (entry.dialog == dialog && entry.list == list)
            return false;
    }
    return true;
}

TEST(Templates, ControlIdsAreUniqueInTheirTemplate) {
    for (int id : templateIds()) {
        std::set<int> seen;
        walk(dialogTemplate(id).controls, [&](const ui::Control& c, const std::string&) {
            if (c.id != 0 && c.id != -1) {
                EXPECT_TRUE(seen.insert(c.id).second) << "template " << id << ", control " << c.id;
            }
        });
    }
}

TEST(Templates, EveryRadioGroupHasAStart) {
    for (int id : templateIds()) {
        const ui::Template& tpl = dialogTemplate(id);
        for (const ui::Control* c : ui::controlsWithIds(tpl)) {
            if (c->kind != ui::ControlKind::Radio)
                continue;
            const std::vector<int> group = ui::radioGroup(tpl, c->id);
            ASSERT_FALSE(group.empty());
            const ui::Control* first = ui::findControl(tpl, group.front());
            EXPECT_TRUE(first->style & ui::kGroupStart) << "template " << id << ", radio " << c->id;
            EXPECT_GE(group.size(), 2u) << "template " << id << ", radio " << c->id;
        }
    }
}

void expectCp932(const std::string& text, int id) {
    const SjisEncoding encoded = Utf8ToSjis(text);
    if (encoded.error == SjisError::Unavailable)
        GTEST_SKIP() << "no CP932 converter on this system";
    EXPECT_TRUE(encoded.ok()) << "template " << id << ": " << text;
}

void expectMenuCp932(const std::vector<ui::MenuItem>& items, int id) {
    for (const ui::MenuItem& item : items) {
        expectCp932(item.caption, id);
        expectMenuCp932(item.items, id);
    }
}

TEST(Templates, EveryCaptionFitsCp932) {
    for (int id : templateIds()) {
        const ui::Template& tpl = dialogTemplate(id);
        expectCp932(tpl.caption, id);
        expectMenuCp932(tpl.menu, id);
        walk(tpl.controls, [&](const ui::Control& c, const std::string&) {
            expectCp932(c.caption, id);
            for (const std::string& item : c.items) expectCp932(item, id);
        });
    }
}

// The program opens its dialogs by the IDD_ ids of res/*Ids.h.
TEST(Templates, EveryDialogTheProgramOpensExists) {
    const std::regex declaration(R"(constexpr\s+int\s+(IDD_\w+)\s*=\s*(\d+))");
    int dialogs = 0;
    for (const auto& entry : fs::directory_iterator(KX_RES_SOURCE_DIR)) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with("Ids.h"))
            continue;
        const std::string text = readFile(entry.path());
        for (std::sregex_iterator it(text.begin(), text.end(), declaration), end; it != end; ++it) {
            ++dialogs;
            EXPECT_NE(findTemplate(std::stoi((*it)[2])), nullptr) << name << ": " << (*it)[1];
        }
    }
    EXPECT_GT(dialogs, 0);
}

// Full-width letters, digits and signs as ASCII, as either side may write them.
std::string folded(const std::string& text) {
    std::string out;
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t c = ui::nextCodePoint(text, pos);
        ui::appendUtf8(out, c >= 0xFF01 && c <= 0xFF5E ? c - 0xFF01 + 0x21 : c);
    }
    return out;
}

std::string helpText() {
    std::string all;
    for (const auto& entry : fs::directory_iterator(KX_HELP_SOURCE_DIR)) {
        if (entry.path().extension() == ".html")
            all += folded(readFile(entry.path())) + '\n';
    }
    return all;
}

// "ダイヤルアップ3" as {"ダイヤルアップ", 3}; no number: -1.
std::pair<std::string, int> numbered(const std::string& item) {
    std::size_t digits = item.size();
    while (digits > 0 && item[digits - 1] >= '0' && item[digits - 1] <= '9') --digits;
    if (digits == item.size() || item.size() - digits > 4)
        return {item, -1};
    return {item.substr(0, digits), std::stoi(item.substr(digits))};
}

// The items quoted one after the other, 「a」「b」; a run of three or more items counting up by
// one ("ダイヤルアップ1" ... "ダイヤルアップ4") may stand as 「first」〜「last」 when `ranges`.
std::string quoted(const std::vector<std::string>& items, bool ranges) {
    std::string run;
    for (std::size_t i = 0; i < items.size();) {
        std::size_t end = i + 1;
        const auto [stem, first] = numbered(items[i]);
        while (ranges && first >= 0 && end < items.size() &&
               numbered(items[end]) == std::pair{stem, first + static_cast<int>(end - i)})
            ++end;
        if (end - i >= 3) {
            run += "「" + items[i] + "」〜「" + items[end - 1] + "」";
        } else {
            run += "「" + items[i] + "」";
            end = i + 1;
        }
        i = end;
    }
    return run;
}

// A list's items are the stored values by index, so a swap of two captions would store the
// other value. The help pages name each list's items in their order, quoted one after the
// other; the list must match such a run exactly, unless its items number themselves in order
// ("COM1" ... "COM9").
TEST(Templates, ListItemsComeInTheOrderTheHelpGivesThem) {
    const std::string help = helpText();
    int lists = 0;
    for (int id : templateIds()) {
        walk(dialogTemplate(id).controls, [&](const ui::Control& c, const std::string&) {
            if (c.kind != ui::ControlKind::List || c.items.size() < 2 || !inHelp(id, c.id))
                return;
            ++lists;
            std::vector<std::string> items;
            for (const std::string& item : c.items) items.push_back(folded(item));
            const std::string full = quoted(items, false), ranged = quoted(items, true);
            if (ranged == "「" + items.front() + "」〜「" + items.back() + "」")
                return;
            EXPECT_TRUE(help.find(full) != std::string::npos ||
                        help.find(ranged) != std::string::npos)
                << "template " << id << ": " << full;
        });
    }
    EXPECT_GT(lists, 0);
}

// No help page names these lists' items, so their order is written out here.
TEST(Templates, ListsNoHelpPageNamesComeInOrder) {
    for (const auto& [dialog, list, items] : kNotInHelp) {
        const ui::Control* control = ui::findControl(dialogTemplate(dialog), list);
        ASSERT_NE(control, nullptr) << list;
        EXPECT_EQ(control->items, items);
    }
}

// An edit hides what is typed exactly when its label asks for a password.
TEST(Templates, PasswordEditsHideTheirText) {
    int passwords = 0;
    for (int id : templateIds()) {
        walk(dialogTemplate(id).controls, [&](const ui::Control& c, const std::string& field) {
            if (c.kind != ui::ControlKind::Edit)
                return;
            const bool password = field.find("パスワード") != std::string::npos;
            passwords += password ? 1 : 0;
            EXPECT_EQ((c.style & ui::kPassword) != 0, password)
                << "template " << id << ", edit " << c.id << " labelled " << field;
        });
    }
    EXPECT_GT(passwords, 0);
}

}  // namespace
}  // namespace kx::res
