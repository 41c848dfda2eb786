#include <gtest/gtest.h>
#include <termios.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "link/BlockingPump.h"
#include "link/Exchange.h"
#include "link/SerialLink.h"
#include "tests/link/PtyPeer.h"

namespace kx {
namespace {

using std::chrono::milliseconds;
using test::PtyPeer;
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

// One link, one exchange a row, each waiting out its time; the peer answers each command with
// its row's reply. The exchanges that complete (a terminator in lower case, dripped byte by byte,
// the probe's bare line end that the prompt or an OK line ends) are every session's against the
// emulated adapter: the fault matrix's lower-case and dripped-bytes columns and
// Probe.BareLineEndEndsAtTheEmulatedAdaptersPrompt.
TEST_F(SerialLinkTest, ExchangeTable) {
    const struct Row {
        std::string command;
        Reply reply;
        int kind;
        ExchangeOutcome outcome;
    } rows[] = {
        // kind 9 matches nothing, so it waits out its time; the reply holds what arrived
        {"ATT1\r", {{"\r\nOK\r\n\r\n# "}}, 9, ExchangeOutcome::UnknownKind},
        {"fromwr 15\r", {}, kTerminatorWriteOk, ExchangeOutcome::TimedOut},
    };
    start([&](const std::string& command) {
        for (const Row& row : rows) {
            if (row.command == command) {
                return row.reply;
            }
        }
        return Reply{};
    });
    // A second exchange started from inside a wait (a posted event) is refused, sends nothing.
    ExchangeOutcome nested = ExchangeOutcome::Ok;
    ReplyBuffer other;
    pump.onWait = [&] { nested = exchange("exit\r", other, kGenerous, kTerminatorOk); };
    std::vector<std::string> sent;
    for (const Row& row : rows) {
        sent.push_back(row.command);
        ReplyBuffer reply(kMainReplyCapacity);
        const auto begin = std::chrono::steady_clock::now();
        EXPECT_EQ(exchange(row.command, reply, kShort, row.kind), row.outcome) << row.command;
        EXPECT_GE(std::chrono::steady_clock::now() - begin, kShort) << row.command;
        const std::string arrived = row.reply.chunks.empty() ? "" : row.reply.chunks.front();
        EXPECT_EQ(arrived.substr(0, reply.size()), reply.view()) << row.command;
        EXPECT_EQ(std::strlen(reply.c_str()), reply.size()) << row.command;
        EXPECT_FALSE(reply.truncated()) << row.command;
    }
    EXPECT_EQ(nested, ExchangeOutcome::Busy);
    EXPECT_EQ(peer->commands(), sent);
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

// The late bytes of a timed-out exchange neither complete nor pollute the next one.
TEST_F(SerialLinkTest, LateReplyDiscardedByNextSend) {
    start([](const std::string& command) {
        return command == "second\r" ? Reply{{"second\r\n# "}} : Reply{};
    });
    ReplyBuffer reply;
    EXPECT_EQ(exchange("first\r", reply, kShort), ExchangeOutcome::TimedOut);
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

}  // namespace
}  // namespace kx
