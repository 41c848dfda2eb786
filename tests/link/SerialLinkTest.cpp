// The serial link over a pseudo-terminal, the process-wide link and who holds a device; the
// network link's client telnet machine.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "link/BlockingPump.h"
#include "link/DeviceHolder.h"
#include "link/Exchange.h"
#include "link/NetLink.h"
#include "link/NetTelnet.h"
#include "link/SerialLink.h"

namespace kx {
namespace {

using std::chrono::milliseconds;

// The adapter's end of a pseudo-terminal: answers each command line it reads with the chunks a
// test gives, optionally with gaps between them.
class PtyPeer {
public:
    struct Reply {
        std::vector<std::string> chunks;
        std::chrono::milliseconds gap{0};  // before every chunk after the first
    };
    using Responder = std::function<Reply(const std::string& command)>;
    static constexpr speed_t kInitialSpeed = B9600;

    // Raw from the start (no echo of what the peer writes), at a speed the link must change
    // and restore. The peer keeps its own slave descriptor: with no slave open the master
    // reports a hang-up to poll() and the peer would spin.
    explicit PtyPeer(Responder responder = {}) : responder_(std::move(responder)) {
        char name[128] = {};
        termios line{};
        cfmakeraw(&line);
        cfsetspeed(&line, kInitialSpeed);
        if (openpty(&master_, &slave_, name, &line, nullptr) == 0 && pipe2(stop_, O_CLOEXEC) == 0) {
            device_ = name;
            thread_ = std::thread([this] { run(); });
        }
    }
    ~PtyPeer() {
        if (thread_.joinable()) {
            (void)!write(stop_[1], "x", 1);
            thread_.join();
        }
        for (int fd : {master_, slave_, stop_[0], stop_[1]}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }

    bool ok() const { return thread_.joinable(); }
    const std::string& device() const { return device_; }
    int master() const { return master_; }

    // Unsolicited bytes from the adapter, written now from the calling thread.
    void send(std::string_view bytes) {
        std::lock_guard lock(mutex_);
        if (master_ >= 0) {
            (void)!::write(master_, bytes.data(), bytes.size());
        }
    }
    std::vector<std::string> commands() const {
        std::lock_guard lock(mutex_);
        return commands_;
    }

private:
    void run() {
        std::string line;
        char c = 0;
        for (;;) {
            pollfd fds[2] = {{master_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
            if (poll(fds, 2, -1) < 0 || fds[1].revents != 0 || ::read(master_, &c, 1) != 1) {
                return;
            }
            if ((line += c).back() != '\r') {
                continue;
            }
            {
                std::lock_guard lock(mutex_);
                commands_.push_back(line);
            }
            const Reply reply = responder_ ? responder_(line) : Reply{};
            line.clear();
            for (std::size_t i = 0; i < reply.chunks.size(); ++i) {
                if (i > 0) {
                    std::this_thread::sleep_for(reply.gap);
                }
                send(reply.chunks[i]);
            }
        }
    }

    Responder responder_;
    int master_ = -1, slave_ = -1;
    int stop_[2] = {-1, -1};
    std::string device_;
    std::thread thread_;
    mutable std::mutex mutex_;  // for the master's writes and the commands
    std::vector<std::string> commands_;
};

using Reply = PtyPeer::Reply;

constexpr milliseconds kGenerous{20000};  // for exchanges that must succeed
constexpr milliseconds kShort{300};       // for exchanges that must time out

// Counts the waits, so a test can tell "failed at once" from "failed after waiting".
class CountingPump final : public Pump {
public:
    void waitFor(milliseconds limit) override {
        ++waits;
        if (auto hook = std::exchange(onWait, nullptr)) {
            hook();
        }
        inner.waitFor(limit);
    }
    void wake() override { inner.wake(); }

    std::atomic<int> waits{0};
    std::function<void()> onWait;  // runs once, in the next wait
    BlockingPump inner;
};

class SerialLinkTest : public ::testing::Test {
protected:
    void start(PtyPeer::Responder responder) {
        peer = std::make_unique<PtyPeer>(std::move(responder));
        ASSERT_TRUE(peer->ok());
        link =
            std::make_unique<SerialLink>(pump, [this](std::string_view l) { log.emplace_back(l); });
        const OpenResult opened = link->open(peer->device());
        ASSERT_TRUE(opened.ok()) << opened.reason;
        ASSERT_EQ(opened.code(), 1);
    }
    ExchangeOutcome exchange(const std::string& command, ReplyBuffer& reply,
                             milliseconds timeout = kGenerous, int kind = kTerminatorPrompt) {
        return link->exchange(command, reply, timeout, kind);
    }
    CountingPump pump;
    std::vector<std::string> log;  // members go in reverse order: the link before peer and log
    std::unique_ptr<PtyPeer> peer;
    std::unique_ptr<SerialLink> link;
};

// An exchange of a kind that matches nothing waits out its time, its reply holding what
// arrived; a second exchange started from inside the wait (a posted event) is refused and sends
// nothing. The exchanges that complete (a terminator in lower case, dripped byte by byte, the
// probe's bare line end that the prompt or an OK line ends) are every session's against the
// emulated adapter: the fault matrix's lower-case and dripped-bytes columns and every probe.
TEST_F(SerialLinkTest, UnknownKindWaitsOutItsTimeAndANestedExchangeIsRefused) {
    const std::string arrived = "\r\nOK\r\n\r\n# ";
    start([&](const std::string&) { return Reply{{arrived}}; });
    ExchangeOutcome nested = ExchangeOutcome::Ok;
    ReplyBuffer other;
    pump.onWait = [&] { nested = exchange("exit\r", other, kGenerous, kTerminatorOk); };
    ReplyBuffer reply(kMainReplyCapacity);
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(exchange("ATT1\r", reply, kShort, 9), ExchangeOutcome::UnknownKind);
    EXPECT_GE(std::chrono::steady_clock::now() - begin, kShort);
    EXPECT_EQ(arrived.substr(0, reply.size()), reply.view());
    EXPECT_EQ(std::strlen(reply.c_str()), reply.size());
    EXPECT_FALSE(reply.truncated());
    EXPECT_EQ(nested, ExchangeOutcome::Busy);
    EXPECT_EQ(peer->commands(), std::vector<std::string>{"ATT1\r"});
    EXPECT_TRUE(log.empty());
}

// A reply longer than the caller's buffer: no byte past it is touched, what fits is kept, and
// the terminator at the far end still completes the exchange.
TEST_F(SerialLinkTest, OverlongReplyKeepsWhatFits) {
    std::string whole = "show router\r\n";
    for (int i = 0; whole.size() < 3000; ++i) {
        whole += "label" + std::to_string(i) + ": value\r\n";
    }
    whole += "\r\n# ";
    start([whole](const std::string&) {
        return Reply{{whole.substr(0, 1500), whole.substr(1500)}};
    });

    std::vector<char> storage(kWriterReplyCapacity + 64, '\x5A');  // a canary past the end
    ReplyBuffer small(std::span<char>(storage.data(), kWriterReplyCapacity));
    EXPECT_EQ(exchange("show router\r", small), ExchangeOutcome::Ok);
    EXPECT_EQ(small.view(), whole.substr(0, kWriterReplyCapacity - 1));
    EXPECT_EQ(storage[kWriterReplyCapacity - 1], '\0');
    EXPECT_TRUE(small.truncated());
    for (std::size_t i = kWriterReplyCapacity; i < storage.size(); ++i) {
        ASSERT_EQ(storage[i], '\x5A') << "overrun at " << i;
    }
}

// The waiting thread sleeps through a reply that trickles in, in pieces of one byte and of a
// burst: the reader wakes it when the terminator is complete, never for the bytes before it.
TEST_F(SerialLinkTest, WaiterWakesOnlyAtTheTerminator) {
    std::string whole = "show analog tel1\r\n";
    for (int i = 0; i < 8; ++i) {
        whole += "label" + std::to_string(i) + ": value\r\n";
    }
    whole += "\r\n# ";
    std::vector<std::string> pieces;
    for (std::size_t at = 0; at < whole.size(); at += pieces.back().size()) {
        pieces.push_back(whole.substr(at, pieces.size() % 2 == 0 ? 1 : 16));
    }
    start([pieces](const std::string&) { return Reply{pieces, milliseconds(1)}; });
    ReplyBuffer reply;
    pump.waits = 0;
    EXPECT_EQ(exchange("show analog tel1\r", reply), ExchangeOutcome::Ok);
    EXPECT_EQ(reply.view(), whole);
    EXPECT_LE(pump.waits.load(), 1);
}

// An exchange without its reply waits out its time; the late bytes neither complete nor
// pollute the next one.
TEST_F(SerialLinkTest, LateReplyDiscardedByNextSend) {
    start([](const std::string& command) {
        return command == "second\r" ? Reply{{"second\r\n# "}} : Reply{};
    });
    ReplyBuffer reply;
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(exchange("first\r", reply, kShort), ExchangeOutcome::TimedOut);
    EXPECT_GE(std::chrono::steady_clock::now() - begin, kShort);
    EXPECT_EQ(reply.view(), "");
    const std::string late = "first\r\nlate: 1\r\n# ";
    peer->send(late);
    const auto deadline = std::chrono::steady_clock::now() + kGenerous;  // bounded, not timed
    while (link->receivedCount() < late.size() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(milliseconds(1));
    ASSERT_GE(link->receivedCount(), late.size());
    EXPECT_EQ(exchange("second\r", reply), ExchangeOutcome::Ok);
    EXPECT_EQ(reply.view(), "second\r\n# ");
}

// While open the line is raw 8N1 at 115200 and held exclusively; close restores it.
TEST_F(SerialLinkTest, LineSetAndHeldWhileOpen) {
    start({});
    termios line{};
    ASSERT_EQ(tcgetattr(peer->master(), &line), 0);  // a pty master reports the slave's line
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B115200));
    EXPECT_EQ(cfgetispeed(&line), static_cast<speed_t>(B115200));
    EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS | CLOCAL),
              static_cast<tcflag_t>(CS8 | CLOCAL));
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);

