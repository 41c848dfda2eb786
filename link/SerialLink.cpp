#include "link/SerialLink.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <system_error>
#include <utility>

#include "link/DeviceHolder.h"
#include "link/Exchange.h"

namespace kx {

namespace {

constexpr auto kReaderStartLimit = std::chrono::milliseconds(5000);
constexpr std::size_t kReadChunk = 512;
// One byte on the line: 10 bits at 115200 bit/s.
constexpr auto kByteTime = std::chrono::nanoseconds(86806);

std::string errorText(int error) {
    return std::strerror(error);
}

bool isDisconnectError(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
}

// Raw 8N1 at 115200, no flow control of any kind. CLOCAL: a USB adapter often has no carrier
// line, and we must neither block on it nor be hung up by it. VMIN 1 / VTIME 0 on the
// non-blocking descriptor: "no data" is EAGAIN, so a read of 0 bytes can only mean hang-up.
void applyLineSettings(termios& line) {
    line.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                           ICRNL | IXON | IXOFF | IXANY | INPCK);
    line.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    line.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    line.c_cflag |= CS8 | CREAD | CLOCAL;
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 0;
    cfsetispeed(&line, B115200);
    cfsetospeed(&line, B115200);
}

bool lineIsSet(const termios& line) {
    return (line.c_cflag & CSIZE) == CS8 && (line.c_cflag & (PARENB | CSTOPB | CRTSCTS)) == 0 &&
           (line.c_lflag & ICANON) == 0 && cfgetospeed(&line) == B115200;
}

void setModemLines(int fd, bool raise) {
    // ptys and some adapters have no modem lines; the link works without them.
    int bits = TIOCM_DTR | TIOCM_RTS;
    (void)ioctl(fd, raise ? TIOCMBIS : TIOCMBIC, &bits);
}

}  // namespace

int OpenResult::code() const {
    switch (outcome) {
        case OpenOutcome::Ok:
            return 1;
        case OpenOutcome::CannotOpen:
            return -1;
        case OpenOutcome::LineSettings:
            return -2;
        case OpenOutcome::ReaderThread:
            return -3;
        case OpenOutcome::ReaderSilent:
            return 5000;
    }
    return -1;
}

std::string OpenFailureReason(int error) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return "no such device";
        case EACCES:
        case EPERM:
            return "permission denied: add your user to the dialout group";
        case EBUSY:
        case EWOULDBLOCK:
            return "held by another program";
        default:
            return errorText(error);
    }
}

namespace {
// A device that another program holds is named with that program where /proc shows it.
std::string openFailureReason(int error, const std::string& device) {
    if (error == EBUSY || error == EWOULDBLOCK)
        return HeldByText(device);
    return OpenFailureReason(error);
}
}  // namespace

struct SerialLink::SavedLine {
    termios line{};
};

SerialLink::SerialLink(Pump& pump, LogFn log)
    : pump_(pump), log_(std::move(log)), savedLine_(std::make_unique<SavedLine>()) {}

SerialLink::~SerialLink() {
    close();
}

OpenResult SerialLink::open(const std::string& device) {
    close();
    {
        std::lock_guard lock(mutex_);
        started_ = false;
        receivedLength_ = 0;
        droppedCount_ = 0;
        search_ = KindSearch();
        matching_ = waiting_ = complete_ = lost_ = lostReported_ = false;
        lostReason_.clear();
    }
    device_ = device;

    auto fail = [this](OpenOutcome outcome, int error, std::string reason) {
        stopReader();
        if (fd_ >= 0) {
            if (haveSavedLine_) {
                setModemLines(fd_, false);
                (void)tcsetattr(fd_, TCSANOW, &savedLine_->line);
                (void)ioctl(fd_, TIOCNXCL);
            }
            ::close(fd_);
            fd_ = -1;
        }
        haveSavedLine_ = false;
        return OpenResult{outcome, error, std::move(reason)};
    };

    fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        const int error = errno;
        return fail(OpenOutcome::CannotOpen, error, openFailureReason(error, device));
    }
    // The lock comes before TIOCEXCL, so a failed attempt never changes a port another
    // program holds. flock also keeps out a second instance running as root, whom TIOCEXCL
    // does not stop.
    if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        return fail(OpenOutcome::CannotOpen, error, openFailureReason(error, device));
    }
    if (tcgetattr(fd_, &savedLine_->line) != 0) {
        const int error = errno;
        return fail(OpenOutcome::LineSettings, error,
                    error == ENOTTY ? "not a serial port" : errorText(error));
    }
    if (ioctl(fd_, TIOCEXCL) != 0) {
        const int error = errno;
        return fail(OpenOutcome::CannotOpen, error, openFailureReason(error, device));
    }
    haveSavedLine_ = true;

    termios line = savedLine_->line;
    applyLineSettings(line);
    if (tcsetattr(fd_, TCSANOW, &line) != 0) {
        const int error = errno;
        return fail(OpenOutcome::LineSettings, error, "line settings refused: " + errorText(error));
    }
    // tcsetattr succeeds when any part was applied; check that all of it was.
    termios applied{};
    if (tcgetattr(fd_, &applied) != 0 || !lineIsSet(applied)) {
        return fail(OpenOutcome::LineSettings, 0, "the port does not take 115200 bit/s 8N1");
    }
    setModemLines(fd_, true);

    stopFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd_ < 0) {
        const int error = errno;
        return fail(OpenOutcome::ReaderThread, error, "reader thread: " + errorText(error));
    }
    try {
        reader_ = std::thread([this] { readerLoop(); });
    } catch (const std::system_error& e) {
        return fail(OpenOutcome::ReaderThread, e.code().value(),
                    "reader thread: " + e.code().message());
    }
    std::unique_lock lock(mutex_);
    if (!readerStarted_.wait_for(lock, kReaderStartLimit, [this] { return started_; })) {
        lock.unlock();
        return fail(OpenOutcome::ReaderSilent, 0, "the reader thread did not start");
    }
    return OpenResult{OpenOutcome::Ok, 0, {}};
}

