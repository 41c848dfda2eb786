// The Qt backend on the offscreen platform: a dialog built from a template, keys typed into a
// filtered edit, clicks, message boxes, the help window and the loop inside Qt.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>
#include <atomic>
#include <fstream>
#include <functional>
#include <map>
#include <thread>

#include "app/services/NumEdit.h"
#include "res/ShellIds.h"
#include "res/Templates.h"
#include "ui/Backend.h"
#include "ui/DataExchange.h"
#include "ui/Dialog.h"
#include "ui/MessageLoop.h"
#include "ui/TemplateBuilder.h"
#include "ui/qt/QtBackend.h"
#include "ui/qt/QtHelpWindow.h"
#include "ui/qt/QtKeys.h"
#include "ui/qt/QtWindow.h"

namespace kx::ui {
namespace {

using namespace tpl;
using namespace std::chrono_literals;

class QtDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "kx_ui_qt_tests";
        static char* argv[] = {name, nullptr};
        qt::install(argc, argv);
    }
    void TearDown() override { installBackend(nullptr); }
};

// The order of timers is LoopTest's; here a wake from the serial reader's thread ends a wait
// inside Qt's loop.
TEST_F(QtDialogTest, WakeUpsWorkInTheQtLoop) {
    std::atomic<bool> done{false};
    std::thread reader([&] {
        std::this_thread::sleep_for(30ms);
        done = true;
        pump().wake();
    });
    auto start = Clock::now();
    while (!done && Clock::now() - start < 30s) pump().waitFor(30s);
    reader.join();
    EXPECT_LT(Clock::now() - start, 20s);
}

// A timer whose call shows a message box: the layer's other timers go on inside the box, here
// with only Qt's loops running (the first box's, then the second's).
TEST_F(QtDialogTest, TimersRunInsideABoxThatATimerShows) {
    auto clickOk = [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box)
            box->button(QMessageBox::Ok)->click();
        return box != nullptr;
    };
    int clicks = 0, inner = 0;
    setTimer(6, 60ms, [&] {
        if (clickOk() && ++clicks == 2)
            killTimer(6);
    });
    setTimer(7, 5ms, [&] {  // a periodic timer, left running while it asks
        inner = MessageBox("登録しますか？", "番号", MsgButtons::OkCancel, MsgIcon::Question);
        killTimer(7);
    });
    bool rescued = false;
    QTimer rescue;  // the way out, should the layer's timers stand still
    QObject::connect(&rescue, &QTimer::timeout, [&] { rescued = clickOk() || rescued; });
    rescue.start(5000);
    int outer = MessageBox("接続しますか？", "番号", MsgButtons::OkCancel, MsgIcon::Question);
    EXPECT_EQ(inner, IDOK);
    EXPECT_EQ(outer, IDOK);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(rescued);
}

// A message box breaks its text only at the text's own line ends, unless a line is wider than a
// box can grow on the screen: that one is wrapped, and no part of it is cut off.
TEST_F(QtDialogTest, MessageBoxesShowAllOfTheirText) {
    const std::string longLine = [] {
        std::string line = "bad.txt:2: ";
        for (int i = 0; i < 12; ++i) line += "デジタル スループットＢＯＤ チャネル追加 ";
        return line;
    }();
    const struct {
        std::string text;
        int lines;  // as the box shows them: at least, or exactly when not wrapped
        bool wrapped;
    } kRows[] = {
        {"ＴＥＬ１の設定を登録しますか？\r\n登録すると機器に書き込みます。", 2, false},
        {longLine + "\r\n設定は復元していません。", 3, true},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.text);
        int shownLines = 0, needed = 0, height = 0, boxRight = 0, screenRight = 0;
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            ASSERT_NE(label, nullptr);
            shownLines = label->height() / label->fontMetrics().lineSpacing();
            needed = label->wordWrap() ? label->heightForWidth(label->width()) : 0;
            height = label->height();
            boxRight = box->frameGeometry().width();
            screenRight = box->screen()->availableGeometry().width();
            box->button(QMessageBox::Ok)->click();
        });
        EXPECT_EQ(MessageBox(row.text, "番号", MsgButtons::Ok, MsgIcon::Stop), IDOK);
        EXPECT_LE(boxRight, screenRight);
        EXPECT_LE(needed, height);  // room for every wrapped line
        if (row.wrapped)
            EXPECT_GE(shownLines, row.lines);
        else
            EXPECT_EQ(shownLines, row.lines);
    }
}

