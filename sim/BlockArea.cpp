#include "sim/BlockArea.h"

#include <algorithm>

#include "sim/AreaText.h"

namespace kx::sim {
namespace {

constexpr std::size_t kEntriesPerPage = 10;

SettingsBlock portBlock(const PortAreaShape& shape, std::size_t port) {
    return SettingsBlock(std::string(shape.ports[port]), shape.portSchema, shape.portFactory);
}

}  // namespace

BlockArea::BlockArea(std::string_view family, std::span<const Command> commands)
    : family_(family), commands_(commands) {}

void BlockArea::addBlock(SettingsBlock& block, std::string_view showWord,
                         std::string_view selector) {
    blocks_.push_back(&block);
    if (!showWord.empty()) {
        shown_.emplace_back(showWord, &block);
    }
    if (!selector.empty()) {
        selectors_.push_back(Selector{std::string(selector), &block});
    }
}

bool BlockArea::applySpecial(std::span<const std::string>) {
    return false;
}

bool BlockArea::handle(const Words& rawWords, std::string_view, std::string& reply) {
    const Words words = nonEmptyWords(rawWords);
    if (words.size() >= 2 && equalsNoCase(words[0], "show") && equalsNoCase(words[1], family_)) {
        show(std::span(words).subspan(2), reply);
        return true;
    }
    if (words.empty() || !equalsNoCase(words[0], family_)) {
        return false;
    }
    const std::span<const std::string> args = std::span(words).subspan(1);
    if (!applySpecial(args) && !applyCommand(args, commands_, fixed_, selectors_)) {
        reply.append(kInvalidParameterLine);
    }
    return true;
}

void BlockArea::show(std::span<const std::string> what, std::string& reply) const {
    if (what.size() == 1) {
        for (const auto& [word, block] : shown_) {
            if (equalsNoCase(what[0], word)) {
                block->show(reply);
                return;
            }
        }
        for (std::size_t first = 0; first < entries_.size(); first += kEntriesPerPage) {
            if (!equalsNoCase(what[0], "num" + std::to_string(first / kEntriesPerPage + 1))) {
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

void BlockArea::reset() {
    for (SettingsBlock* block : blocks_) {
        block->reset();
    }
}

std::map<std::string, std::string> BlockArea::save() const {
    std::map<std::string, std::string> values;
    for (const SettingsBlock* block : blocks_) {
        block->save(values);
    }
    return values;
}

void BlockArea::restore(const std::map<std::string, std::string>& values) {
    for (SettingsBlock* block : blocks_) {
        block->restore(values);
    }
}

std::any BlockArea::snapshot() const {
    std::vector<SettingsBlock::Values> values;
    values.reserve(blocks_.size());
    for (const SettingsBlock* block : blocks_) {
        values.push_back(block->values());
    }
    return values;
}

void BlockArea::putBack(const std::any& snapshot) {
    const auto& values = std::any_cast<const std::vector<SettingsBlock::Values>&>(snapshot);
    for (std::size_t i = 0; i < blocks_.size() && i < values.size(); ++i) {
        blocks_[i]->setValues(values[i]);
    }
}

PortArea::PortArea(const PortAreaShape& shape)
    : BlockArea(shape.family, shape.commands),
      ports_{portBlock(shape, 0), portBlock(shape, 1), portBlock(shape, 2)},
      common_("common", shape.commonSchema, shape.commonFactory) {
    for (std::size_t i = 0; i < ports_.size(); ++i) {
        addBlock(ports_[i], shape.ports[i], shape.ports[i]);
    }
    addBlock(common_, "common", {});
    setFixedBlock(common_);
}

}  // namespace kx::sim
