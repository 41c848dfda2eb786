#include <memory>

#include "sim/Areas.h"

namespace kx::sim {
namespace {

// Placeholder until the area's state and commands are in.
class AnalogArea final : public Area {
public:
    bool handle(const Words&, std::string_view, std::string&) override { return false; }
    void reset() override {}
    std::map<std::string, std::string> save() const override { return {}; }
    void restore(const std::map<std::string, std::string>&) override {}
};

}  // namespace

std::unique_ptr<Area> makeAnalogArea() { return std::make_unique<AnalogArea>(); }

}  // namespace kx::sim