// The main window without its log pane: the area buttons and the exit button fully inside it
// with a margin, the caption wide enough for the title bar, and the wait window no wider.
TEST_F(QtDialogTest, ShortMainWindowHoldsItsButtonsAndTitle) {
    Dialog main(*res::findTemplate(IDD_MAIN));
    ASSERT_TRUE(main.Create(nullptr));
    main.ShowControl(IDC_MAIN_DEBUG_GROUP, false);
    main.SetWindowText("KESTRELX 設定ユーティリティ");
    Dialog wait(*res::findTemplate(IDD_WAIT));
    ASSERT_TRUE(wait.Create(nullptr));
    auto* window = dynamic_cast<qt::QtWindow*>(DialogEvents::peer(main));
    auto* waitWindow = dynamic_cast<qt::QtWindow*>(DialogEvents::peer(wait));
    QWidget* top = window->widget();
    top->adjustSize();
    waitWindow->widget()->adjustSize();
    const QRect inside = top->rect().adjusted(6, 6, -6, -6);
    for (int id :
         {IDC_MAIN_ANALOG, IDC_MAIN_DIGITAL, IDC_MAIN_ARRIVE, IDC_MAIN_SHORTNUM, IDC_MAIN_EXIT}) {
        QWidget* button = window->control(id);
        QRect at(button->mapTo(top, QPoint(0, 0)), button->size());
        EXPECT_TRUE(inside.contains(at)) << id;
        const QString caption = qobject_cast<QPushButton*>(button)->text();
        EXPECT_GE(button->width(),
                  button->fontMetrics().horizontalAdvance(caption) + button->fontMetrics().height())
            << id;  // room beside the caption
    }
    EXPECT_FALSE(window->control(IDC_MAIN_LOG)->isVisibleTo(top));
    EXPECT_GT(top->width(), top->fontMetrics().horizontalAdvance(top->windowTitle()) + 80);
    EXPECT_LE(waitWindow->widget()->width(), top->width());
    main.DestroyWindow();
    wait.DestroyWindow();
}

// A device text beside a list (the port dialog's): a long one never widens the window, and it
// greys with the list.
TEST_F(QtDialogTest, TextBesideAListKeepsTheWidthAndGreysWithIt) {
    Control com = field("COMポート", list(41, {"COM1", "COM2"}, 8));
    com.children.push_back(text(42));
    const Template tpl{
        .id = 9330,
        .caption = "接続",
        .menu = {},
        .controls = {group("ポート選択", {com}),
                     buttons({button(IDOK, "接続", kDefault), button(IDCANCEL, "終了")})}};
    Dialog dlg(tpl);
    ASSERT_TRUE(dlg.Create(nullptr));
    auto* window = dynamic_cast<qt::QtWindow*>(DialogEvents::peer(dlg));
    QWidget* top = window->widget();
    dlg.SetDlgItemTextUtf8(42, "/dev/ttyS0");
    top->adjustSize();
    const int width = top->width();
    dlg.SetDlgItemTextUtf8(42, "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3D4E5-if00-port0");
    top->adjustSize();
    EXPECT_EQ(top->width(), width);
    EXPECT_EQ(dlg.GetDlgItemTextUtf8(42),
              "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3D4E5-if00-port0");
    dlg.EnableControl(41, false);
    EXPECT_FALSE(window->control(42)->isEnabled());
    dlg.EnableControl(41, true);
    EXPECT_TRUE(window->control(42)->isEnabled());
    dlg.DestroyWindow();
}

// The keyboard as a dialog's users know it, sent through the window system: Home, End and
// Ctrl+A in a number field type nothing, its limit holds, Esc does nothing, a radio group is one
// Tab stop that the arrows move within, F10 opens the menu bar, a click on a check box's mark
// checks it, and Enter in the number field presses the default button.
const Template& keysTemplate() {
    static const Template t{.id = 9320,
                            .caption = "キー",
                            .menuId = 1,
                            .menu = {popup("ﾌｧｲﾙ", {menuItem("初期化", 9329)})},
                            .controls = {
                                field("番号", edit(21, kNoStyle, 12)),
                                radios({{31, "一"}, {32, "二"}, {33, "三"}}),
                                check(24, "転送トーキ"),
                                buttons({button(IDOK, "登録", kDefault), button(IDCANCEL, "戻る")}),
                            }};
    return t;
}

