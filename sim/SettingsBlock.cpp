#include "sim/SettingsBlock.h"

#include <algorithm>
#include <cassert>

namespace kx::sim {

Item choiceItem(std::string_view name, std::string_view label,
                std::vector<std::string_view> keywords, std::string_view factory, ShowForm form) {
    Item item{name, label, ItemKind::Choice, std::move(keywords)};
    item.factory = factory;
    item.form = form;
    return item;
}

Item numberItem(std::string_view name, std::string_view label, int lowest, int highest, int factory,
                ShowForm form) {
    Item item{name, label, ItemKind::Number, {}, lowest, highest};
    item.factoryNumber = factory;
    item.form = form;
    return item;
}

Item phoneItem(std::string_view name, std::string_view label) {
    return Item{name, label, ItemKind::Phone};
}

Item textItem(std::string_view name, std::string_view label, TextRule rule,
              std::string_view factory, ShowForm form) {
    Item item{name, label, ItemKind::Text};
    item.factory = factory;
    item.rule = rule;
    item.form = form;
    return item;
}

SettingsBlock::SettingsBlock(std::string keyPrefix, const Schema& schema)
    : keyPrefix_(std::move(keyPrefix)),
      schema_(schema),
      numbers_(schema.size(), 0),
      texts_(schema.size()) {
    for (std::size_t i = 0; i < schema_.size(); ++i) {
        const Item& def = schema_[i];
        [[maybe_unused]] const bool valid =
            def.kind == ItemKind::Number ? setFromArgument(i, std::to_string(def.factoryNumber))
                                         : setFromArgument(i, def.factory);
        assert(valid && "factory value not valid for its item");
    }
    factory_ = values();
}

void SettingsBlock::reset() {
    setValues(factory_);
}

void SettingsBlock::appendTo(Values& all) const {
    all.numbers.insert(all.numbers.end(), numbers_.begin(), numbers_.end());
    all.texts.insert(all.texts.end(), texts_.begin(), texts_.end());
}

std::size_t SettingsBlock::takeFrom(const Values& all, std::size_t at) {
    const std::size_t end = at + numbers_.size();
    if (end > all.numbers.size() || end > all.texts.size()) {
        return at;
    }
    std::copy(all.numbers.begin() + static_cast<std::ptrdiff_t>(at),
              all.numbers.begin() + static_cast<std::ptrdiff_t>(end), numbers_.begin());
    std::copy(all.texts.begin() + static_cast<std::ptrdiff_t>(at),
              all.texts.begin() + static_cast<std::ptrdiff_t>(end), texts_.begin());
    return end;
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
        case ItemKind::Text: {
            auto normal = normalText(def.rule, argument);
            if (!normal) {
                return false;
            }
            texts_[item] = std::move(*normal);
            return true;
        }
    }
    return false;
}

bool SettingsBlock::assignSaved(std::size_t item, std::string_view saved) {
    const Item& def = schema_[item];
    if (def.kind != ItemKind::Choice) {
        return setFromArgument(item, saved);
    }
    const int last = static_cast<int>(def.keywords.size()) - 1;
    const auto index = parseNumber(saved, 0, last);
    if (!index || def.keywords[static_cast<std::size_t>(*index)].empty()) {
        return false;
    }
    numbers_[item] = *index;
    return true;
}

namespace {

// The last address handed out from start on, as "count (a.b.c.d)"; the count alone when the
// start is not an address or nothing is handed out.
std::string rangeEnd(std::string_view start, int count) {
    std::string value = std::to_string(count);
    unsigned long bits = 0;
    for (int field = 0; field < 4; ++field) {
        const std::size_t dot = start.find('.');
        const auto part = parseNumber(start.substr(0, dot), 0, 255);
        if (!part) {
            return value;
        }
        bits = (bits << 8) | static_cast<unsigned long>(*part);
        start = dot == std::string_view::npos ? std::string_view() : start.substr(dot + 1);
    }
    if (count <= 0) {
        return value;
    }
    const unsigned long last = (bits + static_cast<unsigned long>(count) - 1) & 0xFFFFFFFFUL;
    value += " (" + std::to_string(last >> 24) + "." + std::to_string((last >> 16) & 0xFF) + "." +
             std::to_string((last >> 8) & 0xFF) + "." + std::to_string(last & 0xFF) + ")";
    return value;
}

}  // namespace

