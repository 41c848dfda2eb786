// The program's settings documents (a saved document, the pre-change history), written by the
// document code of kxctl over the registry of areas.
#include <algorithm>

#include "app/SettingsDocument.h"
#include "app/program/AllAreas.h"
#include "cli/Document.h"
#include "cli/Session.h"

namespace kx::cli {

namespace {

bool named(const std::vector<std::string>& areas, std::string_view name) {
    return std::find(areas.begin(), areas.end(), name) != areas.end();
}

std::vector<DocumentArea> documentAreas(bool router) {
    std::vector<DocumentArea> out;
    for (const area::AreaModule* module : allModules()) {
        if (module->routerOnly && !router)
            continue;
        const area::AreaEntry& entry = module->entries.front();
        out.push_back({std::string(module->name), entry.texts.title, entry.command});
    }
    return out;
}

std::optional<std::string> readDocument(AreaContext& context, const std::vector<std::string>& areas,
                                        const std::vector<std::string>& header,
                                        const std::function<void(std::size_t)>& before,
                                        std::size_t& failed) {
    // read into records of the document's own, as kxctl backup does: each label a reply lacked
    // is told by the address of its member there
    Records records;
    MissingFields missing;
    const std::span<const area::AreaModule* const> modules = allModules();
    std::size_t index = 0;
    for (std::size_t i = 0; i < modules.size(); ++i) {
        const area::AreaModule& module = *modules[i];
        if (!named(areas, module.name))
            continue;
        if (before)
            before(index);
        records.areas[i] = module.blank();
        std::vector<const void*> lacking;
        context.missingLabel = [&lacking](const void* member) { lacking.push_back(member); };
        const int result = module.read(context, records.areas[i]);
        context.missingLabel = nullptr;
        if (result != 1) {
            failed = index;
            return std::nullopt;
        }
        for (const Field& field : allFields()) {
            if (field.module != i)
                continue;
            const void* member = field.isText() ? static_cast<const void*>(field.text(records))
                                                : static_cast<const void*>(field.number(records));
            if (std::find(lacking.begin(), lacking.end(), member) != lacking.end())
                missing.insert(&field);
        }
        ++index;
    }
    return writeDocument(records, areas, header, missing);
}

std::string copiesDocument(const std::vector<std::string>& areas,
                           const std::vector<std::string>& header) {
    Records records;
    const std::span<const area::AreaModule* const> modules = allModules();
    for (std::size_t i = 0; i < modules.size(); ++i)
        if (named(areas, modules[i]->name))
            records.areas[i] = modules[i]->snapshot();
    return writeDocument(records, areas, header);
}

}  // namespace

void installSettingsDocuments() {
    setSettingsDocuments({documentAreas, readDocument, copiesDocument});
}

}  // namespace kx::cli
