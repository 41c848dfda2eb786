#pragma once

// What the benchmarks measure of their own process, from /proc (Linux): the CPU time and the
// wake-ups of single threads, resident memory and open descriptors. Header only; each
// benchmark program includes it once.

#include <dirent.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace kx::bench {

// The calling thread's id.
inline int currentThreadId() {
    return static_cast<int>(::syscall(SYS_gettid));
}

// The ids of the process's threads, in ascending order.
inline std::vector<int> threadIds() {
    std::vector<int> ids;
    if (DIR* dir = ::opendir("/proc/self/task")) {
        while (const dirent* entry = ::readdir(dir))
            if (entry->d_name[0] >= '0' && entry->d_name[0] <= '9')
                ids.push_back(std::atoi(entry->d_name));
        ::closedir(dir);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

// The threads in `after` that are not in `before` (the thread a component just started).
inline std::vector<int> newThreads(const std::vector<int>& before, const std::vector<int>& after) {
    std::vector<int> added;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::back_inserter(added));
    return added;
}

struct ThreadSample {
    double cpuMs = 0;    // user + system time so far
    long wakeUps = 0;    // voluntary context switches: each one is a sleep that ended
    long preempted = 0;  // involuntary context switches
};

// A thread of this process. Its CPU clock is the kernel's per-thread clock (what
// pthread_getcpuclockid gives), so it has nanosecond resolution, unlike /proc's ticks.
inline ThreadSample sampleThread(int tid) {
    ThreadSample sample;
    const clockid_t clock = static_cast<clockid_t>((~static_cast<unsigned>(tid) << 3) | 6u);
    timespec t{};
    if (::clock_gettime(clock, &t) == 0)
        sample.cpuMs = static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
    std::ifstream status("/proc/self/task/" + std::to_string(tid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
            sample.wakeUps = std::atol(line.c_str() + std::strlen("voluntary_ctxt_switches:"));
        else if (line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
            sample.preempted = std::atol(line.c_str() + std::strlen("nonvoluntary_ctxt_switches:"));
    }
    return sample;
}

// The CPU time of the whole process so far (every thread), in ms.
inline double processCpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

// Resident memory (VmRSS) in KiB, 0 when unknown.
inline long residentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + std::strlen("VmRSS:"));
    return 0;
}

// Open descriptors of the process (the one that lists them is not counted).
inline int openDescriptors() {
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (const dirent* entry = ::readdir(dir))
            if (entry->d_name[0] != '.')
                ++count;
        ::closedir(dir);
        --count;
    }
    return count;
}

}  // namespace kx::bench
