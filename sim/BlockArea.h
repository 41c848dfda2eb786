#pragma once

// The shape of every settings area of the emulator: SettingsBlocks, which reset, save, restore
// and the flash copy go over (BlockSet). The analog, digital, arrive and shortnum areas keep
// their blocks below one family word (BlockArea): "show <family> <word>" reports one block or
// a page of numbered entries, "<family> ..." goes through the area's command table. The router
// area has a family of its own for each of its sections. A derived area owns its blocks and
// registers them in its constructor.

#include <array>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/Area.h"
#include "sim/SettingsBlock.h"

namespace kx::sim {

class BlockSet : public Area {
public:
    BlockSet(const BlockSet&) = delete;  // it points into the derived area's blocks
    BlockSet& operator=(const BlockSet&) = delete;

    void reset() final;
    std::map<std::string, std::string> save() const final;
    void restore(const std::map<std::string, std::string>& values) override;
    // One flat copy of every block's values.
    std::any snapshot() const final;
    void putBack(const std::any& snapshot) final;

protected:
    BlockSet() = default;
    ~BlockSet() override = default;

    void addBlock(SettingsBlock& block) { blocks_.push_back(&block); }

private:
    std::vector<SettingsBlock*> blocks_;
};

class BlockArea : public BlockSet {
public:
    bool handle(const Words& words, std::string_view line, std::string& reply) final;

protected:
    // family: the first word of the area's setting commands and the second of its show
    // commands ("analog"); commands: the setting shapes below it (static data).
    BlockArea(std::string_view family, std::span<const Command> commands);
    ~BlockArea() override = default;

    // Registers a block. "show <family> <showWord>" reports it; setting commands pick it by
    // `selector`. Either word may be empty: not shown alone, or not picked by a selector.
    void addBlock(SettingsBlock& block, std::string_view showWord, std::string_view selector);

    // The block that setting commands without a selector change (none: every command selects).
    void setFixedBlock(SettingsBlock& block) { fixed_ = &block; }

    // Numbered entries (registered blocks) listed ten to a reply: "show <family> num1" gives
    // entries 1 to 10, "num2" 11 to 20, each as "k: <first item>" and then its other items. An
    // empty first item keeps the blank after the colon, so "k: " is there for every entry, and
    // in ascending order entry k's own line is the first "k: " of the reply.
    void setEntryPages(std::span<const SettingsBlock> entries) { entries_ = entries; }

private:
    void show(const CommandLine& line, std::string& reply) const;

    std::string_view family_;
    std::span<const Command> commands_;
    std::vector<std::pair<std::string, const SettingsBlock*>> shown_;
    std::vector<Selector> selectors_;
    SettingsBlock* fixed_ = nullptr;
    std::span<const SettingsBlock> entries_;
};

// The analog and digital shape: three ports and the common settings. "show <family> <port>"
// and "show <family> common" report one block; a command that selects picks a port by its word,
// the others change the common settings. The shape is static data: the area points into it.
struct PortAreaShape {
    std::string_view family;
    std::span<const Command> commands;
    std::array<std::string_view, 3> ports;  // "tel1", ...: show word, selector and save key
    const Schema& portSchema;
    const Schema& commonSchema;
};

class PortArea final : public BlockArea {
public:
    explicit PortArea(const PortAreaShape& shape);

private:
    std::array<SettingsBlock, 3> ports_;
    SettingsBlock common_;
};

}  // namespace kx::sim