class KeysDlg : public Dialog {
public:
    KeysDlg() : Dialog(keysTemplate()) { SetKeyFilter(21, &numberEdit); }
    std::string number;
    int choice = 1, talky = 0;

protected:
    bool OnInitDialog() override {
        Dialog::OnInitDialog();
        LimitText(21, 5);
        UpdateData(false);
        postCall([this] {
            auto* window = dynamic_cast<qt::QtWindow*>(DialogEvents::peer(*this));
            QWindow* handle = window->widget()->windowHandle();
            QWidget* r2 = window->control(32);
            QWidget* box = window->control(24);
            window->control(21)->setFocus();
            for (char c : {'1', '2', '3'}) QTest::keyClick(handle, c);
            QTest::keyClick(handle, Qt::Key_Home);
            QTest::keyClick(handle, Qt::Key_9);
            QTest::keyClick(handle, Qt::Key_End);
            QTest::keyClick(handle, Qt::Key_4);
            QTest::keyClick(handle, Qt::Key_5);  // past the limit
            QTest::keyClick(handle, Qt::Key_Escape);
            EXPECT_TRUE(window->widget()->isVisible());  // Esc closes nothing
            QTest::keyClick(handle, Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), r2);  // the group's checked button is its stop
            QTest::keyClick(handle, Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), box);
            QTest::keyClick(handle, Qt::Key_Backtab, Qt::ShiftModifier);
            EXPECT_EQ(QApplication::focusWidget(), r2);
            QTest::keyClick(handle, Qt::Key_Down);
            EXPECT_EQ(QApplication::focusWidget(), window->control(33));  // moves and checks
            QTest::keyClick(handle, Qt::Key_F10);
            EXPECT_NE(qobject_cast<QMenu*>(QApplication::activePopupWidget()), nullptr);
            if (QWidget* menu = QApplication::activePopupWidget())
                menu->close();
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));  // its mark
            window->control(21)->setFocus();
            QTest::keyClick(handle, Qt::Key_Return);
        });
        return true;
    }
    void DoDataExchange(DataExchange& dx) override {
        dx.radio(31, choice);
        dx.check(24, talky);
    }
    void OnOK() override {
        UpdateData(true);
        if (GetDlgItemText(21, 59, number))
            EndDialog(IDOK);
    }

private:
    CNumEdit numberEdit;
};

TEST_F(QtDialogTest, KeysWorkAsOnTheDesktop) {
    KeysDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);  // Enter in the number field
    EXPECT_EQ(dlg.number, "91234");
    EXPECT_EQ(dlg.choice, 2);
    EXPECT_EQ(dlg.talky, 1);
}

// The help window while modal dialogs run (a modal main window and a dialog above it): the
// keys and clicks come in as the window system delivers them, through the modality's block.
const Template& plainTemplate(int id) {
    static std::map<int, Template> made;
    auto [it, fresh] = made.try_emplace(id);
    if (fresh)
        it->second = Template{
            .id = id,
            .caption = "設定",
            .menu = {},
            .controls = {buttons({button(IDOK, "登録", kDefault), button(IDCANCEL, "戻る")})}};
    return it->second;
}

class ModalDlg : public Dialog {
public:
    ModalDlg(int id, std::function<void(ModalDlg&)> user)
        : Dialog(plainTemplate(id)), user_(std::move(user)) {}

protected:
    bool OnInitDialog() override {
        Dialog::OnInitDialog();
        postCall([this] { user_(*this); });
        return true;
    }

private:
    std::function<void(ModalDlg&)> user_;
};

QPoint centreIn(QWidget* top, QWidget* w) {
    return w->mapTo(top, w->rect().center());
}

