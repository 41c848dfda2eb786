#pragma once

#include <QFontMetricsF>
#include <QProxyStyle>

namespace kx::ui::qt {

// The desktop's style with what the program's users expect of a dialog: the focused button
// carries a dotted focus frame (distinct from the default button's mark), the menu bar is
// reached with Alt, and message-box buttons carry no icons.
class ProgramStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};

// The width a title bar needs for `caption`: window managers set it in a bold face, a little
// wider than the dialogs' font, beside the window's icon and its three buttons.
int titleBarWidth(const QFontMetricsF& metrics, const QString& caption);

}  // namespace kx::ui::qt
