#include "ui/qt/QtWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetricsF>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>
#include <cmath>

#include "ui/Dialog.h"
#include "ui/TextCodec.h"
#include "ui/qt/QtKeys.h"
#include "ui/qt/QtListNotes.h"
#include "ui/qt/QtStyle.h"
#include "ui/qt/QtText.h"

namespace kx::ui::qt {
namespace {

constexpr int kMargin = 10;  // about the 7 dialog units of a dialog's edge
constexpr int kSpacing = 6;

bool holdsPane(const Control& c) {
    if (c.kind == ControlKind::Edit && (c.style & kMultiLine))
        return true;
    return std::any_of(c.children.begin(), c.children.end(), holdsPane);
}

// Multi-line panes hold "\r\n" line ends in the program and "\n" in Qt.
QString toPane(std::string_view utf8) {
    QString text = qs(utf8);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

// The text limit counts CP932 bytes, which QLineEdit::setMaxLength cannot.
class Cp932Limit final : public QValidator {
public:
    Cp932Limit(int limit, QObject* parent) : QValidator(parent), limit_(limit) {}
    State validate(QString& input, int&) const override {
        return cp932Length(input.toStdString()) <= static_cast<std::size_t>(limit_) ? Acceptable
                                                                                    : Invalid;
    }

private:
    int limit_;
};

}  // namespace

// --- DialogWidget ---

void DialogWidget::keyPressEvent(QKeyEvent* event) {
    event->accept();
    if (!window)
        return;
    switch (event->key()) {
        case Qt::Key_Escape:
            return;  // does nothing anywhere in the program
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return window->pressDefault();
        case Qt::Key_F1:
            return window->help();
        case Qt::Key_F10:
            return window->openMenuBar();
        default:
            QWidget::keyPressEvent(event);
    }
}

void DialogWidget::closeEvent(QCloseEvent* event) {
    event->ignore();  // the dialog decides (OnClose)
    if (window)
        window->closeRequest();
}

bool DialogWidget::eventFilter(QObject* watched, QEvent* event) {
    if (!window)
        return false;
    auto* edit = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::KeyPress && qobject_cast<QRadioButton*>(watched))
        return window->radioKey(edit, static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        return window->filterKey(edit, static_cast<QKeyEvent*>(event));
    // no input-method text reaches a filtered field
    if (event->type() == QEvent::InputMethod)
        return window->isFiltered(edit);
    return false;
}

// --- QtWindow ---

QtWindow::QtWindow(Dialog& dialog, Dialog* parent, bool modal) : dialog_(dialog) {
    QWidget* parentWidget = nullptr;
    if (parent)
        if (auto* p = dynamic_cast<QtWindow*>(DialogEvents::peer(*parent)))
            parentWidget = p->widget();
    widget_ = new DialogWidget(parentWidget);
    guard_ = widget_;
    widget_->window = this;
    const Template& tpl = dialog.GetTemplate();

    Qt::WindowFlags flags = Qt::Dialog;
    if (tpl.style & kNoCaption) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::CustomizeWindowHint;
        if (tpl.style & kMinimizeBox)
            flags |= Qt::WindowMinimizeButtonHint;
    }
    widget_->setWindowFlags(flags);
    widget_->setWindowTitle(qs(tpl.caption));
    if (modal)
        widget_->setWindowModality(Qt::ApplicationModal);

    // the window is as large as its template says (in dialog units) and grows only as far as
    // its contents need; it shrinks again when a part of it hides
    auto* root = new QVBoxLayout(widget_);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->setSizeConstraint(QLayout::SetFixedSize);
    body_ = new QWidget(widget_);
    root->addWidget(body_);
    auto* column = new QVBoxLayout(body_);
    column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column->setSpacing(kSpacing);

