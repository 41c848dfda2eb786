#pragma once

// The serial link to the adapter: 115200 bit/s, 8N1, raw, no flow control, DTR and RTS raised
// while open; one reader thread collects the received bytes for the exchange.
//
// Threads: open/close/write/exchange on the UI thread (one at a time). The reader thread only
// appends to the receive buffer under a lock and wakes the pump; it never calls into the app.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "link/Link.h"
#include "link/Pump.h"
#include "link/ReplyBuffer.h"
#include "link/TerminatorSearch.h"

namespace kx {

// How opening the port ended; code() gives the classic result number.
enum class OpenOutcome {
    Ok,            //  1: open, line set, reader running
    CannotOpen,    // -1: missing device, no permission, held by another program, ...
    LineSettings,  // -2: not a serial port, or the line settings were refused
    ReaderThread,  // -3: the reader thread could not be started
    ReaderSilent,  // 5000: the reader did not report within 5 s
};

struct OpenResult {
    OpenOutcome outcome = OpenOutcome::CannotOpen;
    int error = 0;       // errno of the failing call, 0 when there is none
    std::string reason;  // for the log and standard error: "held by another program", ...

    bool ok() const { return outcome == OpenOutcome::Ok; }
    int code() const;  // 1, -1, -2, -3 or 5000
};

// The reason text for an errno of open(2) or flock(2) on a serial device:
// ENOENT/ENODEV/ENXIO "no such device"; EACCES/EPERM "permission denied: add your user to the
// dialout group"; EBUSY/EWOULDBLOCK "held by another program"; anything else strerror().
std::string OpenFailureReason(int error);

// Bytes the link keeps of one reply (one of them for the terminating zero, as a C text).
inline constexpr std::size_t kReceiveCapacity = 2048;

class SerialLink final : public Link {
public:
    using LogFn = std::function<void(std::string_view line)>;

    // `pump` is woken by the reader and waited in by exchange(); `log` receives the link's own
    // log lines (on the UI thread). Both must outlive the link.
    SerialLink(Pump& pump, LogFn log);
    ~SerialLink() override;  // closes the port (stops and joins the reader)
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // Opens `device` (e.g. "/dev/ttyUSB0") exclusively: O_NOCTTY|O_NONBLOCK, flock LOCK_EX|NB,
    // TIOCEXCL. Sets the line, raises DTR and RTS, starts the reader. Closes first if open.
    OpenResult open(const std::string& device);

    // Stops the reader, lowers DTR and RTS, restores the line settings the port had, releases
    // it. Returns false only when closing the descriptor failed. Nothing to do when closed.
    bool close();

    // True from a successful open() until close(), even after the adapter vanished.
    bool isOpen() const { return fd_ >= 0; }
    // True once the reader saw the adapter vanish; every exchange then fails at once.
    bool lost() const;
    const std::string& device() const { return device_; }
    // Bytes received since the last send (kept or dropped); for diagnostics and tests.
    std::size_t receivedCount() const;

    // Clears the receive buffer, then writes all of `bytes` (waiting at most 1000 ms + 10 ms a
    // byte). Returns the count written, or -1 (nothing open, link lost, write error, time-out).
    long write(std::string_view bytes);

    // See Link::exchange. A write failure fails at once (WriteFailed) rather than waiting
    // out the time-out: nothing was sent that could be answered.
    // Receive buffer: the first kReceiveCapacity - 1 bytes of a reply are kept, later bytes
    // are dropped, but the terminator search sees every byte, so an over-long reply still
    // completes (reply.truncated() is set).
    ExchangeOutcome exchange(std::string_view command, ReplyBuffer& reply,
                             std::chrono::milliseconds timeout, int kind) override;

    // Logs "Serial link lost: REASON\r\n" once, if the reader saw the adapter vanish.
    void deliverEvents() override;

private:
    void readerLoop();
    void markLost(std::string reason);
    // Returns how many more bytes the waiting exchange needs at least (0: none waits / done).
    std::size_t append(const char* bytes, std::size_t count);
    void stopReader();

    Pump& pump_;
    LogFn log_;
    std::string device_;
    int fd_ = -1;
    int stopFd_ = -1;  // eventfd: written by close() to end the reader's poll
    bool haveSavedLine_ = false;
    struct SavedLine;                       // the system's line settings, kept in the .cpp
    std::unique_ptr<SavedLine> savedLine_;  // the line settings to restore at close
    std::thread reader_;

    // Shared with the reader thread, under mutex_.
    mutable std::mutex mutex_;
    std::condition_variable readerStarted_;
    bool started_ = false;
    char received_[kReceiveCapacity] = {};
    std::size_t receivedLength_ = 0;  // bytes kept in received_ (at most capacity - 1)
    std::size_t droppedCount_ = 0;    // bytes of this reply beyond what received_ keeps
    KindSearch search_;
    bool matching_ = false;  // off until the first exchange: earlier bytes are never tested
    bool waiting_ = false;   // an exchange waits: wake the pump when the terminator completes
    bool complete_ = false;
    bool lost_ = false;
    bool lostReported_ = false;
    std::string lostReason_;

    bool exchanging_ = false;  // UI thread only: refuses an exchange started inside a wait
};

// The process-wide serial link that SendCommand uses (one per process). Waits in
// ExchangePump() and logs through LogLinkLine() (Exchange.h).
// Opens `device`; on success it becomes the active link. On failure the result's reason is
// what the app shows after "指定したポートがオープンできません。".
OpenResult OpenSerialPort(const std::string& device);
// Closes the port (when it is the active link, no link is active afterwards). Returns 1, or 0
// when closing failed. With no port open it does nothing and returns 1.
int CloseSerialPort();
// Clears the receive buffer and writes bytes: the count written, or -1 (also when not open).
long WriteSerial(std::string_view bytes);
// The process-wide link, or nullptr when no port is open.
SerialLink* ProcessSerialLink();

}  // namespace kx