TEST_F(QtDialogTest, HelpWindowTakesInputWhileModalDialogsRun) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string first = dir.filePath("1.html").toStdString();
    const std::string second = dir.filePath("2.html").toStdString();
    {
        std::ofstream page(first);
        page << "<html><body><p><a href=\"2.html\">next</a></p>";
        for (int i = 0; i < 200; ++i) page << "<p>line " << i << "</p>";
        page << "</body></html>";
        std::ofstream(second) << "<html><body><p>second page</p></body></html>";
    }
    qt::HelpWindow help;
    auto user = [&](ModalDlg& dlg) {
        std::string error;
        EXPECT_TRUE(help.showPage(first, error));
        QWindow* window = help.windowHandle();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        EXPECT_EQ(QApplication::activeWindow(), &help);  // in front
        QScrollBar* bar = help.browser()->verticalScrollBar();
        help.browser()->setFocus();
        QTest::keyClick(window, Qt::Key_PageDown);
        QTest::keyClick(window, Qt::Key_PageDown);
        EXPECT_GT(bar->value(), 0);
        bar->setValue(0);
        // the link's place in the window: the first character of the page
        QRect link = help.browser()->cursorRect(help.browser()->textCursor());
        QPoint at = help.browser()->viewport()->mapTo(&help, link.center() + QPoint(4, 0));
        QTest::mouseClick(window, Qt::LeftButton, {}, at);
        EXPECT_EQ(help.browser()->source().fileName(), QStringLiteral("2.html"));  // followed
        auto buttons = help.findChildren<QPushButton*>();
        QPushButton* back = buttons.value(0);
        QPushButton* close = buttons.value(1);
        QTest::mouseClick(window, Qt::LeftButton, {}, centreIn(&help, back));
        EXPECT_EQ(help.browser()->source().fileName(), QStringLiteral("1.html"));  // back
        EXPECT_TRUE(help.showPage(second, error));
        EXPECT_EQ(help.windowHandle(), window);  // the same window again
        QTest::mouseClick(window, Qt::LeftButton, {}, centreIn(&help, close));
        EXPECT_FALSE(help.isVisible());
        dlg.EndDialog(IDOK);
    };
    ModalDlg main(9311, [&](ModalDlg& outer) {
        ModalDlg dialog(9312, user);
        dialog.DoModal();
        outer.EndDialog(IDOK);
    });
    EXPECT_EQ(main.DoModal(), IDOK);
}

// What CNumEdit makes of keys typed on other layouts: the character decides, as on a Japanese
// keyboard.
TEST(QtKeyTranslation, ForeignLayoutsReachTheFilterAsTheJapaneseKeys) {
    struct Row {
        const char* what;
        int key;
        Qt::KeyboardModifiers mods;
        const char* text;
        bool shiftHeld, ctrlHeld;  // as the filter saw them before
        bool pass;
    };
    const Row rows[] = {
        {"US Shift+8 gives *", Qt::Key_Asterisk, Qt::ShiftModifier, "*", true, false, true},
        {"US Shift+; gives :", Qt::Key_Colon, Qt::ShiftModifier, ":", true, false, false},
        {"US Shift+2 gives @", Qt::Key_At, Qt::ShiftModifier, "@", true, false, false},
        {"* without Shift held", Qt::Key_Asterisk, Qt::NoModifier, "*", false, false, true},
        {"pad 5", Qt::Key_5, Qt::KeypadModifier, "5", false, false, true},
        {"pad * with Shift held", Qt::Key_Asterisk, Qt::KeypadModifier | Qt::ShiftModifier, "*",
         true, false, false},
        {"digit 7", Qt::Key_7, Qt::NoModifier, "7", false, false, true},
        {"letter a", Qt::Key_A, Qt::NoModifier, "a", false, false, false},
        {"Ctrl+V", Qt::Key_V, Qt::ControlModifier, "\x16", false, true, true},
        {"home", Qt::Key_Home, Qt::NoModifier, "", false, false, true},
        {"Ctrl+A", Qt::Key_A, Qt::ControlModifier, "\x01", false, true, true},
        {"escape", Qt::Key_Escape, Qt::NoModifier, "\x1b", false, false, false},
        {"backspace", Qt::Key_Backspace, Qt::NoModifier, "\b", false, false, true},
        {"kana", 0x30A2, Qt::NoModifier, "ア", false, false, false},
    };
    for (const Row& row : rows) {
        CNumEdit filter;
        filter.shiftDown = row.shiftHeld;
        filter.ctrlDown = row.ctrlHeld;
        QKeyEvent event(QEvent::KeyPress, row.key, row.mods, QString::fromUtf8(row.text));
        KeySequence seq = qt::translateKey(event);
        bool swallowed = false;
        for (std::size_t i = 0; i < seq.messages.size(); ++i) {
            bool s = filter.PreTranslateMessage(seq.messages[i]);
            if (i == seq.keyIndex)
                swallowed = s;
        }
        EXPECT_EQ(!swallowed, row.pass) << row.what;
        EXPECT_EQ(filter.shiftDown, row.shiftHeld ? 1u : 0u)
            << row.what;  // Shift put back as it was
    }
}

}  // namespace
}  // namespace kx::ui
