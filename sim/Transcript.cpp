#include "sim/Transcript.h"

#include <cerrno>
#include <cstring>

namespace kx::sim {

Transcript::~Transcript() {
    if (file_ != nullptr)
        std::fclose(file_);
}

bool Transcript::writeTo(const std::string& path, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = "cannot write the transcript " + path + ": " + std::strerror(errno);
        return false;
    }
    std::lock_guard lock(mutex_);
    if (file_ != nullptr)
        std::fclose(file_);
    file_ = file;
    return true;
}

void Transcript::record(std::string line) {
    {
        std::lock_guard lock(mutex_);
        if (file_ != nullptr) {
            // flushed per line, so a test outside can read the file while the emulator runs
            std::fwrite(line.data(), 1, line.size(), file_);
            std::fputc('\n', file_);
            std::fflush(file_);
        }
        entries_.push_back({std::chrono::system_clock::now(), std::move(line)});
    }
    arrived_.notify_all();
}

std::vector<Transcript::Entry> Transcript::entries() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

std::vector<std::string> Transcript::lines() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> result;
    result.reserve(entries_.size());
    for (const Entry& entry : entries_) result.push_back(entry.line);
    return result;
}

std::size_t Transcript::size() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

void Transcript::clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}

bool Transcript::waitForCount(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, timeout, [&] { return entries_.size() >= count; });
}

}  // namespace kx::sim
