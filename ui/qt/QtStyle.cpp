#include "ui/qt/QtStyle.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <cmath>

namespace kx::ui::qt {

int ProgramStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const {
    switch (hint) {
        case SH_DialogButtonBox_ButtonsHaveIcons:
            return 0;
        case SH_MenuBar_AltKeyNavigation:
            return 1;
        default:
            return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

void ProgramStyle::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element != CE_PushButton || !(option->state & State_HasFocus))
        return;
    // a dotted frame inside the button's edge, as the keyboard's place
    painter->save();
    QPen pen(option->palette.color(QPalette::ButtonText));
    pen.setStyle(Qt::DotLine);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option->rect.adjusted(4, 4, -5, -5));
    painter->restore();
}

int titleBarWidth(const QFontMetricsF& metrics, const QString& caption) {
    return static_cast<int>(
        std::ceil(metrics.horizontalAdvance(caption) * 1.15 + 8 * metrics.height() + 24));
}

}  // namespace kx::ui::qt
