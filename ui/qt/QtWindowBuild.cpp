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
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

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

// A button's least width: 50 dialog units, as the dialogs' buttons are, or its caption with a
// blank's width of room on either side.
int buttonWidth(const QPushButton* button) {
    const QFontMetrics metrics = button->fontMetrics();
    const int unitsWide = metrics.horizontalAdvance(QStringLiteral(
                              "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) *
                          50 / (52 * 4);
    const int padded = metrics.horizontalAdvance(button->text()) + 2 * metrics.height();
    return std::max(unitsWide, padded);
}

// A label with a text and the empty labels that may follow it in a table's heading row.
bool isHeading(const Control& c) {
    return c.kind == ControlKind::Static && c.id == 0 && !c.caption.empty() && !(c.style & kWrap);
}
bool isEmptyLabel(const Control& c) {
    return c.kind == ControlKind::Static && c.id == 0 && c.caption.empty();
}

// A text set at run time beside a field's input (the device of a COM port): it takes the
// room the dialog has and never widens it; a longer text is shortened in the middle, with the
// whole text as its tip.
class RoomText final : public QLabel {
public:
    RoomText() { setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred); }
    QSize sizeHint() const override { return {charWidth(this) * 22, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QString whole = text();
        const QString shown = fontMetrics().elidedText(whole, Qt::ElideMiddle, width());
        setToolTip(shown == whole ? QString() : whole);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, shown);
    }
};

// A wrapping note that begins with "・" hangs its further lines under the text after it.
QWidget* hangingNote(const QString& text) {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto* bullet = new QLabel(text.left(1));
    auto* rest = new QLabel(text.mid(1));
    for (QLabel* label : {bullet, rest}) label->setTextFormat(Qt::PlainText);
    rest->setWordWrap(true);
    rest->setMinimumWidth(charWidth(rest) * 36);
    row->addWidget(bullet, 0, Qt::AlignTop);
    row->addWidget(rest, 1);
    return box;
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
    grid->setVerticalSpacing(columns > 1 ? 8 : 6);  // a table's rows keep apart
    if (columns <= 1) {
        // fields line up: labels in column 0, inputs in column 1
        int row = 0;
        int paneRow = -1;
        std::vector<QWidget*> spinEdits;
        for (const Control& child : children) {
            if (child.kind == ControlKind::Field && !child.children.empty()) {
                grid->addWidget(build(child.children.front()), row, 0,
                                Qt::AlignLeft | Qt::AlignVCenter);
                grid->addWidget(fieldInputs(child), row, 1, Qt::AlignLeft | Qt::AlignVCenter);
                if (child.children.size() >= 3 && child.children[1].kind == ControlKind::Edit &&
                    child.children[2].kind == ControlKind::Spin)
                    if (QWidget* edit = control(child.children[1].id))
                        spinEdits.push_back(edit);
            } else if (isBox(child)) {
                grid->addWidget(build(child), row, 0, 1, 2);
            } else if (child.kind == ControlKind::Edit && (child.style & kMultiLine)) {
                grid->addWidget(build(child), row, 0, 1, 2);  // a pane fills its box
                paneRow = row;
            } else {
                grid->addWidget(build(child), row, 0, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
            }
            ++row;
        }
        // the arrows and units of the number fields stacked in one box stand in one column
        int widest = 0;
        for (QWidget* edit : spinEdits) widest = std::max(widest, edit->width());
        for (QWidget* edit : spinEdits) edit->setFixedWidth(widest);
        grid->setColumnStretch(1, 1);
        // spare height goes to a pane, or below the contents
        grid->setRowStretch(paneRow >= 0 ? paneRow : row, 1);
        return;
    }
    // boxes side by side take the full height of their row, so their frames line up; the other
    // cells stand centred on their row, as a table's labels beside its fields
    for (std::size_t i = 0; i < children.size(); ++i) {
        int row = static_cast<int>(i) / columns;
        int col = static_cast<int>(i) % columns;
        // a heading spans the empty heading cells after it ("着信順位" over its columns)
        int span = 1;
        if (isHeading(children[i]))
            while (col + span < columns && i + span < children.size() &&
                   isEmptyLabel(children[i + span]))
                ++span;
        // buttons in a grid share its columns' width
        if (isBox(children[i]) || children[i].kind == ControlKind::Button)
            grid->addWidget(build(children[i]), row, col, 1, span);
        else
            grid->addWidget(build(children[i]), row, col, 1, span,
                            Qt::AlignLeft | Qt::AlignVCenter);
        i += static_cast<std::size_t>(span - 1);
    }
    for (int col = 0; col < columns; ++col) grid->setColumnStretch(col, 1);
}

// The input of a field with what follows it (spin arrows, unit), side by side.
QWidget* QtWindow::fieldInputs(const Control& field) {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    QWidget* input = nullptr;
    bool roomText = false;
    for (std::size_t i = 1; i < field.children.size(); ++i) {
        const Control& c = field.children[i];
        if (i > 1 && c.kind == ControlKind::Static && c.id != 0 && !(c.style & kWrap)) {
            // the text that follows the input greys with it
            auto* text = new RoomText;
            text->setText(qs(c.caption));
            row->addWidget(bind(c, text), 1);
            if (input)
                greysWith_[input].push_back(text);
            roomText = true;
            continue;
        }
        QWidget* w = build(c);
        if (i == 1)
            input = w;
        row->addWidget(w);
    }
    if (!roomText)
        row->addStretch(1);
    return box;
}

QWidget* QtWindow::build(const Control& c) {
    switch (c.kind) {
        case ControlKind::Group: {
            auto* group = new QGroupBox(qs(c.caption));
            auto* grid = new QGridLayout(group);
            grid->setContentsMargins(8, 6, 8, 6);
            fillGrid(grid, c.children, c.columns);
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
                row->setSpacing(12);
                for (const Control& child : c.children) row->addWidget(build(child));
                row->addStretch(1);
            } else {
                auto* grid = new QGridLayout(box);
                grid->setContentsMargins(0, 0, 0, 0);
                fillGrid(grid, c.children, 1);
                // the lines of a label in two parts read as one label
                if (std::all_of(c.children.begin(), c.children.end(), [](const Control& child) {
                        return child.kind == ControlKind::Static && !(child.style & kWrap);
                    }))
                    grid->setVerticalSpacing(0);
            }
            return bind(c, box);
        }
        case ControlKind::Row: {
            auto* box = new QWidget;
            auto* row = new QHBoxLayout(box);
            row->setContentsMargins(0, 0, 0, 0);
            row->setSpacing(c.style & kButtonRow ? 6 : 10);
            if (c.style & kButtonRow)
                row->addStretch(1);
            for (const Control& child : c.children) {
                QWidget* w = build(child);
                // the dialog's buttons keep their width, right-aligned
                if (auto* button = qobject_cast<QPushButton*>(w); button && (c.style & kButtonRow))
                    button->setFixedWidth(buttonWidth(button));
                row->addWidget(w, 0, Qt::AlignTop);
            }
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
            if ((c.style & kWrap) && c.id == 0 && qs(c.caption).startsWith(QChar(0x30FB)))
                return bind(c, hangingNote(qs(c.caption)));
            auto* label = new QLabel(qs(c.caption));
            label->setTextFormat(Qt::PlainText);
            if (c.style & kCentred)
                label->setAlignment(Qt::AlignCenter);
            if (c.style & kWrap) {
                label->setWordWrap(true);
                label->setMinimumWidth(charWidth(label) * 36);
                // a line set at run time (a status) keeps its room while it is empty
                if (c.id != 0)
                    label->setMinimumHeight(label->fontMetrics().lineSpacing());
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
                pane->setMinimumHeight(pane->fontMetrics().lineSpacing() * lines + 12);
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
            button->setMinimumWidth(buttonWidth(button));
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
