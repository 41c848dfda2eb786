// Building a dialog's widgets from its template: a grid of fields, boxes and buttons, each
// control bound to its id.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/Dialog.h"
#include "ui/qt/QtIcon.h"
#include "ui/qt/QtListNotes.h"
#include "ui/qt/QtText.h"
#include "ui/qt/QtWindow.h"

namespace kx::ui::qt {
namespace {

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
            label->setPixmap(programIcon().pixmap(32, 32));
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
            radio->installEventFilter(widget_);
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

}  // namespace kx::ui::qt
