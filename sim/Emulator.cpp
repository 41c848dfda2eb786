#include "sim/Emulator.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "sim/PtyPort.h"
#include "sim/Session.h"
#include "sim/TelnetServer.h"
#include "sim/Transports.h"

namespace kx::sim {

struct Emulator::Impl {
    EmulatorOptions options;
    Device device;
    Transcript transcript;
    FaultSet faults;
    StopSignal stop;

    PtyPort pty;
    mutable std::mutex ptyMutex;
    mutable std::condition_variable ptyChanged;
    std::string ptyPath;
    std::thread ptyThread;

    std::unique_ptr<TelnetServer> telnet;

    // also on a failed start: no thread may outlive what it serves
    ~Impl() {
        stop.raise();
        if (ptyThread.joinable())
            ptyThread.join();
    }

    void log(const std::string& text) const {
        if (options.log)
            options.log(text);
    }
    void setPtyPath(const std::string& path) {
        {
            std::lock_guard lock(ptyMutex);
            ptyPath = path;
        }
        ptyChanged.notify_all();
    }
    void servePty();
};

void Emulator::Impl::servePty() {
    AdapterOptions adapterOptions = options.adapter;
    while (!stop.raised()) {
        Adapter adapter(device, adapterOptions, Adapter::Start::AtProbe, &transcript, &faults);
        adapterOptions.atCommandLine = false;  // only the first session finds it there
        PtyTransport transport(pty, stop, options.paced);
        const SessionEnd end = runSession(adapter, transport, stop);
        if (end == SessionEnd::Stopped)
            break;
        if (end != SessionEnd::Dropped)
            continue;  // serve the same port afresh
        // a dropped line: the port goes away and a new one takes its place, as when the
        // adapter is unplugged and plugged in again
        pty.close();
        std::string error;
        if (!pty.open(options.ptyLink, error)) {
            log("pty: " + error + "; the serial side stops");
            setPtyPath("");
            return;
        }
        setPtyPath(pty.slavePath());
        log("pty: line dropped, now serving " + pty.slavePath());
    }
}

Emulator::Emulator(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

std::unique_ptr<Emulator> Emulator::start(EmulatorOptions options, std::string& error) {
    auto impl = std::make_unique<Impl>();
    impl->options = std::move(options);
    EmulatorOptions& opts = impl->options;
    if (!opts.stateFile.empty() && !impl->device.useStateFile(opts.stateFile, error))
        return nullptr;
    if (!opts.transcriptFile.empty() && !impl->transcript.writeTo(opts.transcriptFile, error))
        return nullptr;
    for (const FaultRule& rule : opts.faults) impl->faults.add(rule);

    if (opts.telnetPort >= 0) {
        TelnetServer::Services services{impl->device, impl->transcript, impl->faults, impl->stop,
                                        opts.adapter, opts.paced,       opts.log};
        impl->telnet = TelnetServer::listen(services, opts.telnetPort, opts.listenAll, error);
        if (!impl->telnet)
            return nullptr;
    }
    if (opts.pty) {
        if (!impl->pty.open(opts.ptyLink, error))
            return nullptr;
        impl->ptyPath = impl->pty.slavePath();
        impl->ptyThread = std::thread([raw = impl.get()] { raw->servePty(); });
    }
    return std::unique_ptr<Emulator>(new Emulator(std::move(impl)));
}

Emulator::~Emulator() {
    stop();
}

void Emulator::stop() {
    impl_->stop.raise();
    if (impl_->ptyThread.joinable())
        impl_->ptyThread.join();
    if (impl_->telnet)
        impl_->telnet->join();
    impl_->pty.close();
}

std::string Emulator::ptyPath() const {
    std::lock_guard lock(impl_->ptyMutex);
    return impl_->ptyPath;
}

std::string Emulator::waitForNewPty(const std::string& old,
                                    std::chrono::milliseconds timeout) const {
    std::unique_lock lock(impl_->ptyMutex);
    if (!impl_->ptyChanged.wait_for(lock, timeout, [&] { return impl_->ptyPath != old; }))
        return {};
    return impl_->ptyPath;
}

int Emulator::telnetPort() const {
    return impl_->telnet ? impl_->telnet->port() : -1;
}

Transcript& Emulator::transcript() {
    return impl_->transcript;
}
FaultSet& Emulator::faults() {
    return impl_->faults;
}
Device& Emulator::device() {
    return impl_->device;
}

}  // namespace kx::sim