    if (tpl.style & kNoCaption) {
        // a pop-up without a caption still gets its dialog frame
        auto* frame = new QFrame(body_);
        frame->setFrameShape(QFrame::Box);
        frame->setFrameShadow(QFrame::Raised);
        frame->setLineWidth(2);
        column->setContentsMargins(0, 0, 0, 0);
        column->addWidget(frame);
        auto* inner = new QVBoxLayout(frame);
        inner->setContentsMargins(24, 16, 24, 16);
        for (const Control& c : tpl.controls) inner->addWidget(build(c));
    } else {
        // the template's spare height goes to a multi-line pane, or below the contents
        bool paneTakesRoom = false;
        for (const Control& c : tpl.controls) {
            bool pane = holdsPane(c);
            column->addWidget(build(c), pane ? 1 : 0);
            paneTakesRoom = paneTakesRoom || pane;
        }
        if (!paneTakesRoom)
            column->addStretch(1);
    }

    if (!tpl.menu.empty()) {
        auto* bar = new QMenuBar(widget_);
        for (const MenuItem& pop : tpl.menu) {
            QMenu* menu = bar->addMenu(qs(pop.caption));
            for (const MenuItem& item : pop.items) {
                QAction* action = menu->addAction(qs(item.caption));
                int id = item.command;
                QObject::connect(action, &QAction::triggered, widget_, [w = widget_, id] {
                    if (w->window)
                        w->window->clicked(id);
                });
            }
        }
        root->setMenuBar(bar);
        menuBar_ = bar;
    }

