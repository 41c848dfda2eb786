#pragma once

// The serial line between the program and the emulated adapter, as a pseudo-terminal of its
// own: the program opens device(), and the tap carries every byte to and from the adapter's
// pty. It notes when the last byte of a reply reached the program and when the next command
// began, so a benchmark can see the gap between the two from the line's side.
//
// Paced, the tap is the line: each byte takes its 10 bits at 115200 bit/s in each direction
// and reaches the other side in groups of up to 8 (as a UART's FIFO hands them over), the
// last byte of a burst exactly when its line time is over. The adapter behind it then answers
// at once. Unpaced, the tap forwards at once, behind an adapter that paces itself.

#include <chrono>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kx::bench {

class LineTap {
public:
    using Clock = std::chrono::steady_clock;
    // One byte on the line: 10 bits at 115200 bit/s.
    static constexpr auto kByteTime = std::chrono::nanoseconds(86806);

    LineTap(const std::string& adapterDevice, bool paced);
    ~LineTap();
    LineTap(const LineTap&) = delete;
    LineTap& operator=(const LineTap&) = delete;

    bool ok() const { return thread_.joinable(); }
    const std::string& error() const { return error_; }
    // The program's end of the line.
    const std::string& device() const { return device_; }

    struct Counts {
        std::size_t commandBytes = 0;  // from the program
        std::size_t replyBytes = 0;    // from the adapter
        // For each command after the first of a read: from the last byte of the reply before
        // it reaching the program to the command's first byte leaving the program, in us.
        std::vector<double> gapsUs;
        Clock::time_point firstCommand{};  // the first command byte of the read left the program
        Clock::time_point lastReply{};     // the last reply byte reached the program
    };
    // A read begins: its first command follows no reply of the same read, so it has no gap.
    void beginRead();
    // What was counted since the last take().
    Counts take();

private:
    struct Direction {
        int from = -1;
        int to = -1;
        bool toProgram = false;
        std::deque<std::pair<char, Clock::time_point>> queue;  // bytes and when they are due
        Clock::time_point lineFree{};                          // the last queued byte's due time
    };

    void run();
    void arrive(Direction& d, const char* bytes, std::size_t count, Clock::time_point now);
    void deliverDue(Direction& d, Clock::time_point now);
    Clock::time_point nextDue(const Direction& d) const;

    bool paced_;
    int master_ = -1;  // the program's end: master here, slave opened by the program
    int slave_ = -1;   // kept open, so the master never sees a hang-up between programs
    int adapter_ = -1;
    int stop_[2] = {-1, -1};
    std::string device_;
    std::string error_;
    std::thread thread_;

    std::mutex mutex_;
    Counts counts_;
    bool firstOfRead_ = true;
    bool replyDelivered_ = false;  // a reply byte reached the program since the last command
    Clock::time_point lastReplyByte_{};
};

}  // namespace kx::bench
