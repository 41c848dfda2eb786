// The Qt backend. The loop sleeps in Qt's event dispatcher; the layer's timers and posted
// calls are dispatched from Qt events (a timer for the next due time, a posted event for
// wake-ups), so they also run inside Qt's own loops, such as a message box's.

#include "ui/qt/QtBackend.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <atomic>
#include <clocale>
#include <map>
#include <memory>
#include <optional>

#include "ui/Backend.h"
#include "ui/Dialog.h"
#include "ui/qt/QtIcon.h"
#include "ui/qt/QtStyle.h"
#include "ui/qt/QtText.h"
#include "ui/qt/QtWindow.h"

namespace kx::ui::qt {
namespace {

// What a message box needs beside its text: the icon's column, the spacing and the margins.
constexpr int kIconColumn = 110;

const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::User + 0x4B58);

// Receives the wake-up events (posted from any thread) on the UI thread.
class WakeTarget final : public QObject {
public:
    std::atomic<bool> posted{false};

protected:
    bool event(QEvent* e) override {
        if (e->type() != kWakeEvent)
            return QObject::event(e);
        posted = false;
        loop::dispatchDue();
        return true;
    }
};

class QtBackend final : public Backend {
public:
    explicit QtBackend(std::unique_ptr<QApplication> app) : app_(std::move(app)) {
        dispatchTimer_.setSingleShot(true);
        dispatchTimer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&dispatchTimer_, &QTimer::timeout, [] { loop::dispatchDue(); });
    }

    ~QtBackend() override {
        notifiers_.clear();
        dispatchTimer_.stop();
        QCoreApplication::removePostedEvents(&wake_);
    }

    void wait(std::chrono::milliseconds timeout) override {
        if (timeout.count() <= 0) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            return;
        }
        QTimer limit;  // its time-out is the event that ends the wait at the latest
        limit.setSingleShot(true);
        limit.setTimerType(Qt::PreciseTimer);
        limit.start(static_cast<int>(timeout.count()));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    void interrupt() override {
        // one event in flight is enough, however often the reader thread wakes us
        if (!wake_.posted.exchange(true))
            QCoreApplication::postEvent(&wake_, new QEvent(kWakeEvent));
    }

    void timersChanged(Clock::time_point nextDue) override {
        if (nextDue == Clock::time_point::max()) {
            dispatchTimer_.stop();
            return;
        }
        auto ms = std::chrono::ceil<std::chrono::milliseconds>(nextDue - Clock::now()).count();
        dispatchTimer_.start(static_cast<int>(std::clamp<long long>(ms, 0, 3600 * 1000)));
    }

