#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace kx::sim {

// Every command line the emulated adapter received, in order: AT commands, login lines and
// command-line commands, as received without their line end (the bare "\r" of the probe is an
// empty line). Thread-safe: the serving threads record, tests read and wait.
class Transcript {
public:
    struct Entry {
        std::chrono::system_clock::time_point time;
        std::string line;
    };

    Transcript() = default;
    ~Transcript();
    Transcript(const Transcript&) = delete;
    Transcript& operator=(const Transcript&) = delete;

    // Also write every line to `path` (created or truncated), one command a line with its
    // original bytes, flushed per line; the timestamps stay in-process. Returns false with
    // `error` set when the file cannot be opened.
    bool writeTo(const std::string& path, std::string& error);

    void record(std::string line);

    std::vector<Entry> entries() const;
    std::vector<std::string> lines() const;
    std::size_t size() const;
    void clear();

    // Blocks until at least `count` lines were recorded (counted since the last clear()) or
    // `timeout` passed; returns whether the count was reached.
    bool waitForCount(std::size_t count, std::chrono::milliseconds timeout) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable arrived_;
    std::vector<Entry> entries_;
    std::FILE* file_ = nullptr;
};

}  // namespace kx::sim
