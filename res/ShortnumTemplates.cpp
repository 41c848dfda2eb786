// Template of the short-number dialog: twenty numbers in two columns of ten.

#include "res/SettingsTemplates.h"
#include "res/ShortnumIds.h"
#include "res/Templates.h"
#include "ui/TemplateBuilder.h"

namespace kx::res {
namespace {

using namespace ui;
using namespace ui::tpl;

// Templates read like the dialogs they describe; the formatter would flatten them.
// clang-format off

// Ten rows from `first` on, under the column headings.
Control numberColumn(int first) {
    std::vector<Control> rows{field("Ｎｏ．", label("電話番号"))};
    for (int i = first; i < first + 10; ++i)
        rows.push_back(field(kRowLabels[i], edit(kShortNumberEdits[i], kNoStyle, 26)));
    return column(std::move(rows));
}

Template shortNumberTemplate() {
    return {IDD_SHORT_NUMBER, "短縮番号設定", 300, 200, kDialogNoStyle, 0, {}, {
        row({numberColumn(0), numberColumn(10)}),
        cautions({"・サブアドレスは「*」で区切ってください。"}),
        dialogButtons(),
    }};
}

// clang-format on

}  // namespace

const ui::Template* shortnumTemplate(int id) {
    static const ui::Template kShortNumber = shortNumberTemplate();
    return id == IDD_SHORT_NUMBER ? &kShortNumber : nullptr;
}

}  // namespace kx::res
