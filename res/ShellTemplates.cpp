// Templates of the application shell: version dialog, main window, port dialog, wait window,
// restore preview.

#include "res/ShellIds.h"
#include "res/Templates.h"
#include "ui/TemplateBuilder.h"

namespace kx::res {
namespace {

using namespace ui;
using namespace ui::tpl;

// Templates read like the dialogs they describe; the formatter would flatten them.
// clang-format off

Template versionTemplate() {
    return {IDD_VERSION, "バージョン情報", 200, 70, kDialogNoStyle, 0, {}, {
        row({
            icon(IDI_MAIN_ICON),
            column({
                field("ファームウェアのバージョン：", text(IDC_VERSION_FIRMWARE)),
                field("設定ユーティリティのバージョン：", label("Version 1.01")),
            }),
        }),
        buttons({button(IDOK, "OK", kDefault)}),
    }};
}

Template mainTemplate() {
    return {IDD_MAIN, "設定ユーティリティ", 230, 210, kMinimizeBox, IDR_MAIN_MENU,
        {
            popup("ﾌｧｲﾙ", {menuItem("設定の保存...", ID_FILE_SAVE),
                           menuItem("設定の復元...", ID_FILE_RESTORE),
                           menuItem("初期化", ID_FILE_INIT)}),
            popup("ﾍﾙﾌﾟ", {menuItem("ﾍﾙﾌﾟ", ID_HELP_CONTENTS),
                           menuItem("ﾊﾞｰｼﾞｮﾝ情報", ID_HELP_VERSION)}),
        },
        {
            grid(2, {
                button(IDC_MAIN_ANALOG, "アナログ設定"),
                button(IDC_MAIN_DIGITAL, "デジタル設定"),
                button(IDC_MAIN_ARRIVE, "着信制御設定"),
                button(IDC_MAIN_SHORTNUM, "短縮番号設定"),
            }),
            buttons({button(IDC_MAIN_EXIT, "終了")}),
            text(IDC_MAIN_STATUS, "", kWrap),
            group(IDC_MAIN_DEBUG_GROUP, "デバック", {multiLineEdit(IDC_MAIN_LOG, 8)}),
        }};
}

Template portSelectTemplate() {
    std::vector<std::string> ports;
    for (int n = 1; n <= 9; ++n) ports.push_back("COM" + std::to_string(n));
    return {IDD_PORT_SELECT, "接続ポート設定", 180, 170, kDialogNoStyle, 0, {}, {
        text(IDC_PORTSEL_HEADING, "設定ユーティリティ", kCentred),
        group("ポート選択", {
            field("COMポート", list(IDC_PORTSEL_COM, ports, 8)),
            text(IDC_PORTSEL_ACCESS_HINT, "", kWrap | kHidden),
            buttons({button(IDC_PORTSEL_AUTODETECT, "自動検出")}),
        }),
        buttons({button(IDOK, "接続", kDefault), button(IDCANCEL, "終了"),
                 button(IDC_PORTSEL_DETAILS, "詳細")}),
        // the lower half: the short window leaves it out until "詳細" shows it
        panel(IDC_PORTSEL_LINK_PANEL, {
            radios({{IDC_PORTSEL_SERIAL, "シリアル"}, {IDC_PORTSEL_PNA, "ＨｏｍｅＰＮＡ"}},
                   kHorizontal),
            field("ＩＰアドレス", edit(IDC_PORTSEL_IP_ADDRESS, kNoStyle, 16)),
            field("ログインパスワード", edit(IDC_PORTSEL_LOGIN_PASSWORD, kPassword, 10)),
            field("管理者パスワード", edit(IDC_PORTSEL_ADMIN_PASSWORD, kPassword, 10)),
        }),
    }};
}

Template waitTemplate() {
    return {IDD_WAIT, "", 140, 40, kNoCaption, 0, {}, {
        text(IDC_WAIT_TEXT, "しばらくお待ちください！", kCentred),
    }};
}

// The list shows one line per item that would change, filled when the dialog opens.
Template restoreTemplate() {
    return {IDD_RESTORE, "設定の復元", 320, 180, kDialogNoStyle, 0, {}, {
        text(IDC_RESTORE_TEXT, "次の項目を変更します（項目：機器の設定 → ファイルの設定）", kWrap),
        multiLineEdit(IDC_RESTORE_LIST, 12),
        text(IDC_RESTORE_NOTE, "", kWrap),
        buttons({button(IDOK, "復元", kDefault), button(IDCANCEL, "戻る")}),
    }};
}

// clang-format on

}  // namespace

const ui::Template* shellTemplate(int id) {
    static const ui::Template kVersion = versionTemplate();
    static const ui::Template kMain = mainTemplate();
    static const ui::Template kPortSelect = portSelectTemplate();
    static const ui::Template kWait = waitTemplate();
    static const ui::Template kRestore = restoreTemplate();
    switch (id) {
        case IDD_VERSION:
            return &kVersion;
        case IDD_MAIN:
            return &kMain;
        case IDD_PORT_SELECT:
            return &kPortSelect;
        case IDD_WAIT:
            return &kWait;
        case IDD_RESTORE:
            return &kRestore;
        default:
            return nullptr;
    }
}

}  // namespace kx::res
