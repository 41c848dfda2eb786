#include "sim/BlockArea.h"

#include <algorithm>

#include "sim/AreaText.h"

namespace kx::sim {
namespace {

constexpr std::size_t kEntriesPerPage = 10;

SettingsBlock portBlock(const PortAreaShape& shape, std::size_t port) {
    return SettingsBlock(std::string(shape.ports[port]), shape.portSchema);
}

}  // namespace

BlockArea::BlockArea(std::string_view family, std::span<const Command> commands)
    : family_(family), commands_(commands) {}

void BlockArea::addBlock(SettingsBlock& block, std::string_view showWord,
                         std::string_view selector) {
    BlockSet::addBlock(block);
    if (!showWord.empty()) {
        shown_.emplace_back(showWord, &block);
    }
    if (!selector.empty()) {
        selectors_.push_back(Selector{std::string(selector), &block});
    }
}

bool BlockArea::handle(const Words& words, std::string_view text, std::string& reply) {
    std::string joined;
    if (text.empty()) {
        for (const auto& word : words) joined += (joined.empty() ? "" : " ") + word;
        text = joined;
    }
    const CommandLine line(text, CommandLine::Cut::Blanks);
    if (line.size() >= 2 && equalsNoCase(line.word(0), "show") &&
        equalsNoCase(line.word(1), family_)) {
        show(line, reply);
        return true;
    }
    if (line.size() == 0 || !equalsNoCase(line.word(0), family_)) {
        return false;
    }
    if (applyCommand(line, 1, commands_, fixed_, selectors_) != Applied::Done) {
        reply.append(kInvalidParameterLine);
    }
    return true;
}

void BlockArea::show(const CommandLine& line, std::string& reply) const {
    if (line.size() == 3) {
        const std::string_view what = line.word(2);
        for (const auto& [word, block] : shown_) {
            if (equalsNoCase(what, word)) {
                block->show(reply);
                return;
            }
        }
        for (std::size_t first = 0; first < entries_.size(); first += kEntriesPerPage) {
            if (!equalsNoCase(what, "num" + std::to_string(first / kEntriesPerPage + 1))) {
                continue;
            }
            const std::size_t end = std::min(first + kEntriesPerPage, entries_.size());
            for (std::size_t k = first; k < end; ++k) {
                appendLine(reply, std::to_string(k + 1) + ":", entries_[k].text(0));
                entries_[k].show(reply, 1);
            }
            return;
        }
    }
    reply.append(kInvalidParameterLine);
}

void BlockSet::reset() {
    for (SettingsBlock* block : blocks_) {
        block->reset();
    }
}

std::map<std::string, std::string> BlockSet::save() const {
    std::map<std::string, std::string> values;
    for (const SettingsBlock* block : blocks_) {
        block->save(values);
    }
    return values;
}

void BlockSet::restore(const std::map<std::string, std::string>& values) {
    for (SettingsBlock* block : blocks_) {
        block->restore(values);
    }
}

std::any BlockSet::snapshot() const {
    std::size_t size = 0;
    for (const SettingsBlock* block : blocks_) {
        size += block->size();
    }
    SettingsBlock::Values all;
    all.numbers.reserve(size);
    all.texts.reserve(size);
    for (const SettingsBlock* block : blocks_) {
        block->appendTo(all);
    }
    return all;
}

void BlockSet::putBack(const std::any& snapshot) {
    const auto& all = std::any_cast<const SettingsBlock::Values&>(snapshot);
    std::size_t at = 0;
    for (SettingsBlock* block : blocks_) {
        at = block->takeFrom(all, at);
    }
}

PortArea::PortArea(const PortAreaShape& shape)
    : BlockArea(shape.family, shape.commands),
      ports_{portBlock(shape, 0), portBlock(shape, 1), portBlock(shape, 2)},
      common_("common", shape.commonSchema) {
    for (std::size_t i = 0; i < ports_.size(); ++i) {
        addBlock(ports_[i], shape.ports[i], shape.ports[i]);
    }
    addBlock(common_, "common", {});
    setFixedBlock(common_);
}

}  // namespace kx::sim
