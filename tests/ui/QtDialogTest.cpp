// The Qt backend on the offscreen platform: a dialog built from a template, typing into a
// filtered edit, clicks, a message box, and the loop inside Qt.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <thread>

#include "app/services/NumEdit.h"
#include "ui/Backend.h"
#include "ui/DataExchange.h"
#include "ui/Dialog.h"
#include "ui/MessageLoop.h"
#include "ui/TemplateBuilder.h"
#include "ui/qt/QtBackend.h"
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

const Template& numberTemplate() {
    static const Template t{9300,
                            "番号",
                            0,
                            0,
                            kDialogNoStyle,
                            0,
                            {},
                            {
                                group("番号登録", {field("自己アドレス", edit(21, kNoStyle, 20))}),
                                check(24, "転送トーキ"),
                                buttons({button(IDOK, "登録", kDefault), button(IDCANCEL, "戻る")}),
                            }};
    return t;
}

class NumberDlg : public Dialog {
public:
    NumberDlg() : Dialog(numberTemplate()) { SetKeyFilter(21, &numberEdit); }
    std::string number;
    int talky = 0;
    int boxAnswer = 0;

protected:
    bool OnInitDialog() override {
        Dialog::OnInitDialog();
        LimitText(21, 8);
        // the user, once the window is up
        postCall([this] {
            auto* window = dynamic_cast<qt::QtWindow*>(DialogEvents::peer(*this));
            QWidget* edit = window->control(21);
            edit->setFocus();
            QTest::keyClicks(edit, "03a*1,(2)");                // letters and commas never appear
            QTest::keyClick(window->widget(), Qt::Key_Escape);  // does nothing
            QWidget* box = window->control(24);
            QTest::mouseClick(box, Qt::LeftButton, {},
                              QPoint(8, box->height() / 2));  // on its mark
            QTest::mouseClick(window->control(IDOK), Qt::LeftButton);
        });
        return true;
    }
    void DoDataExchange(DataExchange& dx) override { dx.check(24, talky); }
    void OnOK() override {
        UpdateData(true);
        if (!GetDlgItemText(21, 59, number))
            return;
        // a timer of the layer answers the box: timers run inside the box's own loop
        setTimer(5, 20ms, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                killTimer(5);
                box->button(QMessageBox::Ok)->click();
            }
        });
        boxAnswer = MessageBox("登録しますか？", "番号", MsgButtons::OkCancel, MsgIcon::Question);
        EndDialog(IDOK);
    }

private:
    CNumEdit numberEdit;
};

TEST_F(QtDialogTest, TypesThroughTheFilterClicksAndReadsBack) {
    NumberDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.number, "03*1(2)");  // limit 8 bytes: the ")" is the 7th
    EXPECT_EQ(dlg.talky, 1);
    EXPECT_EQ(dlg.boxAnswer, IDOK);
}

TEST_F(QtDialogTest, TimersAndWakeUpsWorkInTheQtLoop) {
    std::vector<int> fired;
    for (int id : {2, 1})
        setTimer(id, std::chrono::milliseconds(15 * id), [&fired, id] {
            fired.push_back(id);
            killTimer(id);
        });
    EXPECT_TRUE(pumpUntil([&] { return fired.size() == 2; }, Clock::now() + 10s));
    EXPECT_EQ(fired, (std::vector<int>{1, 2}));

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
        {"US Shift+9 gives (", Qt::Key_ParenLeft, Qt::ShiftModifier, "(", true, false, true},
        {"US Shift+0 gives )", Qt::Key_ParenRight, Qt::ShiftModifier, ")", true, false, true},
        {"US Shift+2 gives @", Qt::Key_At, Qt::ShiftModifier, "@", true, false, false},
        {"* without Shift held", Qt::Key_Asterisk, Qt::NoModifier, "*", false, false, true},
        {"pad 5", Qt::Key_5, Qt::KeypadModifier, "5", false, false, true},
        {"pad * with Shift held", Qt::Key_Asterisk, Qt::KeypadModifier | Qt::ShiftModifier, "*",
         true, false, false},
        {"digit 7", Qt::Key_7, Qt::NoModifier, "7", false, false, true},
        {"letter a", Qt::Key_A, Qt::NoModifier, "a", false, false, false},
        {"Ctrl+V", Qt::Key_V, Qt::ControlModifier, "\x16", false, true, true},
        {"home", Qt::Key_Home, Qt::NoModifier, "", false, false, false},
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
