#include "ui/qt/QtWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

#include "ui/Dialog.h"
#include "ui/TextCodec.h"
#include "ui/qt/QtKeys.h"
#include "ui/qt/QtListNotes.h"

namespace kx::ui::qt {
namespace {

constexpr char kIdProperty[] = "kxId";

QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
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

// Boxes and wrapping notes take the whole width of their cell (a note's height follows it).
bool isBox(const Control& c) {
    return c.kind == ControlKind::Group || c.kind == ControlKind::Grid ||
           c.kind == ControlKind::Row || c.kind == ControlKind::Column ||
           (c.kind == ControlKind::Static && (c.style & kWrap));
}

int charWidth(const QWidget* w) {
    return w->fontMetrics().horizontalAdvance(QLatin1Char('0'));
}

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

    auto* root = new QVBoxLayout(widget_);
    root->setContentsMargins(12, 10, 12, 10);
    root->setSpacing(8);
    root->setSizeConstraint(
        QLayout::SetFixedSize);  // sized by its contents; shrinks when a part hides

    if (tpl.style & kNoCaption) {
        // a pop-up without a caption still gets its dialog frame
        auto* frame = new QFrame(widget_);
        frame->setFrameShape(QFrame::Box);
        frame->setFrameShadow(QFrame::Raised);
        frame->setLineWidth(2);
        root->setContentsMargins(0, 0, 0, 0);
        root->addWidget(frame);
        auto* inner = new QVBoxLayout(frame);
        inner->setContentsMargins(24, 16, 24, 16);
        for (const Control& c : tpl.controls) inner->addWidget(build(c));
    } else {
        for (const Control& c : tpl.controls) root->addWidget(build(c));
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
    }
}

QtWindow::~QtWindow() {
    if (!guard_)
        return;
    widget_->window = nullptr;
    widget_->hide();
    widget_->deleteLater();
}

QWidget* QtWindow::bind(const Control& c, QWidget* w) {
    if (c.id != 0) {
        controls_[c.id] = w;
        w->setProperty(kIdProperty, c.id);
    }
    if (c.style & kHidden)
        w->setVisible(false);
    if (c.style & kDisabled)
        w->setEnabled(false);
    return w;
}

void QtWindow::fillGrid(QGridLayout* grid, const std::vector<Control>& children, int columns) {
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    if (columns <= 1) {
        // fields line up: labels in column 0, inputs in column 1
        int row = 0;
        for (const Control& child : children) {
            if (child.kind == ControlKind::Field && !child.children.empty()) {
                grid->addWidget(build(child.children.front()), row, 0,
                                Qt::AlignLeft | Qt::AlignVCenter);
                grid->addWidget(fieldInputs(child), row, 1, Qt::AlignLeft | Qt::AlignVCenter);
            } else if (isBox(child)) {
                grid->addWidget(build(child), row, 0, 1, 2);
            } else {
                grid->addWidget(build(child), row, 0, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
            }
            ++row;
        }
        grid->setColumnStretch(1, 1);
        grid->setRowStretch(row, 1);  // spare height goes below the contents
        return;
    }
    // boxes side by side take the full height of their row, so their frames line up
    for (std::size_t i = 0; i < children.size(); ++i) {
        int row = static_cast<int>(i) / columns;
        int col = static_cast<int>(i) % columns;
        // buttons in a grid share its columns' width
        if (isBox(children[i]) || children[i].kind == ControlKind::Button)
            grid->addWidget(build(children[i]), row, col);
        else
            grid->addWidget(build(children[i]), row, col, Qt::AlignLeft | Qt::AlignTop);
    }
    for (int col = 0; col < columns; ++col) grid->setColumnStretch(col, 1);
}

// The input of a field with what follows it (spin arrows, unit), side by side.
QWidget* QtWindow::fieldInputs(const Control& field) {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    for (std::size_t i = 1; i < field.children.size(); ++i)
        row->addWidget(build(field.children[i]));
    row->addStretch(1);
    return box;
}

QWidget* QtWindow::build(const Control& c) {
    switch (c.kind) {
        case ControlKind::Group: {
            auto* group = new QGroupBox(qs(c.caption));
            fillGrid(new QGridLayout(group), c.children, c.columns);
            return bind(c, group);
        }
        case ControlKind::Grid: {
            auto* box = new QWidget;
            auto* grid = new QGridLayout(box);
            grid->setContentsMargins(0, 0, 0, 0);
            fillGrid(grid, c.children, c.columns);
            return bind(c, box);
        }
        case ControlKind::Column: {
            auto* box = new QWidget;
            if (c.style & kHorizontal) {
                auto* row = new QHBoxLayout(box);
                row->setContentsMargins(0, 0, 0, 0);
                row->setSpacing(16);
                for (const Control& child : c.children) row->addWidget(build(child));
                row->addStretch(1);
            } else {
                auto* grid = new QGridLayout(box);
                grid->setContentsMargins(0, 0, 0, 0);
                fillGrid(grid, c.children, 1);
            }
            return bind(c, box);
        }
        case ControlKind::Row: {
            auto* box = new QWidget;
            auto* row = new QHBoxLayout(box);
            row->setContentsMargins(0, 0, 0, 0);
            row->setSpacing(c.style & kButtonRow ? 8 : 12);
            if (c.style & kButtonRow)
                row->addStretch(1);
            for (const Control& child : c.children) row->addWidget(build(child), 0, Qt::AlignTop);
            return bind(c, box);
        }
        case ControlKind::Field: {
            auto* box = new QWidget;
            auto* row = new QHBoxLayout(box);
            row->setContentsMargins(0, 0, 0, 0);
            row->setSpacing(8);
            if (!c.children.empty())
                row->addWidget(build(c.children.front()));
            row->addWidget(fieldInputs(c), 1);
            return bind(c, box);
        }
        case ControlKind::Static: {
            auto* label = new QLabel(qs(c.caption));
            label->setTextFormat(Qt::PlainText);
            if (c.style & kCentred)
                label->setAlignment(Qt::AlignCenter);
            if (c.style & kWrap) {
                label->setWordWrap(true);
                label->setMinimumWidth(charWidth(label) * 36);
            }
            return bind(c, label);
        }
        case ControlKind::Icon: {
            auto* label = new QLabel;
            label->setPixmap(
                QApplication::style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
            label->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
            return bind(c, label);
        }
        case ControlKind::Edit: {
            if (c.style & kMultiLine) {
                auto* pane = new QPlainTextEdit(qs(c.caption));
                pane->setReadOnly(c.style & kReadOnly);
                pane->setLineWrapMode(QPlainTextEdit::NoWrap);
                int lines = c.lines > 0 ? c.lines : 4;
                pane->setFixedHeight(pane->fontMetrics().lineSpacing() * lines + 12);
                pane->setMinimumWidth(charWidth(pane) * (c.widthChars > 0 ? c.widthChars : 40));
                return bind(c, pane);
            }
            auto* edit = new QLineEdit(qs(c.caption));
            if (c.style & kPassword)
                edit->setEchoMode(QLineEdit::Password);
            if (c.style & kReadOnly)
                edit->setReadOnly(true);
            edit->setFixedWidth(charWidth(edit) * (c.widthChars > 0 ? c.widthChars : 20) + 12);
            edit->installEventFilter(widget_);
            if (DialogEvents::hasKeyFilter(dialog_, c.id))
                edit->setAttribute(Qt::WA_InputMethodEnabled, false);
            return bind(c, edit);
        }
        case ControlKind::Button: {
            auto* button = new QPushButton(qs(c.caption));
            button->setAutoDefault(false);
            button->setDefault(c.style & kDefault);
            button->setMinimumWidth(std::max(button->sizeHint().width(), charWidth(button) * 10));
            int id = c.id;
            QObject::connect(button, &QPushButton::clicked, widget_, [w = widget_, id] {
                if (w->window)
                    w->window->clicked(id);
            });
            return bind(c, button);
        }
        case ControlKind::Check: {
            auto* box = new QCheckBox(qs(c.caption));
            int id = c.id;
            QObject::connect(box, &QCheckBox::clicked, widget_, [w = widget_, id] {
                if (w->window)
                    w->window->clicked(id);
            });
            return bind(c, box);
        }
        case ControlKind::Radio: {
            auto* radio = new QRadioButton(qs(c.caption));
            radio->setAutoExclusive(
                false);  // groups follow the template, and may have none checked
            int id = c.id;
            QObject::connect(radio, &QRadioButton::clicked, widget_, [w = widget_, id] {
                if (w->window)
                    w->window->radioClicked(id);
            });
            return bind(c, radio);
        }
        case ControlKind::List: {
            auto* list = new QComboBox;
            for (const std::string& item : c.items) list->addItem(qs(item));
            list->setCurrentIndex(-1);
            list->setMinimumContentsLength(c.widthChars > 0 ? c.widthChars : 8);
            list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            list->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
            int id = c.id;
            QObject::connect(list, &QComboBox::activated, widget_, [w = widget_, id] {
                if (w->window)
                    DialogEvents::selChange(w->window->dialog_, id);
            });
            return bind(c, list);
        }
        case ControlKind::Spin: {
            auto* box = new QWidget;
            auto* column = new QVBoxLayout(box);
            column->setContentsMargins(0, 0, 0, 0);
            column->setSpacing(0);
            int id = c.id;
            for (int code : {kScrollLineUp, kScrollLineDown}) {
                auto* arrow = new QToolButton;
                arrow->setArrowType(code == kScrollLineUp ? Qt::UpArrow : Qt::DownArrow);
                arrow->setFixedSize(18, 12);
                arrow->setAutoRepeat(true);
                arrow->setFocusPolicy(Qt::NoFocus);
                QObject::connect(arrow, &QToolButton::clicked, widget_, [w = widget_, id, code] {
                    if (w->window)
                        DialogEvents::vScroll(w->window->dialog_, id, code);
                });
                column->addWidget(arrow);
            }
            return bind(c, box);
        }
    }
    return new QWidget;
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
    if (QWidget* w = control(id))
        w->setEnabled(on);
}

bool QtWindow::enabled(int id) const {
    QWidget* w = control(id);
    return w && w->isEnabledTo(widget_) && widget_->isEnabled();
}

void QtWindow::setVisible(int id, bool show) {
    if (QWidget* w = control(id))
        w->setVisible(show);
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

void QtWindow::pressDefault() {
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
    if (id == 0 || event->key() == Qt::Key_F1)
        return false;  // help works in every field
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