    for (const Control* c : controlsWithIds(tpl)) {
        if (c->kind != ControlKind::Radio)
            continue;
        bool known = false;
        for (const auto& group : radioGroups_)
            known = known || std::find(group.begin(), group.end(), c->id) != group.end();
        if (!known)
            radioGroups_.push_back(radioGroup(tpl, c->id));
    }
    updateRadioTabStops();
    updateTemplateSize();
}

// A dialog unit is a quarter of the font's average character width and an eighth of its
// height. The template's size is the window's least size; a window with a part hidden (the
// shortened ones) keeps the width and takes the height its visible parts need. The caption
// must fit in the title bar beside the window's buttons.
void QtWindow::updateTemplateSize() {
    const Template& tpl = dialog_.GetTemplate();
    const QFontMetricsF metrics(widget_->font());
    const double baseX = metrics.horizontalAdvance(QStringLiteral(
                             "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                         52.0;
    const double baseY = metrics.height();
    int width = static_cast<int>(std::lround(tpl.width * baseX / 4));
    int height = static_cast<int>(std::lround(tpl.height * baseY / 8));
    bool shortened = false;
    for (const Control& c : tpl.controls)
        if (QWidget* w = control(c.id); w && !w->isVisibleTo(widget_))
            shortened = true;
    if (!(tpl.style & kNoCaption))
        width = std::max(width, titleBarWidth(metrics, widget_->windowTitle()));
    body_->setMinimumSize(width, shortened ? 0 : height);
}

QtWindow::~QtWindow() {
    if (!guard_)
        return;
    widget_->window = nullptr;
    widget_->hide();
    widget_->deleteLater();
}

QWidget* QtWindow::control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void QtWindow::show() {
    widget_->show();
    widget_->raise();
    widget_->activateWindow();
}

void QtWindow::setCaption(std::string_view utf8) {
    widget_->setWindowTitle(qs(utf8));
    updateTemplateSize();
}

void QtWindow::setText(int id, std::string_view utf8) {
    QWidget* w = control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(qs(utf8));
    else if (auto* pane = qobject_cast<QPlainTextEdit*>(w))
        pane->setPlainText(toPane(utf8));
    else if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(qs(utf8));
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(qs(utf8));
    else if (auto* group = qobject_cast<QGroupBox*>(w))
        group->setTitle(qs(utf8));
}

std::string QtWindow::text(int id) const {
    QWidget* w = control(id);
    QString text;
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        text = edit->text();
    else if (auto* pane = qobject_cast<QPlainTextEdit*>(w))
        text = pane->toPlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    else if (auto* label = qobject_cast<QLabel*>(w))
        text = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        text = button->text();
    else if (auto* list = qobject_cast<QComboBox*>(w))
        text = list->currentText();
    else if (auto* group = qobject_cast<QGroupBox*>(w))
        text = group->title();
    return text.toStdString();
}

void QtWindow::setLimit(int id, int maxBytes) {
    auto* edit = qobject_cast<QLineEdit*>(control(id));
    if (!edit)
        return;
    limits_[id] = maxBytes;
    delete edit->validator();
    edit->setValidator(maxBytes > 0 ? new Cp932Limit(maxBytes, edit) : nullptr);
}

void QtWindow::setChecked(int id, bool on) {
    auto* button = qobject_cast<QAbstractButton*>(control(id));
    if (button && button->isCheckable())
        button->setChecked(on);  // check boxes and radio buttons
    if (qobject_cast<QRadioButton*>(button))
        updateRadioTabStops();
}

bool QtWindow::checked(int id) const {
    auto* button = qobject_cast<QAbstractButton*>(control(id));
    return button && button->isChecked();
}

void QtWindow::setListIndex(int id, int index) {
    if (auto* list = qobject_cast<QComboBox*>(control(id)))
        list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

int QtWindow::listIndex(int id) const {
    auto* list = qobject_cast<QComboBox*>(control(id));
    return list ? list->currentIndex() : -1;
}

void QtWindow::setListItemNote(int id, int index, std::string_view utf8) {
    ListNoteDelegate::setNote(qobject_cast<QComboBox*>(control(id)), index, qs(utf8));
}

void QtWindow::setEnabled(int id, bool on) {
    if (QWidget* w = control(id)) {
        w->setEnabled(on);
        if (auto it = greysWith_.find(w); it != greysWith_.end())
            for (QWidget* text : it->second) text->setEnabled(on);
    }
    updateRadioTabStops();  // a disabled button is no Tab stop
}

bool QtWindow::enabled(int id) const {
    QWidget* w = control(id);
    return w && w->isEnabledTo(widget_) && widget_->isEnabled();
}

void QtWindow::setVisible(int id, bool show) {
    if (QWidget* w = control(id))
        w->setVisible(show);
    updateRadioTabStops();
    updateTemplateSize();
}

bool QtWindow::visible(int id) const {
    QWidget* w = control(id);
    return w && w->isVisibleTo(widget_);
}

void QtWindow::setWindowEnabled(bool on) {
    widget_->setEnabled(on);
}
bool QtWindow::windowEnabled() const {
    return widget_->isEnabled();
}

void QtWindow::activate() {
    widget_->raise();
    widget_->activateWindow();
}

void QtWindow::setFocus(int id) {
    if (QWidget* w = control(id))
        w->setFocus();
}

void QtWindow::lineScroll(int id, int lines) {
    if (auto* pane = qobject_cast<QPlainTextEdit*>(control(id)))
        pane->verticalScrollBar()->setValue(pane->verticalScrollBar()->value() + lines);
}

void QtWindow::clicked(int id) {
    DialogEvents::command(dialog_, id);
}

void QtWindow::radioClicked(int id) {
    for (int member : radioGroup(dialog_.GetTemplate(), id)) setChecked(member, member == id);
    DialogEvents::command(dialog_, id);
}

void QtWindow::updateRadioTabStops() {
    for (const auto& group : radioGroups_) {
        QWidget* stop = nullptr;
        for (int id : group) {
            QWidget* w = control(id);
            if (!w || !w->isEnabledTo(widget_) || !w->isVisibleTo(widget_))
                continue;
            if (!stop || checked(id)) {
                stop = w;
                if (checked(id))
                    break;
            }
        }
        for (int id : group)
            if (QWidget* w = control(id))
                w->setFocusPolicy(w == stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

bool QtWindow::radioKey(QWidget* radio, QKeyEvent* event) {
    int step = 0;
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            step = -1;
            break;
        case Qt::Key_Down:
        case Qt::Key_Right:
            step = 1;
            break;
        default:
            return false;
    }
    int id = radio->property(kIdProperty).toInt();
    std::vector<int> group = radioGroup(dialog_.GetTemplate(), id);
    auto at = std::find(group.begin(), group.end(), id);
    if (at == group.end())
        return false;
    // the next button that can take the focus, round the group
    const int n = static_cast<int>(group.size());
    int index = static_cast<int>(at - group.begin());
    for (int tries = 1; tries < n; ++tries) {
        int next = group[static_cast<std::size_t>(((index + step * tries) % n + n) % n)];
        QWidget* w = control(next);
        if (w && w->isEnabledTo(widget_) && w->isVisibleTo(widget_)) {
            w->setFocus(Qt::TabFocusReason);
            if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->isChecked())
                button->click();
            return true;
        }
    }
    return true;
}

void QtWindow::openMenuBar() {
    if (menuBar_ && !menuBar_->actions().isEmpty()) {
        menuBar_->setFocus(Qt::ShortcutFocusReason);
        QAction* first = menuBar_->actions().first();
        menuBar_->setActiveAction(first);  // opens its menu, with its first item ready
        if (QMenu* menu = first->menu(); menu && !menu->actions().isEmpty())
            menu->setActiveAction(menu->actions().first());
    }
}

void QtWindow::pressDefault() {
    // a focused button takes Enter itself, as the default button does from any other control
    if (auto* focused = qobject_cast<QPushButton*>(widget_->focusWidget())) {
        if (focused->window() == widget_ && focused->isEnabled())
            focused->click();
        return;
    }
    for (auto& [id, w] : controls_) {
        auto* button = qobject_cast<QPushButton*>(w);
        if (button && button->isDefault()) {
            if (button->isVisibleTo(widget_) && button->isEnabledTo(widget_))
                button->click();
            return;
        }
    }
}

bool QtWindow::isFiltered(QWidget* edit) const {
    int id = edit ? edit->property(kIdProperty).toInt() : 0;
    return id != 0 && DialogEvents::hasKeyFilter(dialog_, id);
}

void QtWindow::help() {
    DialogEvents::help(dialog_);
}

void QtWindow::closeRequest() {
    dialog_.PostClose();
}

bool QtWindow::filterKey(QWidget* edit, QKeyEvent* event) {
    int id = edit ? edit->property(kIdProperty).toInt() : 0;
    if (id == 0 || event->key() == Qt::Key_F1 || event->key() == Qt::Key_F10)
        return false;  // help and the menu bar work in every field
    if (DialogEvents::hasKeyFilter(dialog_, id)) {
        KeySequence seq = translateKey(*event);
        bool swallowed = false;
        for (std::size_t i = 0; i < seq.messages.size(); ++i) {
            bool s = DialogEvents::preTranslate(dialog_, id, seq.messages[i]);
            if (i == seq.keyIndex)
                swallowed = s;
        }
        if (swallowed)
            return true;
    }
    // a paste into a limited edit takes what fits, as a limited edit does
    auto* line = qobject_cast<QLineEdit*>(edit);
    auto limit = limits_.find(id);
    if (line && limit != limits_.end() && limit->second > 0 && event->type() == QEvent::KeyPress &&
        event->matches(QKeySequence::Paste)) {
        QString clip = QApplication::clipboard()->text();
        clip = clip.left(clip.indexOf(QLatin1Char('\n')) < 0 ? clip.size()
                                                             : clip.indexOf(QLatin1Char('\n')));
        std::size_t kept = cp932Length(line->text().toStdString()) -
                           cp932Length(line->selectedText().toStdString());
        int room = limit->second - static_cast<int>(kept);
        if (room > 0)
            line->insert(QString::fromStdString(fitToLimit(clip.toStdString(), room)));
        return true;
    }
    return false;
}

}  // namespace kx::ui::qt