    void addWatch(int watchId, int fd) override {
        auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated,
                         [watchId] { loop::watchReadable(watchId); });
        notifiers_[watchId] = std::move(notifier);
    }

    void removeWatch(int watchId) override {
        auto it = notifiers_.find(watchId);
        if (it == notifiers_.end())
            return;
        // it may be inside its own signal: delete it from the loop
        it->second->setEnabled(false);
        it->second.release()->deleteLater();
        notifiers_.erase(it);
    }

    std::unique_ptr<WindowPeer> createWindow(Dialog& dialog, Dialog* parent, bool modal) override {
        return std::make_unique<QtWindow>(dialog, parent, modal);
    }

    int messageBox(const MessageBoxRequest& request) override {
        QWidget* owner = nullptr;
        if (request.owner)
            if (auto* w = dynamic_cast<QtWindow*>(DialogEvents::peer(*request.owner)))
                owner = w->widget();
        QMessageBox::Icon icon = request.icon == MsgIcon::Stop       ? QMessageBox::Critical
                                 : request.icon == MsgIcon::Question ? QMessageBox::Question
                                                                     : QMessageBox::NoIcon;
        QString text = qs(request.text);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        bool withCancel = request.buttons == MsgButtons::OkCancel;
        QMessageBox box(icon, qs(request.caption), text,
                        withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
                        owner);
        if (withCancel)
            box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
        box.setTextFormat(Qt::PlainText);
        // the box breaks its text only at the text's own line ends: Qt's box wraps lines that
        // pass a width of its own, which cuts a question in mid-word at large scales. A line
        // wider than the box can ever be (Qt's limit, from the screen's width) is wrapped to
        // it: held to its width, the box would cut the line's end off.
        if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            const QFontMetrics metrics = label->fontMetrics();
            int widest = 0;
            for (const QString& line : text.split(QLatin1Char('\n')))
                widest = std::max(widest, metrics.horizontalAdvance(line));
            // and wide enough for its caption in the title bar (less its icon's column)
            const int title = titleBarWidth(QFontMetricsF(label->font()), box.windowTitle()) - 70;
            const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
            const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
            const int boxLimit =
                screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
            label->setMinimumWidth(std::min(std::max(widest + 2 * label->margin() + 2, title),
                                            boxLimit - kIconColumn));
        }
        box.setDefaultButton(QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok ? IDOK : IDCANCEL;
    }

    std::optional<std::string> chooseFile(const FileRequest& request) override {
        QWidget* owner = nullptr;
        if (request.owner)
            if (auto* w = dynamic_cast<QtWindow*>(DialogEvents::peer(*request.owner)))
                owner = w->widget();
        const bool save = request.mode == FileMode::Save;
        // Qt's own chooser, in the program's language whatever the desktop's is
        QFileDialog chooser(owner, qs(request.caption), qs(request.folder), qs(request.filter));
        chooser.setOption(QFileDialog::DontUseNativeDialog);
        chooser.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        chooser.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        chooser.setDefaultSuffix(QStringLiteral("txt"));
        chooser.setLabelText(QFileDialog::LookIn, QStringLiteral("場所:"));
        chooser.setLabelText(QFileDialog::FileName, QStringLiteral("ファイル名:"));
        chooser.setLabelText(QFileDialog::FileType, QStringLiteral("ファイルの種類:"));
        chooser.setLabelText(QFileDialog::Accept,
                             save ? QStringLiteral("保存") : QStringLiteral("開く"));
        chooser.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
        // the question before a file is written over is asked here, in Japanese
        chooser.setOption(QFileDialog::DontConfirmOverwrite);
        if (save && !request.defaultName.empty())
            chooser.selectFile(qs(request.defaultName));
        for (;;) {
            if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
                return std::nullopt;
            const QString path = chooser.selectedFiles().front();
            if (!save || !QFileInfo::exists(path))
                return path.toStdString();
            QMessageBox ask(
                QMessageBox::Question, qs(request.caption),
                QFileInfo(path).fileName() + QStringLiteral(" は既にあります。\n置き換えますか？"),
                QMessageBox::Ok | QMessageBox::Cancel, &chooser);
            ask.button(QMessageBox::Ok)->setText(QStringLiteral("置き換える"));
            ask.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
            ask.setDefaultButton(QMessageBox::Cancel);
            if (ask.exec() == QMessageBox::Ok)
                return path.toStdString();
        }
    }

private:
    std::unique_ptr<QApplication> app_;  // null when the program made its own
    WakeTarget wake_;
    QTimer dispatchTimer_;
    std::map<int, std::unique_ptr<QSocketNotifier>> notifiers_;
};

}  // namespace

void install(int& argc, char** argv) {
    std::unique_ptr<QApplication> app;
    if (!QApplication::instance())
        app = std::make_unique<QApplication>(argc, argv);
    // Qt takes the desktop's locale for the C library too; numbers the program reads and
    // writes ("2.10" in the settings file, the rate estimates) keep the decimal point
    std::setlocale(LC_NUMERIC, "C");
    // Japanese captions need a CJK font whatever the desktop's default is
    QFont font(QStringLiteral("IPAGothic"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(9);  // the templates' font size
    QApplication::setFont(font);
    QApplication::setWindowIcon(programIcon());
    if (!dynamic_cast<ProgramStyle*>(QApplication::style()))
        QApplication::setStyle(new ProgramStyle);
    installBackend(std::make_unique<QtBackend>(std::move(app)));
}

bool saveWindowImage(const Dialog& dialog, const std::string& pngPath) {
    auto* window = dynamic_cast<QtWindow*>(DialogEvents::peer(dialog));
    if (!window)
        return false;
    QWidget* w = window->widget();
    w->adjustSize();
    return w->grab().save(QString::fromStdString(pngPath), "PNG");
}

}  // namespace kx::ui::qt
