#include "ui/qt/QtIcon.h"

#include <QApplication>
#include <QFile>
#include <QStyle>

namespace kx::ui::qt {

QIcon programIcon() {
    static const QIcon icon = [] {
        QIcon drawn;
        for (int size : {16, 24, 32, 48, 64}) {
            QString file = QStringLiteral(":/kx/icons/kestrelx-setup-%1.png").arg(size);
            if (QFile::exists(file))
                drawn.addFile(file, QSize(size, size));
        }
        return drawn.isNull() ? QApplication::style()->standardIcon(QStyle::SP_ComputerIcon)
                              : drawn;
    }();
    return icon;
}

}  // namespace kx::ui::qt
