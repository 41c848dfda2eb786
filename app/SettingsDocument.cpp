#include "app/SettingsDocument.h"

namespace kx {

namespace {

SettingsDocumentFn& stored() {
    static SettingsDocumentFn make;
    return make;
}

}  // namespace

void setSettingsDocument(SettingsDocumentFn make) {
    stored() = std::move(make);
}

const SettingsDocumentFn& settingsDocument() {
    return stored();
}

}  // namespace kx
