// kestrelx-setup: the settings utility of the KESTRELX ISDN terminal adapter.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/MainDlgNet.h"
#include "app/Options.h"
#include "app/Profile.h"
#include "app/SetupApp.h"
#include "app/program/AllAreas.h"
#include "app/services/AppState.h"
#include "app/services/HelpPages.h"
#include "sim/Emulator.h"
#include "ui/Backend.h"
#include "ui/headless/Headless.h"
#include "ui/headless/ScriptUser.h"

#ifdef KX_HAVE_QT
#include "ui/qt/QtBackend.h"
#include "ui/qt/QtHelpWindow.h"
#endif

namespace {

#ifdef KX_HAVE_QT
// The help window of the Qt backend, created when the first page is asked for.
class HelpBrowser final : public kx::HelpViewer {
public:
    bool showPage(const std::string& path, std::string& error) override {
        if (!window_)
            window_ = std::make_unique<kx::ui::qt::HelpWindow>();
        return window_->showPage(path, error);
    }

private:
    std::unique_ptr<kx::ui::qt::HelpWindow> window_;
};

// Qt aborts with a core dump when it finds no display; we say what to do instead.
bool haveDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    // the settings file belongs to the folder the program was started in
    kx::StartupDirectory();

    std::vector<std::string> args(argv + 1, argv + argc);
    kx::OptionsResult parsed = kx::parseOptions(args);
    if (!parsed.options) {
        std::fprintf(stderr, "kestrelx-setup: %s\nTry 'kestrelx-setup --help'.\n",
                     parsed.error.c_str());
        return 2;
    }
    const kx::Options& options = *parsed.options;
    if (options.help) {
        std::fputs(kx::usageText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("kestrelx-setup %s\n", kx::kUtilityVersionText);
        return 0;
    }

    kx::initHelpSearchDirectories();
    kx::registerAllAreas();

    kx::CMainDlg::Config config;
    config.runDevice = options.portDevice;
    config.router = options.router;
    kx::NetLinkSettings net;
    if (options.netPort != 0)
        net.port = options.netPort;

    // --demo: the emulated adapter on a pseudo-terminal stands on COM1 for this run
    std::unique_ptr<kx::sim::Emulator> emulator;
    if (options.demo) {
        std::string error;
        kx::sim::EmulatorOptions demoOptions;
        demoOptions.telnetPort = 0;  // any free port on the loopback, for the network choice
        emulator = kx::sim::Emulator::start(demoOptions, error);
        if (!emulator) {
            std::fprintf(stderr, "kestrelx-setup: the emulated adapter cannot start: %s\n",
                         error.c_str());
            return 1;
        }
        config.runDevice = emulator->ptyPath();
        config.runPort = 1;
        config.demoDeviceName = demoOptions.adapter.name;
        net.address = "127.0.0.1";
        net.port = emulator->telnetPort();
        std::fprintf(stderr, "kestrelx-setup: demo adapter on %s (COM1) and 127.0.0.1:%d\n",
                     config.runDevice.c_str(), net.port);
    }
    kx::attachNetworkLink(config, net);

    std::shared_ptr<kx::ui::headless::ScriptUser> user;
#ifdef KX_HAVE_QT
    std::unique_ptr<HelpBrowser> helpBrowser;
#endif
    if (options.headless) {
        std::string error;
        user = kx::ui::headless::ScriptUser::fromFile(options.scriptPath, &error);
        if (!user) {
            std::fprintf(stderr, "kestrelx-setup: %s\n", error.c_str());
            return 2;
        }
        kx::ui::headless::install(user);
    } else {
#ifdef KX_HAVE_QT
        if (!haveDisplay()) {
            std::fputs(
                "kestrelx-setup: there is no display (neither DISPLAY nor WAYLAND_DISPLAY is "
                "set); run it on a desktop, under a virtual one (xvfb-run -a kestrelx-setup), or "
                "without windows: kestrelx-setup --headless --script FILE\n",
                stderr);
            return 1;
        }
        kx::ui::qt::install(argc, argv);
        helpBrowser = std::make_unique<HelpBrowser>();
        kx::setHelpViewer(helpBrowser.get());
#else
        std::fputs(
            "kestrelx-setup: this build has no windows (built without Qt); use --headless --script "
            "FILE\n",
            stderr);
        return 1;
#endif
    }

    kx::CSetupApp app(config);
    app.InitInstance();
    kx::setHelpViewer(nullptr);
#ifdef KX_HAVE_QT
    // the help window and then the toolkit go while main still runs: Qt must not be torn down
    // by the exit handlers, after its own statics are gone
    helpBrowser.reset();
#endif
    kx::ui::installBackend(nullptr);
    // lines left over mean the session went otherwise than the script expected
    if (user)
        user->endOfRun();
    return user && user->failed() ? 2 : 0;
}