    SerialLink second(pump, {});
    const OpenResult refused = second.open(peer->device());
    EXPECT_EQ(refused.outcome, OpenOutcome::CannotOpen);
    EXPECT_EQ(refused.code(), -1);
    EXPECT_EQ(refused.reason, "held by another program");
    EXPECT_FALSE(second.isOpen());
    EXPECT_FALSE(link->lost());  // the first link is undisturbed

    EXPECT_TRUE(link->close());
    ASSERT_EQ(tcgetattr(peer->master(), &line), 0);
    EXPECT_EQ(cfgetospeed(&line), PtyPeer::kInitialSpeed);
}

// Who holds a serial device: another process that has it open and locked is named, as fuser
// names it, and opening the port then says so.
TEST(DeviceHolder, AnotherProgramThatHoldsThePortIsNamed) {
    PtyPeer peer;
    ASSERT_TRUE(peer.ok());
    const std::string device = peer.device();
    // this process has the device open too: it does not count as a holder
    EXPECT_FALSE(FindDeviceHolder(device));

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        // a program that opened the port and locked it, as one that talks to a modem does
        ::prctl(PR_SET_NAME, "ModemManager");
        const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY);
        if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0)
            ::_exit(1);
        (void)!::write(ready[1], "x", 1);
        ::pause();
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    const std::string held = "held by ModemManager (pid " + std::to_string(child) + ")";
    const std::optional<DeviceHolder> holder = FindDeviceHolder(device);
    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->pid, child);
    EXPECT_EQ(holder->name, "ModemManager");
    EXPECT_EQ(HeldByText(device), held);

    SerialLink link(ExchangePump(), [](std::string_view) {});
    const OpenResult opened = link.open(device);
    EXPECT_FALSE(opened.ok());
    EXPECT_EQ(opened.reason, held);

    ::kill(child, SIGTERM);
    ::waitpid(child, nullptr, 0);
    for (int fd : ready) ::close(fd);
}

