#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sim/Adapter.h"
#include "sim/Device.h"
#include "sim/Faults.h"
#include "sim/Transcript.h"

namespace kx::sim {

struct EmulatorOptions {
    AdapterOptions adapter;
    bool pty = true;         // serve the serial side on a pseudo-terminal
    std::string ptyLink;     // a symlink to the slave (empty: none)
    int telnetPort = -1;     // serve telnet on this TCP port (0: any free port; -1: none)
    bool listenAll = false;  // all interfaces instead of the loopback only
    bool paced = false;      // send at 115200 bit/s
    std::string transcriptFile;
    std::string stateFile;
    std::vector<FaultRule> faults;
    // Told (from a serving thread) about new pty paths and served connections; may be empty.
    std::function<void(const std::string&)> log;
};

// The emulated adapter serving on background threads: the in-process handle of tests,
// benchmarks and the program's demo. The destructor stops and joins every thread.
class Emulator {
public:
    // Starts serving. On failure (no pty, the port taken, a bad state file...) returns null
    // and sets `error`.
    static std::unique_ptr<Emulator> start(EmulatorOptions options, std::string& error);
    ~Emulator();
    Emulator(const Emulator&) = delete;
    Emulator& operator=(const Emulator&) = delete;

    // The slave device of the pty ("" without one). After a fault dropped the line the
    // emulator serves on a new pty, and this (and the symlink) changes.
    std::string ptyPath() const;
    // Waits until the pty path differs from `old`; returns the new one ("" on time-out).
    std::string waitForNewPty(const std::string& old, std::chrono::milliseconds timeout) const;
    // The TCP port served (-1 without telnet).
    int telnetPort() const;

    Transcript& transcript();
    FaultSet& faults();
    Device& device();

    // Stops serving (idempotent); the destructor calls it.
    void stop();

private:
    struct Impl;
    explicit Emulator(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace kx::sim
