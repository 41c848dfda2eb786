#include "sim/SettingsBlock.h"

#include <cassert>

#include "sim/AreaText.h"

namespace kx::sim {

Item choiceItem(std::string_view name, std::string_view label,
                std::vector<std::string_view> keywords) {
    return Item{name, label, ItemKind::Choice, std::move(keywords)};
}

Item numberItem(std::string_view name, std::string_view label, int lowest, int highest) {
    return Item{name, label, ItemKind::Number, {}, lowest, highest};
}

Item phoneItem(std::string_view name, std::string_view label) {
    return Item{name, label, ItemKind::Phone};
}

SettingsBlock::SettingsBlock(std::string keyPrefix, const Schema& schema,
                             std::vector<std::string_view> factory)
    : keyPrefix_(std::move(keyPrefix)),
      schema_(schema),
      numbers_(schema.size(), 0),
      texts_(schema.size()) {
    assert(factory.size() == schema_.size());
    for (std::size_t i = 0; i < schema_.size(); ++i) {
        [[maybe_unused]] const bool valid = assignSaved(i, factory[i]);
        assert(valid && "factory value outside its item's range");
    }
    factory_ = values();
}

void SettingsBlock::reset() {
    setValues(factory_);
}

std::size_t SettingsBlock::indexOf(std::string_view name) const {
    for (std::size_t i = 0; i < schema_.size(); ++i) {
        if (schema_[i].name == name) {
            return i;
        }
    }
    assert(false && "unknown item name");
    return 0;
}

bool SettingsBlock::setFromArgument(std::size_t item, std::string_view argument) {
    const Item& def = schema_[item];
    switch (def.kind) {
        case ItemKind::Choice: {
            const int index = keywordIndex(def.keywords, argument);
            if (index < 0) {
                return false;
            }
            numbers_[item] = index;
            return true;
        }
        case ItemKind::Number: {
            const auto value = parseNumber(argument, def.lowest, def.highest);
            if (!value) {
                return false;
            }
            numbers_[item] = *value;
            return true;
        }
        case ItemKind::Phone:
            if (!isPhoneNumber(argument)) {
                return false;
            }
            texts_[item] = std::string(argument);
            return true;
    }
    return false;
}

bool SettingsBlock::assignSaved(std::size_t item, std::string_view saved) {
    const Item& def = schema_[item];
    switch (def.kind) {
        case ItemKind::Choice: {
            const int last = static_cast<int>(def.keywords.size()) - 1;
            const auto index = parseNumber(saved, 0, last);
            if (!index || def.keywords[static_cast<std::size_t>(*index)].empty()) {
                return false;
            }
            numbers_[item] = *index;
            return true;
        }
        case ItemKind::Number:
        case ItemKind::Phone:
            return setFromArgument(item, saved);
    }
    return false;
}

void SettingsBlock::showItem(std::string& reply, std::size_t item) const {
    const Item& def = schema_[item];
    if (def.kind == ItemKind::Phone) {
        appendLine(reply, def.label, texts_[item]);
    } else {
        appendLine(reply, def.label, numbers_[item]);
    }
}

void SettingsBlock::show(std::string& reply, std::size_t first) const {
    for (std::size_t i = first; i < schema_.size(); ++i) {
        showItem(reply, i);
    }
}

void SettingsBlock::save(std::map<std::string, std::string>& values) const {
    for (std::size_t i = 0; i < schema_.size(); ++i) {
        const std::string key = keyPrefix_ + "." + std::string(schema_[i].name);
        values[key] = schema_[i].kind == ItemKind::Phone ? texts_[i] : std::to_string(numbers_[i]);
    }
}

void SettingsBlock::restore(const std::map<std::string, std::string>& values) {
    for (std::size_t i = 0; i < schema_.size(); ++i) {
        const auto found = values.find(keyPrefix_ + "." + std::string(schema_[i].name));
        if (found != values.end()) {
            assignSaved(i, found->second);  // a value that is not valid keeps the current one
        }
    }
}

namespace {

// The words of args from offset that equal words, case-insensitively.
bool wordsMatch(std::span<const std::string> args, std::size_t offset,
                std::span<const std::string_view> words) {
    if (args.size() < offset + words.size()) {
        return false;
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (!equalsNoCase(args[offset + i], words[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

SettingsBlock* findSelector(std::span<const Selector> selectors, std::string_view word) {
    for (const Selector& selector : selectors) {
        if (equalsNoCase(selector.word, word)) {
            return selector.block;
        }
    }
    return nullptr;
}

bool applyCommand(std::span<const std::string> args, std::span<const Command> commands,
                  SettingsBlock* fixed, std::span<const Selector> selectors) {
    for (const Command& command : commands) {
        if (!wordsMatch(args, 0, command.before)) {
            continue;
        }
        std::size_t next = command.before.size();
        SettingsBlock* block = fixed;
        if (command.selects) {
            block = next < args.size() ? findSelector(selectors, args[next]) : nullptr;
            ++next;
        }
        if (block == nullptr || !wordsMatch(args, next, command.after)) {
            continue;
        }
        next += command.after.size();
        const std::size_t item = block->indexOf(command.item);
        const std::size_t rest = args.size() - next;
        if (rest == 1 && block->setFromArgument(item, args[next])) {
            return true;
        }
        if (rest == 0 && block->setFromArgument(item, {})) {
            return true;  // only a telephone number may be left off: it empties the number
        }
    }
    return false;
}

}  // namespace kx::sim