// The process-wide link behind SendCommand: a failed open says why, and with no port open
// every call fails at once. Opened, it is every session test's link.
TEST(SendCommand, OverTheProcessLink) {
    const std::string denied = "permission denied: add your user to the dialout group";
    // clang-format off
    const std::pair<int, std::string> reasons[] = {
        {ENOENT, "no such device"}, {ENODEV, "no such device"}, {ENXIO, "no such device"},
        {EACCES, denied}, {EPERM, denied}, {EBUSY, "held by another program"},
        {EWOULDBLOCK, "held by another program"}, {EIO, std::strerror(EIO)},
    };
    // clang-format on
    for (const auto& [error, reason] : reasons) {
        EXPECT_EQ(OpenFailureReason(error), reason) << error;
    }
    CountingPump pump;
    SetExchangePump(&pump);
    OpenResult result = OpenSerialPort("/dev/kestrelx-no-such-port");
    EXPECT_EQ(result.code(), -1);
    EXPECT_EQ(result.error, ENOENT);
    EXPECT_EQ(result.reason, "no such device");
    result = OpenSerialPort("/dev/null");
    EXPECT_EQ(result.outcome, OpenOutcome::LineSettings);
    EXPECT_EQ(result.code(), -2);
    EXPECT_EQ(result.reason, "not a serial port");
    ReplyBuffer reply;
    EXPECT_EQ(ActiveLink(), nullptr);
    EXPECT_EQ(SendCommand("ATI\r", reply, 20000, kTerminatorOk), 0);
    EXPECT_EQ(WriteSerial("ATI\r"), -1);
    EXPECT_EQ(CloseSerialPort(), 1);
    EXPECT_EQ(pump.waits, 0);

    SetExchangePump(nullptr);
}

