#include "app/SettingsDocument.h"

namespace kx {

namespace {

SettingsDocuments& stored() {
    static SettingsDocuments documents;
    return documents;
}

}  // namespace

void setSettingsDocuments(SettingsDocuments documents) {
    stored() = std::move(documents);
}

const SettingsDocuments& settingsDocuments() {
    return stored();
}

}  // namespace kx