void SettingsBlock::showItem(std::string& reply, std::size_t item) const {
    const Item& def = schema_[item];
    const bool isText = def.kind == ItemKind::Phone || def.kind == ItemKind::Text;
    switch (def.form) {
        case ShowForm::Line:
            if (isText) {
                appendLine(reply, def.label, texts_[item]);
            } else {
                appendLine(reply, def.label, numbers_[item]);
            }
            return;
        case ShowForm::FromOne:
            appendLine(reply, def.label, numbers_[item] + 1);
            return;
        case ShowForm::WithSubmask: {
            const std::string& prefixed = texts_[item];
            const auto parts = splitAt(prefixed, '/');
            appendLine(reply, def.label, parts ? parts->first : std::string_view(prefixed));
            appendLine(reply, "submask:", parts ? parts->second : std::string_view("0"));
            return;
        }
        case ShowForm::SlashNext:
            appendLine(reply, def.label,
                       std::to_string(numbers_[item]) + '/' + std::to_string(numbers_[item + 1]));
            return;
        case ShowForm::ClockNext: {
            std::string minute = std::to_string(numbers_[item + 1]);
            if (minute.size() < 2) {
                minute.insert(0, "0");
            }
            appendLine(reply, def.label, std::to_string(numbers_[item]) + ":" + minute);
            return;
        }
        case ShowForm::RangeEnd:
            appendLine(reply, def.label, rangeEnd(texts_[item - 1], numbers_[item]));
            return;
        case ShowForm::Hidden:
            return;
    }
}

void SettingsBlock::show(std::string& reply, std::size_t first) const {
    for (std::size_t i = first; i < schema_.size(); ++i) {
        showItem(reply, i);
    }
}

std::string SettingsBlock::key(std::size_t item) const {
    const std::string_view name = schema_[item].name;
    return keyPrefix_.empty() ? std::string(name) : keyPrefix_ + "." + std::string(name);
}

void SettingsBlock::save(std::map<std::string, std::string>& values) const {
    for (std::size_t i = 0; i < schema_.size(); ++i) {
        const ItemKind kind = schema_[i].kind;
        const bool isText = kind == ItemKind::Phone || kind == ItemKind::Text;
        values[key(i)] = isText ? texts_[i] : std::to_string(numbers_[i]);
    }
}

void SettingsBlock::restore(const std::map<std::string, std::string>& values) {
    for (std::size_t i = 0; i < schema_.size(); ++i) {
        const auto found = values.find(key(i));
        if (found != values.end()) {
            assignSaved(i, found->second);  // a value that is not valid keeps the current one
        }
    }
}