// The client telnet machine, pushed bytes by hand: the answers and the bounded reply. A reply
// holds the data bytes only, a doubled 255 as one: NetTelnetFuzzer's reference, and
// NetworkLinkTest.BytesOnTheWire's greetings with commands among the text. Each exchange's
// terminator (the login prompt, the password prompt, the administrator's prompt) and the replies
// that must not end one (a refused password, a prompt without its blank) are
// NetworkLinkTest.Login's and BytesOnTheWire's.
std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

// Pushes every byte; returns how many completed a telnet command.
int push(NetTelnet& t, std::string_view data) {
    int answered = 0;
    for (char c : data)
        answered += t.NetReceiveByte(static_cast<unsigned char>(c)) == NetByte::Answered;
    return answered;
}

// The answers to what the adapter offers, and to an unknown offer, are
// NetworkLinkTest.BytesOnTheWire's, on the wire; these are the rest of the table.
TEST(NetTelnetTest, AnswersEachCommandOfTheTable) {
    struct Row {
        int verb, option;
        std::string answer;
    } rows[] = {
        {252, 34, bytes({255, 254, 34})},
        {253, 1, bytes({255, 251, 1})},
        {253, 33, bytes({255, 252, 33})},
        {252, 1, ""},  // anything else: no answer
        {253, 3, ""},
        {254, 31, ""},
        {241, 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.verb) + " " + std::to_string(row.option));
        NetTelnet t;
        EXPECT_EQ(t.NetReceiveByte(255), NetByte::Taken);
        EXPECT_EQ(t.NetReceiveByte(static_cast<unsigned char>(row.verb)), NetByte::Taken);
        EXPECT_EQ(t.NetReceiveByte(static_cast<unsigned char>(row.option)), NetByte::Answered);
        EXPECT_EQ(t.answers(), row.answer);
        EXPECT_EQ(t.reply(), "");
    }
}

TEST(NetTelnetTest, ReplyIsBounded) {
    NetTelnet t;
    push(t, std::string(5000, 'x'));  // idle chatter beyond the capacity is dropped
    EXPECT_EQ(t.reply().size(), kNetReplyCapacity - 1);
    // an over-long reply still ends on its terminator, which lies past the kept bytes
    t.beginExchange("\r\n# ");
    push(t, std::string(3000, 'y') + "\r\n# ");
    EXPECT_TRUE(t.complete());
    EXPECT_EQ(t.reply(), std::string(kNetReplyCapacity - 1, 'y'));
    EXPECT_TRUE(t.truncated());
}

TEST(NetTelnetTest, ParsesOnlyWholeDottedAddresses) {
    std::uint32_t address = 0;
    for (const char* good : {"192.168.0.1", "010.0.0.1"}) EXPECT_TRUE(ParseIpv4(good, address));
    for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "1.2.3.256", "1.2.3.4 ", "1.2.3.4/24",
                            "1..2.3", "99999999999.1.1.1"})
        EXPECT_FALSE(ParseIpv4(bad, address)) << bad;
}

}  // namespace
}  // namespace kx
