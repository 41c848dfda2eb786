#include "app/qt/HelpBrowser.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

namespace kx {

struct HelpBrowser::Window {
    QTextBrowser browser;
};

HelpBrowser::HelpBrowser() = default;
HelpBrowser::~HelpBrowser() = default;

bool HelpBrowser::showPage(const std::string& path, std::string& error) {
    QFileInfo info(QString::fromStdString(path));
    if (!info.isReadable()) {
        error = path + " cannot be read";
        return false;
    }
    if (!window_) {
        window_ = std::make_unique<Window>();
        window_->browser.setWindowTitle(QStringLiteral("KESTRELX 設定ユーティリティ ヘルプ"));
        window_->browser.setOpenLinks(true);
        window_->browser.setOpenExternalLinks(false);
        window_->browser.resize(640, 560);
    }
    window_->browser.setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    window_->browser.show();
    window_->browser.raise();
    window_->browser.activateWindow();
    return true;
}

}  // namespace kx
