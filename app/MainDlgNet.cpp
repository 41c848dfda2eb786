#include "app/MainDlgNet.h"

#include <memory>

#include "app/services/AppState.h"
#include "link/Exchange.h"
#include "ui/MessageLoop.h"

namespace kx {

namespace {
// The timer that notices the connect completing (the main window's own timers are 1..3).
constexpr int kNetConnectTimer = 4;
}  // namespace

void attachNetworkLink(CMainDlg::Config& config, NetLinkSettings settings) {
    NetHooks hooks;
    hooks.watch = [](int fd, std::function<void()> onReadable) {
        return ui::watchReadable(fd, std::move(onReadable));
    };
    hooks.unwatch = [](int watchId) { ui::unwatch(watchId); };
    hooks.setTimer = [](std::chrono::milliseconds period, std::function<void()> call) {
        ui::setTimer(kNetConnectTimer, period, std::move(call));
    };
    hooks.killTimer = [] { ui::killTimer(kNetConnectTimer); };
    auto link = std::make_shared<NetLink>(
        std::move(hooks), [](std::string_view line) { LogLinkLine(line); },
        [] {
            if (CMainDlg* main = CMainDlg::instance())
                main->setConnectionState(ConnectionState::LoggedIn);
        });
    link->setLoginTimeoutMs(settings.loginTimeoutMs);

    config.netConnect = [link, settings](const std::string& ipAddress) {
        const std::string& address = settings.address.empty() ? ipAddress : settings.address;
        return link->NetConnect(address, settings.port, loginPassword, adminPassword);
    };
    config.netClose = [link] { link->NetClose(); };
}

}  // namespace kx
