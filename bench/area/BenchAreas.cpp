#include "bench/area/BenchAreas.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "app/program/AllAreas.h"

namespace kx::bench {

namespace {

// The item a cycle changes, by module: one command each (the router's syslog facility, never
// its address, which restarts the adapter). A module not named here changes its first item
// that a command sets.
struct CycleItem {
    std::string_view module;
    std::string_view field;
};
constexpr CycleItem kCycleItems[] = {
    {"analog", "analog.tel1.ringSound"}, {"digital", "digital.discTime"},
    {"arrive", "arrive.entry1.number"},  {"shortnum", "shortnum.1"},
    {"router", "router.syslogFacility"},
};

area::ItemField cycleItem(const area::AreaModule& module) {
    std::string_view wanted;
    for (const CycleItem& item : kCycleItems)
        if (item.module == module.name)
            wanted = item.field;
    for (area::ItemField& field : module.fields())
        if (wanted.empty() ? !field.readOnly && !field.rule->command.empty() : field.name == wanted)
            return field;
    std::abort();  // a module without a writable item
}

// The value of `cycle` for the item: a phone number, a keyword's index or a number in range
// that differs from the last cycle's.
std::string numberOf(int cycle) {
    return "03" + std::to_string(10000000 + cycle % 1000);
}

int choiceOf(const area::ItemRule& rule, int cycle) {
    std::vector<int> indexes;
    for (std::size_t i = 0; i < rule.keywords.size(); ++i)
        if (!rule.keywords[i].empty())
            indexes.push_back(static_cast<int>(i));
    return indexes[static_cast<std::size_t>(cycle) % indexes.size()];
}

int valueOf(const area::ItemRule& rule, int cycle) {
    if (rule.kind == area::ItemKind::Choice)
        return choiceOf(rule, cycle);
    return rule.lowest + cycle % (rule.highest - rule.lowest + 1);
}

}  // namespace

BenchArea::BenchArea(const area::AreaModule& module)
    : name(module.name.data()), module_(&module), item_(cycleItem(module)) {}

int BenchArea::read(const AreaContext& context) const {
    snapshot_ = module_->blank();
    const int result = module_->read(context, snapshot_);
    working_ = snapshot_;
    return result;
}

void BenchArea::change(int cycle) const {
    working_ = snapshot_;
    if (item_.text)
        *item_.text(working_) = numberOf(cycle);
    else
        *item_.number(working_) = valueOf(*item_.rule, cycle);
}

int BenchArea::write(const AreaContext& context) const {
    for (int section : module_->sections)
        if (module_->write(context, working_, snapshot_, section) != 1)
            return 0;
    return 1;
}

bool BenchArea::holds(int cycle) const {
    area::AreaRecord& read = snapshot_;
    return item_.text ? *item_.text(read) == numberOf(cycle)
                      : *item_.number(read) == valueOf(*item_.rule, cycle);
}

std::span<const BenchArea> benchAreas() {
    static const std::vector<BenchArea> areas = [] {
        std::vector<BenchArea> out;
        for (const area::AreaModule* module : allModules()) out.emplace_back(*module);
        return out;
    }();
    return areas;
}

}  // namespace kx::bench
