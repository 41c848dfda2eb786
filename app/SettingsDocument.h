#pragma once

// The settings documents the main window writes (a saved document, the pre-change history):
// the document kxctl backup writes, with the same names and format. They are made by kxctl's
// document code over the registry of areas, which the program installs here at start
// (cli::installSettingsDocuments()), so the main window writes documents without knowing an
// area or a field.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/services/AreaContext.h"

namespace kx {

// An area a document can hold, as the main window shows it.
struct DocumentArea {
    std::string name;   // kxctl's area name, "analog"
    std::string title;  // "アナログ設定"
    int command = 0;    // the main-window button whose read reads the whole area
};

// One item a restore would change, as the preview shows it.
struct RestoreChange {
    std::string label;     // the item's name as the user knows it
    std::string adapter;   // what the adapter holds (a password masked)
    std::string document;  // what the document gives (a password masked)
    // only the serial link writes it: the writers leave it out over the network link
    bool skipped = false;
};

// A settings document on its way to the adapter: checked line by line when made, then read,
// checked against what was read, and written.
class DocumentRestore {
public:
    virtual ~DocumentRestore() = default;
    // The areas the document names, in the registry's order.
    virtual const std::vector<std::string>& areas() const = 0;
    // Reads the areas over `context`, calling `before(i)` before each. False when a read
    // fails, with `failed` its index.
    virtual bool read(AreaContext& context, const std::function<void(std::size_t)>& before,
                      std::size_t& failed) = 0;
    // The checks that need the adapter's values; nullopt when the document can be written,
    // else why not ("行: 理由" when it is about one line). Fills what the preview shows.
    virtual std::optional<std::string> check(bool overNetwork) = 0;
    virtual const std::vector<RestoreChange>& changes() const = 0;
    // Whether the router's own address changes (the adapter then restarts).
    virtual bool addressChanges() const = 0;
    // The document of what was read, for the history.
    virtual std::string snapshot(const std::vector<std::string>& header) const = 0;
    // Writes what differs with the areas' writers, stopping at the first failure. `sent`
    // counts the acknowledged commands, `failed` names the one that failed.
    virtual bool write(AreaContext& context, std::size_t& sent, std::string& failed) = 0;
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
    // The document `text` checked line by line; null with `error` ("行: 理由") when a line is
    // bad. `name` is the file's name as messages show it.
    std::function<std::unique_ptr<DocumentRestore>(std::string_view text, std::string& error)>
        restore;
};

// The lines the last restore preview listed, one per item (tests look at them).
std::vector<std::string>& lastRestorePreview();

void setSettingsDocuments(SettingsDocuments documents);
const SettingsDocuments& settingsDocuments();

}  // namespace kx
