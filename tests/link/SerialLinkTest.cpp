#include "link/SerialLink.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "link/BlockingPump.h"
#include "link/Exchange.h"
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
        if (onWait) {
            onWait();
        }
        inner.waitFor(limit);
    }
    void wake() override { inner.wake(); }

    std::atomic<int> waits{0};
    std::function<void()> onWait;
    BlockingPump inner;
};

class LogLines {
public:
    SerialLink::LogFn sink() {
        return [this](std::string_view line) {
            std::lock_guard lock(mutex_);
            lines_.emplace_back(line);
        };
    }
    std::vector<std::string> lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

// Waits (bounded, not timed) until the reader has taken `count` bytes.
bool waitForReceived(const SerialLink& link, std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + kGenerous;
    while (link.receivedCount() < count) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(milliseconds(1));
    }
    return true;
}

std::vector<std::string> bytesOf(const std::string& text) {
    std::vector<std::string> chunks;
    for (char c : text) {
        chunks.emplace_back(1, c);
    }
    return chunks;
}

class SerialLinkTest : public ::testing::Test {
protected:
    void start(PtyPeer::Responder responder) {
        peer = std::make_unique<PtyPeer>(std::move(responder));
        ASSERT_TRUE(peer->ok());
        link = std::make_unique<SerialLink>(pump, log.sink());
        const OpenResult opened = link->open(peer->device());
        ASSERT_TRUE(opened.ok()) << opened.reason;
        ASSERT_EQ(opened.code(), 1);
    }
    void TearDown() override {
        link.reset();
        peer.reset();
    }

    CountingPump pump;
    LogLines log;
    std::unique_ptr<PtyPeer> peer;
    std::unique_ptr<SerialLink> link;
};

struct ExchangeRow {
    const char* name;
    std::string command;
    Reply reply;
    int kind;
    milliseconds timeout;
    ExchangeOutcome outcome;
    std::string expected;  // the reply the caller gets
};

TEST_F(SerialLinkTest, ExchangeTable) {
    const std::string prompted = "show analog tel1\r\nring_sound: 1\r\n# ";
    const std::vector<ExchangeRow> rows = {
        {"lower-case OK line", "ATI\r", {{"ATI\r\r\nKESTRELX\r\nok\r\n"}}, kTerminatorOk,
         kGenerous, ExchangeOutcome::Ok, "ATI\r\r\nKESTRELX\r\nok\r\n"},
        {"terminator byte by byte", "show analog tel1\r", {bytesOf(prompted), milliseconds(2)},
         kTerminatorPrompt, kGenerous, ExchangeOutcome::Ok, prompted},
        {"prompt is no OK line", "exit\r", {{"exit\r\n# "}}, kTerminatorOk, kShort,
         ExchangeOutcome::TimedOut, "exit\r\n# "},
        {"kind 9 answered", "ATI\r", {{"\r\nOK\r\n\r\n# "}}, 9, kShort,
         ExchangeOutcome::UnknownKind, "\r\nOK\r\n\r\n# "},
        {"silence", "fromwr 15\r", {}, kTerminatorWriteOk, kShort, ExchangeOutcome::TimedOut,
         ""},
    };
    std::mutex mutex;
    const ExchangeRow* current = nullptr;
    start([&](const std::string&) {
        std::lock_guard lock(mutex);
        return current->reply;
    });
    for (const ExchangeRow& row : rows) {
        {
            std::lock_guard lock(mutex);
            current = &row;
        }
        ReplyBuffer reply(kMainReplyCapacity);
        EXPECT_EQ(link->exchange(row.command, reply, row.timeout, row.kind), row.outcome)
            << row.name;
        if (row.outcome == ExchangeOutcome::Ok) {
            EXPECT_EQ(reply.view(), row.expected) << row.name;
        } else {
            // after a time-out the reply holds what arrived (it may still be arriving)
            EXPECT_EQ(row.expected.substr(0, reply.size()), reply.view()) << row.name;
        }
        EXPECT_EQ(std::strlen(reply.c_str()), reply.size()) << row.name;
        EXPECT_FALSE(reply.truncated()) << row.name;
    }
    std::vector<std::string> sent;
    for (const ExchangeRow& row : rows) {
        sent.push_back(row.command);
    }
    EXPECT_EQ(peer->commands(), sent);
    EXPECT_TRUE(log.lines().empty());
}

