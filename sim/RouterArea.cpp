#include <memory>

#include "sim/Areas.h"
#include "sim/RouterCommands.h"
#include "sim/RouterLine.h"
#include "sim/RouterShow.h"
#include "sim/RouterState.h"

namespace kx::sim {
namespace {

// The router variant's area: router, NAT, DHCP, DNS and host table, syslog, incoming dial-up,
// the four dial-up profiles, connection limits, leased line, BOD and BACP/BAP. The PNA port's
// digital settings ("show digital pna", "digital ... pna") belong to the digital area.
class RouterArea final : public Area {
public:
    RouterArea() : state_(routerFactoryState()) {}

    bool handle(const Words& words, std::string_view line, std::string& reply) override {
        // the line itself is cut again, at tabs too, and keeps the blanks inside text values
        std::string joined;
        if (line.empty()) {
            for (const auto& word : words) joined += (joined.empty() ? "" : " ") + word;
            line = joined;
        }
        const RouterLine command(line);
        if (command.size() == 0)
            return false;
        return showRouterArea(state_, command, reply) || applyRouterSetting(state_, command, reply);
    }

    void reset() override {
        // copied, not moved in: the strings keep their buffers when a device is renewed
        static const RouterState factory = routerFactoryState();
        state_ = factory;
    }

    std::map<std::string, std::string> save() const override { return saveRouterState(state_); }

    void restore(const std::map<std::string, std::string>& values) override {
        restoreRouterState(state_, values);
    }

    std::any snapshot() const override { return state_; }
    void putBack(const std::any& snapshot) override {
        state_ = std::any_cast<const RouterState&>(snapshot);
    }

private:
    RouterState state_;
};

}  // namespace

std::unique_ptr<Area> makeRouterArea() {
    return std::make_unique<RouterArea>();
}

}  // namespace kx::sim
