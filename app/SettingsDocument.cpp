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

std::vector<std::string>& lastRestorePreview() {
    static std::vector<std::string> lines;
    return lines;
}

}  // namespace kx