// A reply longer than the caller's buffer: no byte past it is touched, what fits is kept, and
// the terminator at the far end still completes the exchange.
TEST_F(SerialLinkTest, OverlongReplyKeepsWhatFits) {
    std::string body;
    for (int i = 0; body.size() < 3000; ++i) {
        body += "label" + std::to_string(i) + ": value\r\n";
    }
    const std::string whole = "show router\r\n" + body + "\r\n# ";
    start([&](const std::string&) { return Reply{{whole.substr(0, 1500), whole.substr(1500)}}; });

    constexpr std::size_t kCanary = 64;
    std::vector<char> storage(kWriterReplyCapacity + kCanary, '\x5A');
    ReplyBuffer small(std::span<char>(storage.data(), kWriterReplyCapacity));
    EXPECT_EQ(link->exchange("show router\r", small, kGenerous, kTerminatorPrompt),
              ExchangeOutcome::Ok);
    EXPECT_EQ(small.size(), kWriterReplyCapacity - 1);
    EXPECT_EQ(small.view(), whole.substr(0, kWriterReplyCapacity - 1));
    EXPECT_EQ(storage[kWriterReplyCapacity - 1], '\0');
    EXPECT_TRUE(small.truncated());
    for (std::size_t i = kWriterReplyCapacity; i < storage.size(); ++i) {
        ASSERT_EQ(storage[i], '\x5A') << "overrun at " << i;
    }

    ReplyBuffer main(kMainReplyCapacity);  // exactly sized heap block: ASan sees any overrun
    EXPECT_EQ(link->exchange("show router\r", main, kGenerous, kTerminatorPrompt),
              ExchangeOutcome::Ok);
    EXPECT_EQ(main.view(), whole.substr(0, kReceiveCapacity - 1));
    EXPECT_TRUE(main.truncated());
}

TEST_F(SerialLinkTest, UnpluggedMidReply) {
    start([](const std::string& command) {
        if (command == "show analog tel1\r") {
            return Reply{{"show analog tel1\r\nring_so"}, milliseconds(0), true};
        }
        return Reply{{"\r\n# "}};
    });
    ReplyBuffer reply;
    EXPECT_EQ(link->exchange("show analog tel1\r", reply, kGenerous, kTerminatorPrompt),
              ExchangeOutcome::LinkLost);
    EXPECT_TRUE(link->lost());
    EXPECT_TRUE(link->isOpen());
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].rfind("Serial link lost: " + peer->device() + ": ", 0), 0u)
        << log.lines()[0];
    EXPECT_EQ(log.lines()[0].substr(log.lines()[0].size() - 2), "\r\n");

    const int waits = pump.waits;
    EXPECT_EQ(link->exchange("show analog tel2\r", reply, kGenerous, kTerminatorPrompt),
              ExchangeOutcome::LinkLost);
    EXPECT_EQ(pump.waits, waits);  // failed at once
    EXPECT_EQ(reply.size(), 0u);
    EXPECT_EQ(link->write("exit\r"), -1);
    EXPECT_TRUE(link->close());
    EXPECT_EQ(log.lines().size(), 1u);
}

// A loss that no exchange noticed is logged by the next call into the link, once.
TEST_F(SerialLinkTest, LossBetweenExchangesLoggedOnce) {
    start({});
    ReplyBuffer reply;
    peer->send("\r\n");
    ASSERT_TRUE(waitForReceived(*link, 2));
    peer.reset();  // the adapter goes away while nothing waits
    const auto deadline = std::chrono::steady_clock::now() + kGenerous;
    while (!link->lost() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(milliseconds(1));
    }
    ASSERT_TRUE(link->lost());
    EXPECT_TRUE(log.lines().empty());  // nothing from the reader thread
    link->deliverEvents();
    link->deliverEvents();
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(link->exchange("exit\r", reply, kGenerous, kTerminatorOk),
              ExchangeOutcome::LinkLost);
    EXPECT_TRUE(link->close());
    EXPECT_EQ(log.lines().size(), 1u);
}

TEST_F(SerialLinkTest, LateReplyDiscardedByNextSend) {
    start([](const std::string& command) {
        return command == "second\r" ? Reply{{"second\r\n# "}} : Reply{};
    });
    ReplyBuffer reply;
    EXPECT_EQ(link->exchange("first\r", reply, kShort, kTerminatorPrompt),
              ExchangeOutcome::TimedOut);
    const std::string late = "first\r\nlate: 1\r\n# ";
    peer->send(late);
    ASSERT_TRUE(waitForReceived(*link, late.size()));
    EXPECT_EQ(link->exchange("second\r", reply, kGenerous, kTerminatorPrompt),
              ExchangeOutcome::Ok);
    EXPECT_EQ(reply.view(), "second\r\n# ");
}

// Bytes from before the first exchange are kept but never tested: an old prompt in the buffer
// does not complete the first exchange.
TEST_F(SerialLinkTest, BytesBeforeFirstSendNeverTested) {
    start({});
    peer->send("\r\n# ");
    ASSERT_TRUE(waitForReceived(*link, 4));
    ReplyBuffer reply;
    EXPECT_EQ(link->exchange("ATT1\r", reply, kShort, kTerminatorPrompt),
              ExchangeOutcome::TimedOut);
    EXPECT_EQ(reply.size(), 0u);
}