void SerialLink::stopReader() {
    if (reader_.joinable()) {
        const std::uint64_t one = 1;
        (void)!::write(stopFd_, &one, sizeof one);
        reader_.join();
    }
    if (stopFd_ >= 0) {
        ::close(stopFd_);
        stopFd_ = -1;
    }
}

bool SerialLink::close() {
    if (fd_ < 0) {
        return true;
    }
    stopReader();
    deliverEvents();  // a loss nobody has noticed yet still gets its one line
    // After a hang-up these fail with EIO; there is nothing left to restore then.
    setModemLines(fd_, false);
    if (haveSavedLine_) {
        (void)tcsetattr(fd_, TCSANOW, &savedLine_->line);
        (void)ioctl(fd_, TIOCNXCL);
    }
    haveSavedLine_ = false;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    std::lock_guard lock(mutex_);
    matching_ = waiting_ = complete_ = false;
    return closed;
}

bool SerialLink::lost() const {
    std::lock_guard lock(mutex_);
    return lost_;
}

std::size_t SerialLink::receivedCount() const {
    std::lock_guard lock(mutex_);
    return receivedLength_ + droppedCount_;
}

void SerialLink::readerLoop() {
    {
        std::lock_guard lock(mutex_);
        started_ = true;
    }
    readerStarted_.notify_all();

    char chunk[kReadChunk];
    bool slept = false;  // the last read was followed by a sleep of ours
    for (;;) {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
        const auto pollStart = std::chrono::steady_clock::now();
        const int ready = poll(fds, 2, -1);
        // bytes that were there at once gathered during our sleep; after a real wait they are
        // what the line delivered in one piece
        const bool waited = std::chrono::steady_clock::now() - pollStart >= kByteTime;
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            markLost("poll: " + errorText(errno));
            return;
        }
        if (fds[1].revents != 0) {
            return;  // close() asks us to stop
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t count = ::read(fd_, chunk, sizeof chunk);
            if (count > 0) {
                const std::size_t needed = append(chunk, static_cast<std::size_t>(count));
                // The terminator cannot complete before its missing bytes have crossed the
                // line, so there is no hurry to look again. While bytes trickle in (a piece
                // smaller than the terminator still needs, or what gathered in our last
                // sleep), sleeping until they can be there takes them in one wake-up. While
                // they come in pieces of at least that many (a UART's FIFO, a USB adapter's
                // packets), the next piece wakes us anyway and a sleep first would only add a
                // second wake-up. No later completion either way.
                const bool trickling =
                    static_cast<std::size_t>(count) < needed || (slept && !waited);
                slept = needed > 1 && trickling;
                if (slept) {
                    std::this_thread::sleep_for(kByteTime * static_cast<long>(needed - 1));
                }
                continue;
            }
            if (count == 0) {
                markLost("the device was disconnected");
                return;
            }
            const int error = errno;
            if (error != EINTR && error != EAGAIN && error != EWOULDBLOCK) {
                markLost(isDisconnectError(error)
                             ? "the device was disconnected (" + errorText(error) + ")"
                             : "read: " + errorText(error));
                return;
            }
        }
        // Checked after reading, so the last bytes before a hang-up are kept; leaving here
        // keeps a hung-up descriptor from making poll() return at once forever.
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            markLost("the device hung up");
            return;
        }
    }
}

