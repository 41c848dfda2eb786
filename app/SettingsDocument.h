#pragma once

// The settings documents the main window writes (a saved document, the pre-change history):
// the document kxctl backup writes, with the same names and format. They are made by kxctl's
// document code over the registry of areas, which the program installs here at start
// (cli::installSettingsDocuments()), so the main window writes documents without knowing an
// area or a field.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/services/AreaContext.h"

namespace kx {

// An area a document can hold, as the main window shows it.
struct DocumentArea {
    std::string name;   // kxctl's area name, "analog"
    std::string title;  // "アナログ設定"
    int command = 0;    // the main-window button whose read reads the whole area
};

struct SettingsDocuments {
    // The areas of this variant (the router's with `router`), in the registry's order.
    std::function<std::vector<DocumentArea>(bool router)> areas;
    // Reads `areas` (names) one by one over `context`, calling `before(i)` before each, and
    // returns the document with `header`, the items whose labels the replies lacked left out.
    // Nullopt when a read fails, with `failed` its index.
    std::function<std::optional<std::string>(
        AreaContext& context, const std::vector<std::string>& areas,
        const std::vector<std::string>& header, const std::function<void(std::size_t)>& before,
        std::size_t& failed)>
        read;
    // The document of what the main window's reads left in the areas' own copies.
    std::function<std::string(const std::vector<std::string>& areas,
                              const std::vector<std::string>& header)>
        copies;
};

void setSettingsDocuments(SettingsDocuments documents);
const SettingsDocuments& settingsDocuments();

}  // namespace kx
