#include "ui/Dialog.h"

#include <algorithm>
#include <map>
#include <vector>

#include "link/Sjis.h"
#include "ui/Backend.h"
#include "ui/DataExchange.h"
#include "ui/TextCodec.h"

namespace kx::ui {

struct DialogFilters {
    std::map<int, KeyFilter*> byId;
};

namespace {

// The modal runs, innermost last.
std::vector<Dialog*>& modalStack() {
    static std::vector<Dialog*> stack;
    return stack;
}

}  // namespace

Dialog::Dialog(const Template& tpl)
    : tpl_(tpl),
      filters_(std::make_unique<DialogFilters>()),
      alive_(std::make_shared<bool>(true)) {}

Dialog::~Dialog() {
    *alive_ = false;
    auto& stack = modalStack();
    stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
    destroyWindowNow();
}

Dialog* Dialog::activeModal() {
    auto& stack = modalStack();
    return stack.empty() ? nullptr : stack.back();
}

bool Dialog::createWindow(Dialog* parent, bool modal) {
    if (peer_)
        return false;
    modal_ = modal;
    ended_ = false;
    result_ = IDCANCEL;
    static std::uint64_t runs = 0;
    run_ = ++runs;
    peer_ = backend().createWindow(*this, parent, modal);
    return peer_ != nullptr;
}

void Dialog::destroyWindowNow() {
    peer_.reset();
}

int Dialog::DoModal() {
    if (!createWindow(activeModal(), true))
        return IDCANCEL;
    modalStack().push_back(this);
    OnInitDialog();
    if (!ended_)
        peer_->show();
    while (!ended_) {
        loop::dispatchDue();
        if (ended_)
            break;
        backend().idle(*this, loop::nextTimerDue());
    }
    auto& stack = modalStack();
    stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
    destroyWindowNow();
    if (Dialog* below = activeModal(); below && below->peer_)
        below->peer_->activate();
    return result_;
}

bool Dialog::Create(Dialog* parent) {
    if (!createWindow(parent, false))
        return false;
    OnInitDialog();
    if (peer_)
        peer_->show();
    return true;
}

void Dialog::DestroyWindow() {
    destroyWindowNow();
}

void Dialog::EndDialog(int result) {
    result_ = result;
    ended_ = true;
    if (!modal_)
        destroyWindowNow();
    else if (hasBackend())
        backend().interrupt();
}

void Dialog::PostClose() {
    postCall([this, alive = alive_] {
        if (*alive && peer_)
            DialogEvents::close(*this);
    });
}

void Dialog::PostCommand(int id) {
    postCall([this, alive = alive_, id] {
        if (*alive && peer_)
            DialogEvents::command(*this, id);
    });
}

bool Dialog::UpdateData(bool saveAndValidate) {
    if (!peer_)
        return false;
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.failed();
}

void Dialog::SetDlgItemText(int id, std::string_view cp932) {
    if (peer_)
        peer_->setText(id, SjisToUtf8(cp932));
}

bool Dialog::GetDlgItemText(int id, int maxChars, std::string& cp932) const {
    cp932.clear();
    if (!peer_)
        return false;
    std::string utf8 = peer_->text(id);
    if (hasControlChar(utf8))
        return false;
    SjisEncoding encoded = Utf8ToSjis(utf8);
    if (!encoded.ok())
        return false;
    cp932 = cutCp932(encoded.bytes, static_cast<std::size_t>(std::max(maxChars, 0)));
    return true;
}

void Dialog::SetDlgItemInt(int id, int value) {
    SetDlgItemTextUtf8(id, std::to_string(value));
}

void Dialog::LimitText(int id, int maxBytes) {
    if (peer_)
        peer_->setLimit(id, std::max(maxBytes, 0));
}

void Dialog::SetDlgItemTextUtf8(int id, std::string_view utf8) {
    if (peer_)
        peer_->setText(id, utf8);
}

std::string Dialog::GetDlgItemTextUtf8(int id) const {
    return peer_ ? peer_->text(id) : std::string();
}

void Dialog::SetWindowText(std::string_view utf8) {
    if (peer_)
        peer_->setCaption(utf8);
}

void Dialog::CheckDlgButton(int id, bool checked) {
    if (peer_)
        peer_->setChecked(id, checked);
}

bool Dialog::IsDlgButtonChecked(int id) const {
    return peer_ && peer_->checked(id);
}

void Dialog::SetListIndex(int id, int index) {
    if (peer_)
        peer_->setListIndex(id, index);
}

int Dialog::GetListIndex(int id) const {
    return peer_ ? peer_->listIndex(id) : -1;
}

void Dialog::SetListItemNote(int id, int index, std::string_view utf8) {
    if (peer_)
        peer_->setListItemNote(id, index, utf8);
}

void Dialog::EnableControl(int id, bool on) {
    if (peer_)
        peer_->setEnabled(id, on);
}

bool Dialog::IsControlEnabled(int id) const {
    return peer_ && peer_->enabled(id);
}

void Dialog::ShowControl(int id, bool show) {
    if (peer_)
        peer_->setVisible(id, show);
}

bool Dialog::IsControlVisible(int id) const {
    return peer_ && peer_->visible(id);
}

void Dialog::EnableWindow(bool on) {
    if (peer_)
        peer_->setWindowEnabled(on);
}

bool Dialog::IsWindowEnabled() const {
    return peer_ && peer_->windowEnabled();
}

void Dialog::SetActiveWindow() {
    if (peer_)
        peer_->activate();
}

void Dialog::SetFocus(int id) {
    if (peer_)
        peer_->setFocus(id);
}

void Dialog::LineScroll(int id, int lines) {
    if (peer_)
        peer_->lineScroll(id, lines);
}

void Dialog::SetKeyFilter(int id, KeyFilter* filter) {
    if (filter)
        filters_->byId[id] = filter;
    else
        filters_->byId.erase(id);
}

KeyFilter* Dialog::keyFilter(int id) const {
    auto it = filters_->byId.find(id);
    return it == filters_->byId.end() ? nullptr : it->second;
}

bool Dialog::hasControl(int id) const {
    return findControl(tpl_, id) != nullptr;
}

bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void Dialog::OnOK() {
    if (UpdateData(true))
        EndDialog(IDOK);
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}
void Dialog::OnClose() {
    OnCancel();
}
void Dialog::OnCommand(int) {}
void Dialog::OnSelChange(int) {}
void Dialog::OnVScroll(int, int) {}
void Dialog::OnHelp() {}
void Dialog::DoDataExchange(DataExchange&) {}

// --- events from the windows ---

void DialogEvents::command(Dialog& dialog, int id) {
    if (id == IDOK)
        dialog.OnOK();
    else if (id == IDCANCEL)
        dialog.OnCancel();
    else
        dialog.OnCommand(id);
}

void DialogEvents::selChange(Dialog& dialog, int id) {
    dialog.OnSelChange(id);
}
void DialogEvents::vScroll(Dialog& dialog, int id, int code) {
    dialog.OnVScroll(id, code);
}
void DialogEvents::help(Dialog& dialog) {
    dialog.OnHelp();
}
void DialogEvents::close(Dialog& dialog) {
    dialog.OnClose();
}

bool DialogEvents::preTranslate(Dialog& dialog, int id, const KeyMessage& message) {
    KeyFilter* filter = dialog.keyFilter(id);
    return filter && filter->PreTranslateMessage(message);
}

bool DialogEvents::hasKeyFilter(const Dialog& dialog, int id) {
    return dialog.keyFilter(id) != nullptr;
}

WindowPeer* DialogEvents::peer(const Dialog& dialog) {
    return dialog.peer();
}

void DialogEvents::forceEnd(Dialog& dialog, int result) {
    dialog.EndDialog(result);
}

std::uint64_t DialogEvents::run(const Dialog& dialog) {
    return dialog.run_;
}

}  // namespace kx::ui
