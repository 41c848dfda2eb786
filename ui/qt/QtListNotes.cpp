#include "ui/qt/QtListNotes.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPainter>

namespace kx::ui::qt {

namespace {
constexpr int kNoteGap = 16;  // pixels between an item's text and its note
}

void ListNoteDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    const QString note = index.data(kNoteRole).toString();
    if (note.isEmpty())
        return;
    painter->save();
    const QPalette::ColorGroup group =
        (option.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    const bool selected = option.state & QStyle::State_Selected;
    QColor color =
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    color.setAlphaF(selected ? 0.85 : 0.55);
    painter->setPen(color);
    const QRect area = option.rect.adjusted(0, 0, -6, 0);
    painter->drawText(area, Qt::AlignRight | Qt::AlignVCenter, note);
    painter->restore();
}

QSize ListNoteDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const QString note = index.data(kNoteRole).toString();
    if (!note.isEmpty())
        size.rwidth() += kNoteGap + option.fontMetrics.horizontalAdvance(note) + 6;
    return size;
}

void ListNoteDelegate::setNote(QComboBox* list, int index, const QString& note) {
    if (!list || index < 0 || index >= list->count())
        return;
    if (!dynamic_cast<ListNoteDelegate*>(list->itemDelegate()))
        list->setItemDelegate(new ListNoteDelegate(list));
    list->setItemData(index, note, kNoteRole);
    // the open list is as wide as its widest item with its note
    int widest = 0;
    const QFontMetrics metrics = list->fontMetrics();
    for (int i = 0; i < list->count(); ++i) {
        const QString itemNote = list->itemData(i, kNoteRole).toString();
        int width = metrics.horizontalAdvance(list->itemText(i));
        if (!itemNote.isEmpty())
            width += kNoteGap + metrics.horizontalAdvance(itemNote);
        widest = std::max(widest, width);
    }
    list->view()->setMinimumWidth(widest + 40);
}

}  // namespace kx::ui::qt
