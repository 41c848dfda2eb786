#pragma once

// A dialog's window in Qt: a QDialog built from the template, with the widgets bound to the
// control ids. Widget events become the layer's messages (DialogEvents).

#include <QDialog>
#include <QPointer>
#include <map>
#include <memory>
#include <vector>

#include "ui/Backend.h"

class QGridLayout;
class QKeyEvent;
class QMenuBar;
class QWidget;

namespace kx::ui::qt {

class QtWindow;

// The QDialog itself. Outlives its QtWindow by a moment (deleted later, since a window may be
// destroyed from inside one of its own handlers); `window` is null from then on.
class DialogWidget final : public QDialog {
public:
    explicit DialogWidget(QWidget* parent) : QDialog(parent) {}
    QtWindow* window = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class QtWindow final : public WindowPeer {
public:
    QtWindow(Dialog& dialog, Dialog* parent, bool modal);
    ~QtWindow() override;

    void show() override;
    void setCaption(std::string_view utf8) override;
    void setText(int id, std::string_view utf8) override;
    std::string text(int id) const override;
    void setLimit(int id, int maxBytes) override;
    void setChecked(int id, bool checked) override;
    bool checked(int id) const override;
    void setListIndex(int id, int index) override;
    int listIndex(int id) const override;
    void setListItemNote(int id, int index, std::string_view utf8) override;
    void setEnabled(int id, bool on) override;
    bool enabled(int id) const override;
    void setVisible(int id, bool show) override;
    bool visible(int id) const override;
    void setWindowEnabled(bool on) override;
    bool windowEnabled() const override;
    void activate() override;
    void setFocus(int id) override;
    void lineScroll(int id, int lines) override;

    DialogWidget* widget() const { return widget_; }
    QWidget* control(int id) const;

    // From the widgets.
    void clicked(int id);
    void radioClicked(int id);
    void pressDefault();
    void help();
    void closeRequest();
    // true: the key event is swallowed (the control's pre-filter, or a limited paste).
    bool filterKey(QWidget* edit, QKeyEvent* event);
    bool isFiltered(QWidget* edit) const;
    // The arrow keys on a radio button move to the group's next (or previous) button and check
    // it. true: the key was used.
    bool radioKey(QWidget* radio, QKeyEvent* event);
    void openMenuBar();

private:
    QWidget* build(const Control& c);
    QWidget* buildField(const Control& c, QWidget* parentForLabel);
    QWidget* fieldInputs(const Control& c);
    void fillGrid(QGridLayout* grid, const std::vector<Control>& children, int columns);
    QWidget* bind(const Control& c, QWidget* w);
    // A radio group is one Tab stop: its checked button, or its first one that can take the
    // focus when none is checked.
    void updateRadioTabStops();
    void updateTemplateSize();

    std::vector<std::vector<int>> radioGroups_;
    QMenuBar* menuBar_ = nullptr;
    QWidget* body_ = nullptr;                              // everything below the menu bar
    std::map<QWidget*, std::vector<QWidget*>> greysWith_;  // an input and the texts beside it

    Dialog& dialog_;
    DialogWidget* widget_;
    QPointer<DialogWidget> guard_;  // null once Qt deleted the widget with its parent
    std::map<int, QWidget*> controls_;
    std::map<int, int> limits_;
};

}  // namespace kx::ui::qt