std::size_t SerialLink::append(const char* bytes, std::size_t count) {
    bool wake = false;
    std::size_t needed = 0;
    {
        std::lock_guard lock(mutex_);
        const std::size_t room = kReceiveCapacity - 1 - receivedLength_;
        const std::size_t kept = count < room ? count : room;
        std::memcpy(received_ + receivedLength_, bytes, kept);
        receivedLength_ += kept;
        droppedCount_ += count - kept;
        // Dropped bytes are still searched: a long reply must still end its exchange.
        if (matching_ && !complete_ && search_.push(std::string_view(bytes, count))) {
            complete_ = true;
            wake = waiting_;
        }
        needed = matching_ && waiting_ && !complete_ ? search_.remaining() : 0;
    }
    if (wake) {
        pump_.wake();
    }
    return needed;
}

void SerialLink::markLost(std::string reason) {
    {
        std::lock_guard lock(mutex_);
        lost_ = true;
        lostReason_ = std::move(reason);
    }
    pump_.wake();
}

void SerialLink::deliverEvents() {
    std::string line;
    {
        std::lock_guard lock(mutex_);
        if (!lost_ || lostReported_) {
            return;
        }
        lostReported_ = true;
        line = "Serial link lost: " + device_ + ": " + lostReason_ + "\r\n";
    }
    if (log_) {
        log_(line);
    }
}

long SerialLink::write(std::string_view bytes) {
    if (fd_ < 0) {
        return -1;
    }
    {
        std::lock_guard lock(mutex_);
        if (lost_) {
            return -1;
        }
        // A reply still arriving for an earlier, timed-out command ends up here and is gone.
        receivedLength_ = 0;
        droppedCount_ = 0;
        received_[0] = '\0';
        search_.reset();
        complete_ = false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000) +
                          std::chrono::milliseconds(10) * static_cast<long>(bytes.size());
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (count > 0) {
            done += static_cast<std::size_t>(count);
            continue;
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            return -1;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return -1;
        }
        pollfd out{fd_, POLLOUT, 0};
        const int ready = poll(&out, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR) {
            return -1;
        }
        if (ready > 0 && (out.revents & (POLLERR | POLLHUP | POLLNVAL))) {
            return -1;
        }
    }
    return static_cast<long>(done);
}

ExchangeOutcome SerialLink::exchange(std::string_view command, ReplyBuffer& reply,
                                     std::chrono::milliseconds timeout, int kind) {
    if (exchanging_) {
        reply.clear();
        return ExchangeOutcome::Busy;
    }
    if (fd_ < 0) {
        reply.clear();
        return ExchangeOutcome::NoLink;
    }
    if (lost()) {
        deliverEvents();
        reply.clear();
        return ExchangeOutcome::LinkLost;
    }
    exchanging_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{exchanging_};

    // Armed before anything is written, so a fast reply cannot be missed.
    {
        std::lock_guard lock(mutex_);
        search_ = KindSearch(kind);
        matching_ = true;
        complete_ = false;
        waiting_ = true;
    }
    const bool written = write(command) == static_cast<long>(command.size());
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (written) {
        {
            std::lock_guard lock(mutex_);
            if (complete_ || lost_) {
                break;
            }
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            break;
        }
        // Rounded up, so the last fraction of a millisecond is slept, not spun.
        pump_.waitFor(std::chrono::ceil<std::chrono::milliseconds>(deadline - now));
    }

    bool complete = false;
    bool lostNow = false;
    {
        std::lock_guard lock(mutex_);
        waiting_ = false;
        reply.assign(std::string_view(received_, receivedLength_), droppedCount_ > 0);
        complete = complete_;
        lostNow = lost_;
    }
    if (lostNow) {
        deliverEvents();
    }
    if (complete) {
        return ExchangeOutcome::Ok;
    }
    if (lostNow) {
        return ExchangeOutcome::LinkLost;
    }
    if (!written) {
        return ExchangeOutcome::WriteFailed;
    }
    return TerminatorsOf(kind).empty() ? ExchangeOutcome::UnknownKind : ExchangeOutcome::TimedOut;
}

// The process-wide link.

namespace {
std::unique_ptr<SerialLink> processLink;
}  // namespace

OpenResult OpenSerialPort(const std::string& device) {
    CloseSerialPort();
    processLink = std::make_unique<SerialLink>(ExchangePump(),
                                               [](std::string_view line) { LogLinkLine(line); });
    OpenResult result = processLink->open(device);
    if (result.ok()) {
        SetActiveLink(processLink.get());
    } else {
        processLink.reset();
    }
    return result;
}

int CloseSerialPort() {
    if (!processLink) {
        return 1;
    }
    if (ActiveLink() == processLink.get()) {
        SetActiveLink(nullptr);
    }
    const bool closed = processLink->close();
    processLink.reset();
    return closed ? 1 : 0;
}

long WriteSerial(std::string_view bytes) {
    return processLink ? processLink->write(bytes) : -1;
}

SerialLink* ProcessSerialLink() {
    return processLink.get();
}

}  // namespace kx
