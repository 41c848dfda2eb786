// The program's settings documents (a saved document, the pre-change history, a restore),
// written and checked by the document code of kxctl over the registry of areas.
#include <algorithm>

#include "app/SettingsDocument.h"
#include "app/program/AllAreas.h"
#include "cli/Document.h"
#include "cli/Session.h"
#include "link/Exchange.h"

namespace kx::cli {

namespace {

bool named(const std::vector<std::string>& areas, std::string_view name) {
    return std::find(areas.begin(), areas.end(), name) != areas.end();
}

// The item as the dialogs name it ("ＴＥＬ１ 内線呼出音"), or by its kxctl name where no dialog
// shows it.
std::string itemLabel(const Field& field) {
    return field.label.empty() ? field.name : field.label;
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

// Reads the areas named in `areas` into `records`, in the registry's order, telling `before`
// the place of each among them. At the first read that fails: false, with `failed` that place.
bool readNamedAreas(AreaContext& context, const std::vector<std::string>& areas,
                    const std::function<void(std::size_t)>& before, std::size_t& failed,
                    Records& records, MissingFields& missing) {
    const std::span<const area::AreaModule* const> modules = allModules();
    std::size_t index = 0;
    for (std::size_t i = 0; i < modules.size(); ++i) {
        if (!named(areas, modules[i]->name))
            continue;
        if (before)
            before(index);
        if (readArea(context, i, records, missing) != 1) {
            failed = index;
            return false;
        }
        ++index;
    }
    return true;
}

std::optional<std::string> readDocument(AreaContext& context, const std::vector<std::string>& areas,
                                        const std::vector<std::string>& header,
                                        const std::function<void(std::size_t)>& before,
                                        std::size_t& failed) {
    // read into records of the document's own, as kxctl backup does
    Records records;
    MissingFields missing;
    if (!readNamedAreas(context, areas, before, failed, records, missing))
        return std::nullopt;
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

// A document laid over what the adapter holds: the checks and the writes of kxctl restore, on
// kxctl's own records, so the program restores as kxctl does.
class ProgramRestore : public DocumentRestore {
public:
    explicit ProgramRestore(std::vector<DocumentValue> values) : values_(std::move(values)) {
        for (const area::AreaModule* module : allModules())
            for (const DocumentValue& value : values_)
                if (value.field->area == module->name && !named(areas_, module->name)) {
                    areas_.emplace_back(module->name);
                    break;
                }
    }

    const std::vector<std::string>& areas() const override { return areas_; }
    const std::vector<RestoreChange>& changes() const override { return changes_; }
    bool addressChanges() const override { return addressChanges_; }

    bool read(AreaContext& context, const std::function<void(std::size_t)>& before,
              std::size_t& failed) override {
        return readNamedAreas(context, areas_, before, failed, read_, missing_);
    }

    std::optional<std::string> check(bool overNetwork) override {
        snapshot_ = read_;
        // a read-only item is accepted only as the adapter has it, so a backup restores
        for (const DocumentValue& value : values_) {
            if (!value.field->readOnly || missing_.contains(value.field))
                continue;
            Records given = snapshot_;
            storeValue(*value.field, value.value, given);
            if (valueText(*value.field, given) != valueText(*value.field, snapshot_))
                return std::to_string(value.line) + ": " + japaneseName(*value.field) +
                       "は機器から読み出すだけの項目で、書き込めません（ファイルの「" +
                       messageText(valueText(*value.field, given)) + "」、機器の「" +
                       messageText(valueText(*value.field, snapshot_)) + "」）";
        }
        working_ = snapshot_;
        for (const DocumentValue& value : values_) {
            if (value.masked || value.field->readOnly)
                continue;
            storeValue(*value.field, value.value, working_);
            if (!missing_.contains(value.field))
                continue;
            // the adapter's value is unknown: the document's goes out even when it equals the
            // zero the record holds
            if (value.field->isText())
                *value.field->text(snapshot_) = *value.field->text(working_) + '\x01';
            else
                *value.field->number(snapshot_) = *value.field->number(working_) + 1;
        }
        if (std::optional<area::Reason> error = recordsError(working_, snapshot_))
            return messageText(error->japanese);
        changes_.clear();
        addressChanges_ = false;
        for (const Field& field : allFields()) {
            const std::string before =
                missing_.contains(&field) ? std::string("?") : valueText(field, read_);
            const std::string after = valueText(field, working_);
            if (field.readOnly || (before == after && !missing_.contains(&field)) ||
                !touched(field))
                continue;
            const bool secret = isSecret(field);
            changes_.push_back({itemLabel(field), secret ? std::string(kMasked) : before,
                                secret ? std::string(kMasked) : after,
                                overNetwork && field.rule->serialOnly});
            if (field.name == "router.routerAddress")
                addressChanges_ = true;
        }
        return std::nullopt;
    }

    std::string snapshot(const std::vector<std::string>& header) const override {
        return writeDocument(read_, areas_, header, missing_);
    }

    bool write(AreaContext& context, std::size_t& sent, std::string& failed) override {
        sent = 0;
        std::string last;
        AreaContext counted = context;
        counted.beforeWrite = nullptr;  // the history is saved before the restore begins
        const AreaContext::ExchangeFn through = context.exchange;
        counted.exchange = [&](std::string_view command, ReplyBuffer& reply, int timeoutMs,
                               int kind) {
            last = std::string(command);
            const int ok = through ? through(command, reply, timeoutMs, kind)
                                   : SendCommand(command, reply, timeoutMs, kind);
            if (ok == 1)
                ++sent;
            return ok;
        };
        // every module's writer, as kxctl restore writes: a section with nothing to send sends
        // nothing
        const std::span<const area::AreaModule* const> modules = allModules();
        for (std::size_t i = 0; i < modules.size(); ++i) {
            const area::AreaModule& module = *modules[i];
            if (working_.areas[i] == snapshot_.areas[i])
                continue;
            for (int section : module.sections) {
                if (module.write(counted, working_.areas[i], snapshot_.areas[i], section) != 1) {
                    failed = printable(last);
                    context.lastFailure = counted.lastFailure;
                    return false;
                }
            }
        }
        return true;
    }

private:
    bool touched(const Field& field) const {
        for (const DocumentValue& value : values_)
            if (value.field == &field)
                return !value.masked;
        return false;
    }

    std::vector<DocumentValue> values_;
    std::vector<std::string> areas_;
    Records read_, snapshot_, working_;
    MissingFields missing_;
    std::vector<RestoreChange> changes_;
    bool addressChanges_ = false;
};

std::unique_ptr<DocumentRestore> restoreDocument(std::string_view text, std::string& error) {
    DocumentError why;
    std::optional<std::vector<DocumentValue>> values = readDocumentText(text, why);
    if (!values) {
        error = (why.line == 0 ? std::string() : std::to_string(why.line) + ": ") +
                messageText(why.japanese);
        return nullptr;
    }
    return std::make_unique<ProgramRestore>(std::move(*values));
}

}  // namespace

void installSettingsDocuments() {
    setSettingsDocuments({documentAreas, readDocument, copiesDocument, restoreDocument});
}

}  // namespace kx::cli