namespace {

// The words of the line from offset that equal words, case-insensitively.
bool wordsMatch(const CommandLine& line, std::size_t offset,
                std::span<const std::string_view> words) {
    if (line.size() < offset + words.size()) {
        return false;
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (!equalsNoCase(line.word(offset + i), words[i])) {
            return false;
        }
    }
    return true;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Sets `item` and then `more` from the parts of text cut at separator, the last part taking
// the rest; all or nothing.
bool setParts(SettingsBlock& block, const Command& command, std::string_view text, bool trimParts) {
    const SettingsBlock::Values before = block.values();
    const std::size_t count = command.more.size() + 1;
    for (std::size_t i = 0; i < count; ++i) {
        std::string_view part = text;
        if (i + 1 < count) {
            const auto cut = splitAt(text, command.separator);
            if (!cut) {
                block.setValues(before);
                return false;
            }
            part = cut->first;
            text = cut->second;
        }
        if (trimParts) {
            part = trim(part);
        } else if (part.empty()) {
            block.setValues(before);
            return false;
        }
        const std::string_view name = i == 0 ? command.item : command.more[i - 1];
        if (!block.setFromArgument(block.indexOf(name), part)) {
            block.setValues(before);
            return false;
        }
    }
    return true;
}

bool applyArgument(SettingsBlock& block, const Command& command, const CommandLine& line,
                   std::size_t next) {
    const std::size_t item = block.indexOf(command.item);
    const std::size_t rest = line.size() > next ? line.size() - next : 0;
    const std::string_view text = next > 0 ? line.restAfter(next - 1) : std::string_view();
    switch (command.form) {
        case ArgumentForm::Word:
            if (rest == 1) {
                return block.setFromArgument(item, line.word(next));
            }
            // only a telephone number may be left off: it empties the number
            return rest == 0 && block.setFromArgument(item, {});
        case ArgumentForm::Rest: {
            const Item& def = block.item(item);
            const bool freeText = def.kind == ItemKind::Text && def.rule == TextRule::Text;
            return block.setFromArgument(item, freeText ? text : trim(text));
        }
        case ArgumentForm::List:
            return setParts(block, command, trim(text), true);
        case ArgumentForm::Joined:
            return rest == 1 && setParts(block, command, line.word(next), false);
        case ArgumentForm::AnswerBit: {
            static const std::vector<std::string_view> kRejectAuto{"reject", "auto"};
            const int answer = keywordIndex(kRejectAuto, line.word(next));
            if (rest != 1 || answer < 0) {
                return false;
            }
            const int bit = 1 << command.bit;
            const int mask = block.number(item);
            block.setNumber(item, answer == 1 ? (mask | bit) : (mask & ~bit));
            return true;
        }
    }
    return false;
}

}  // namespace

Command textCommand(std::vector<std::string_view> before, std::string_view item, bool selects) {
    return {
        .before = std::move(before), .selects = selects, .item = item, .form = ArgumentForm::Rest};
}

Command listCommand(std::vector<std::string_view> before, std::string_view item,
                    std::vector<std::string_view> more, bool selects) {
    return {.before = std::move(before),
            .selects = selects,
            .item = item,
            .form = ArgumentForm::List,
            .more = std::move(more)};
}

Command joinedCommand(std::vector<std::string_view> before, std::string_view item,
                      std::string_view second, char separator) {
    return {.before = std::move(before),
            .item = item,
            .form = ArgumentForm::Joined,
            .more = {second},
            .separator = separator};
}

Command answerBit(std::vector<std::string_view> before, std::string_view item, int bit) {
    return {.before = std::move(before), .item = item, .form = ArgumentForm::AnswerBit, .bit = bit};
}

SettingsBlock* findSelector(std::span<const Selector> selectors, std::string_view word) {
    for (const Selector& selector : selectors) {
        if (equalsNoCase(selector.word, word)) {
            return selector.block;
        }
    }
    return nullptr;
}

Applied applyCommand(const CommandLine& line, std::size_t first, std::span<const Command> commands,
                     SettingsBlock* fixed, std::span<const Selector> selectors) {
    Applied result = Applied::Unknown;
    for (const Command& command : commands) {
        if (!wordsMatch(line, first, command.before)) {
            continue;
        }
        result = Applied::Refused;
        std::size_t next = first + command.before.size();
        SettingsBlock* block = fixed;
        if (command.selects) {
            block = next < line.size() ? findSelector(selectors, line.word(next)) : nullptr;
            ++next;
        }
        if (block == nullptr || !wordsMatch(line, next, command.after)) {
            continue;
        }
        next += command.after.size();
        if (applyArgument(*block, command, line, next)) {
            return Applied::Done;
        }
    }
    return result;
}

}  // namespace kx::sim
