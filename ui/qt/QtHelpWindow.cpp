#include "ui/qt/QtHelpWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include "ui/qt/QtIcon.h"

namespace kx::ui::qt {

namespace {
constexpr int kNarrowest = 480;  // pixels: the pages still read well
constexpr int kShortest = 240;   // pixels: a few paragraphs still fit
constexpr int kGap = 8;          // pixels between the dialog and the help
}  // namespace

HelpWindow::HelpWindow() : QWidget(nullptr, Qt::Window) {
    setWindowTitle(QStringLiteral("KESTRELX 設定ユーティリティ ヘルプ"));
    setWindowIcon(programIcon());
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(6);
    auto* row = new QHBoxLayout;
    back_ = new QPushButton(QStringLiteral("戻る"));
    back_->setEnabled(false);
    auto* close = new QPushButton(QStringLiteral("閉じる"));
    row->addWidget(back_);
    row->addStretch(1);
    row->addWidget(close);
    column->addLayout(row);
    browser_ = new QTextBrowser;
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(false);
    column->addWidget(browser_, 1);
    QObject::connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    QObject::connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    QObject::connect(close, &QPushButton::clicked, this, &QWidget::close);
    resize(640, 560);
}

bool HelpWindow::showPage(const std::string& path, std::string& error) {
    QFileInfo info(QString::fromStdString(path));
    if (!info.isReadable()) {
        error = path + " cannot be read";
        return false;
    }
    bool opening = !isVisible();
    browser_->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    if (opening) {
        placeBesideActiveDialog();
        show();
        // the window manager's frame is known only once the window is on screen
        QTimer::singleShot(100, this, &HelpWindow::keepDialogButtonsInSight);
    }
    followModality();
    raise();
    activateWindow();
    browser_->setFocus();
    return true;
}

// A modal window blocks every window that is not its own (transient) child, so the help
// window makes itself the child of the modal window on top whenever one blocks it, and again
// when that one goes away.
void HelpWindow::followModality() {
    QWindow* handle = windowHandle();
    if (!handle)
        return;
    QWindow* modal = QGuiApplication::modalWindow();
    if (modal == handle || modal == owner_)
        return;
    if (owner_)
        QObject::disconnect(owner_, nullptr, this, nullptr);
    owner_ = modal;
    if (modal) {
        auto later = [this] { QTimer::singleShot(0, this, [this] { followModality(); }); };
        QObject::connect(modal, &QWindow::visibleChanged, this, [later](bool on) {
            if (!on)
                later();
        });
        QObject::connect(modal, &QObject::destroyed, this, later);
    }
    handle->setTransientParent(modal);
}

bool HelpWindow::event(QEvent* e) {
    bool done = QWidget::event(e);
    if (e->type() == QEvent::WindowBlocked)
        followModality();
    return done;
}

// Beside the dialog that asked, on the side with room, rather than under it.
void HelpWindow::placeBesideActiveDialog() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog)
        dialog = QApplication::activeWindow();
    if (!dialog || dialog == this)
        return;
    QScreen* screen = dialog->screen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    const QRect beside = dialog->frameGeometry();
    const int gap = kGap;
    const int frame = frameGeometry().width() - width();  // the window manager's borders
    const int rightRoom = room.right() - beside.right() - gap;
    const int leftRoom = beside.left() - room.left() - gap;
    int width = this->width() + frame;
    int x = 0;
    if (rightRoom >= width) {
        x = beside.right() + gap;
    } else if (leftRoom >= width) {
        x = beside.left() - gap - width;
    } else {
        // no room on either side: narrower, at the edge with more room, covering little
        width = std::max(kNarrowest, std::max(rightRoom, leftRoom));
        x = rightRoom >= leftRoom ? room.right() - width : room.left();
        resize(width - frame, height());
    }
    const int height = this->height() + frame;
    const int y =
        std::clamp(beside.top(), room.top(), std::max(room.top(), room.bottom() - height));
    move(std::max(x, room.left()), y);
}

// Covering part of the dialog, the help ends above the dialog's buttons, so "登録" and "戻る"
// stay in sight and in reach of the mouse.
void HelpWindow::keepDialogButtonsInSight() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || dialog == this || !isVisible())
        return;
    const QRect mine = frameGeometry();
    const QRect theirs = dialog->frameGeometry();
    if (mine.left() >= theirs.right() || mine.right() <= theirs.left())
        return;
    int buttonsTop = theirs.bottom();
    for (const QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->isVisible() && button->isDefault())
            buttonsTop = std::min(buttonsTop, button->mapToGlobal(QPoint(0, 0)).y());
    const int frameBelow = mine.bottom() - geometry().bottom();
    const int shorter = buttonsTop - kGap - frameBelow - geometry().top();
    if (shorter >= kShortest && shorter < height())
        resize(width(), shorter);
}

}  // namespace kx::ui::qt
