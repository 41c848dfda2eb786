#pragma once

#include <QStyledItemDelegate>

class QComboBox;

namespace kx::ui::qt {

// Draws an item's note (e.g. the device behind "COM1") dimmed at the right of the open list.
// The item's own text is what the closed list shows and what the program reads.
class ListNoteDelegate final : public QStyledItemDelegate {
public:
    static constexpr int kNoteRole = Qt::UserRole + 1;

    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Sets the note of item `index` of `list`, giving the list this delegate when it has none.
    static void setNote(QComboBox* list, int index, const QString& note);
};

}  // namespace kx::ui::qt