TEST_F(SerialLinkTest, NestedExchangeRefused) {
    start([](const std::string&) { return Reply{{"\r\n# "}}; });
    ExchangeOutcome nested = ExchangeOutcome::Ok;
    pump.onWait = [&] {
        pump.onWait = nullptr;
        ReplyBuffer other(kWriterReplyCapacity);
        nested = link->exchange("exit\r", other, kGenerous, kTerminatorOk);
    };
    ReplyBuffer reply;
    EXPECT_EQ(link->exchange("ATT1\r", reply, kGenerous, kTerminatorPrompt),
              ExchangeOutcome::Ok);
    EXPECT_EQ(nested, ExchangeOutcome::Busy);
    EXPECT_EQ(peer->commands(), std::vector<std::string>{"ATT1\r"});
}

TEST_F(SerialLinkTest, LineSetWhileOpenAndRestoredAtClose) {
    start({});
    termios line{};
    ASSERT_EQ(tcgetattr(peer->master(), &line), 0);  // a pty master reports the slave's line
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B115200));
    EXPECT_EQ(cfgetispeed(&line), static_cast<speed_t>(B115200));
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_NE(line.c_cflag & CLOCAL, 0u);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    EXPECT_TRUE(link->close());
    ASSERT_EQ(tcgetattr(peer->master(), &line), 0);
    EXPECT_EQ(cfgetospeed(&line), PtyPeer::kInitialSpeed);
}

TEST_F(SerialLinkTest, SecondOpenRefused) {
    start({});
    SerialLink second(pump, log.sink());
    const OpenResult result = second.open(peer->device());
    EXPECT_EQ(result.outcome, OpenOutcome::CannotOpen);
    EXPECT_EQ(result.code(), -1);
    EXPECT_EQ(result.reason, "held by another program");
    EXPECT_FALSE(second.isOpen());
    // the first link is undisturbed
    EXPECT_TRUE(link->isOpen());
    EXPECT_FALSE(link->lost());
}

TEST(SerialLinkOpen, Failures) {
    BlockingPump pump;
    SerialLink link(pump, {});
    OpenResult result = link.open("/dev/kestrelx-no-such-port");
    EXPECT_EQ(result.code(), -1);
    EXPECT_EQ(result.error, ENOENT);
    EXPECT_EQ(result.reason, "no such device");
    EXPECT_FALSE(link.isOpen());

    result = link.open("/dev/null");
    EXPECT_EQ(result.outcome, OpenOutcome::LineSettings);
    EXPECT_EQ(result.code(), -2);
    EXPECT_EQ(result.reason, "not a serial port");
    EXPECT_FALSE(link.isOpen());

    ReplyBuffer reply;
    EXPECT_EQ(link.exchange("ATI\r", reply, kGenerous, kTerminatorOk), ExchangeOutcome::NoLink);
    EXPECT_EQ(link.write("ATI\r"), -1);
    EXPECT_TRUE(link.close());
}

TEST(SerialLinkOpen, FailureReasons) {
    const struct {
        int error;
        const char* reason;
    } rows[] = {
        {ENOENT, "no such device"},
        {ENODEV, "no such device"},
        {ENXIO, "no such device"},
        {EACCES, "permission denied: add your user to the dialout group"},
        {EPERM, "permission denied: add your user to the dialout group"},
        {EBUSY, "held by another program"},
        {EWOULDBLOCK, "held by another program"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(OpenFailureReason(row.error), row.reason) << row.error;
    }
    EXPECT_EQ(OpenFailureReason(EIO), std::strerror(EIO));
}

// The process-wide link behind SendCommand.
TEST(SendCommand, OverTheProcessLink) {
    ReplyBuffer reply;
    ASSERT_EQ(ActiveLink(), nullptr);
    EXPECT_EQ(SendCommand("ATI\r", reply, 20000, kTerminatorOk), 0);  // nothing open: at once
    EXPECT_EQ(Exchange("ATI\r", reply, 20000, kTerminatorOk), ExchangeOutcome::NoLink);
    EXPECT_EQ(WriteSerial("ATI\r"), -1);
    EXPECT_EQ(CloseSerialPort(), 1);

    PtyPeer peer([](const std::string&) { return Reply{{"ATI\r\r\nKESTRELX\r\n\r\nOK\r\n"}}; });
    ASSERT_TRUE(peer.ok());
    BlockingPump pump;
    SetExchangePump(&pump);
    const OpenResult opened = OpenSerialPort(peer.device());
    ASSERT_TRUE(opened.ok()) << opened.reason;
    EXPECT_EQ(ActiveLink(), ProcessSerialLink());
    EXPECT_EQ(SendCommand("ATI\r", reply, 20000, kTerminatorOk), 1);
    EXPECT_EQ(reply.view(), "ATI\r\r\nKESTRELX\r\n\r\nOK\r\n");
    EXPECT_EQ(CloseSerialPort(), 1);
    EXPECT_EQ(ActiveLink(), nullptr);
    EXPECT_EQ(SendCommand("exit\r", reply, 20000, kTerminatorOk), 0);
    EXPECT_TRUE(reply.empty());
    SetExchangePump(nullptr);

    const OpenResult missing = OpenSerialPort("/dev/kestrelx-no-such-port");
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(ProcessSerialLink(), nullptr);
    EXPECT_EQ(ActiveLink(), nullptr);
}

}  // namespace
}  // namespace kx
