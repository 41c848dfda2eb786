#pragma once

// The help window: one top-level window, reused for every page, that follows the links between
// the pages and goes back along them. The dialogs that ask for help are modal; the help window
// stays usable while they run (it attaches itself to whichever modal window is on top, which
// the modality lets through), and it opens in front of them, beside the dialog.

#include <QPointer>
#include <QWidget>
#include <string>

class QPushButton;
class QTextBrowser;
class QWindow;

namespace kx::ui::qt {

class HelpWindow final : public QWidget {
public:
    HelpWindow();

    // Shows the page (a local HTML file) and brings the window to the front. False with `error`
    // set when the file cannot be read.
    bool showPage(const std::string& path, std::string& error);

    QTextBrowser* browser() const { return browser_; }

protected:
    bool event(QEvent* event) override;

private:
    void followModality();
    void placeBesideActiveDialog();
    void keepDialogButtonsInSight();

    QTextBrowser* browser_;
    QPushButton* back_;
    QPointer<QWindow> owner_;  // the modal window the help window is attached to
};

}  // namespace kx::ui::qt
