// The byte-pushed adapter core in-process: line framing, hostile bytes, the clock, the typed
// echo. The replies' layout at each stage is what every session test reads. The network side:
// the telnet byte machine, and the two-password login over loopback TCP. A doubled 255,
// sequences split across reads and escaped data are TelnetServerCodecFuzzer's.

#include <gtest/gtest.h>

#include <tuple>

#include "sim/Adapter.h"
#include "sim/Emulator.h"
#include "sim/TelnetServerCodec.h"
#include "tests/sim/FakeArea.h"
#include "tests/sim/SimClients.h"

namespace kx::sim {
namespace {

struct Fixture {
    Device device{test::fakeAreas()};
    Transcript transcript;
    FaultSet faults;
    Adapter adapter{device, AdapterOptions{}, Adapter::Start::AtProbe, &transcript, &faults};

    std::string feed(std::string_view bytes) { return sentBytes(adapter.feed(bytes)); }
    void enterCommandLine() { feed("ATT1\r"); }
};

// A CR ends every command of the serial sessions, a CRLF every one of the network sessions; how
// the bytes are cut into reads is AdapterFeedFuzzer's.
TEST(AdapterTest, LineEndsAndFraming) {
    struct Row {
        const char* name;
        std::string input;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"lone lf", "show fake\n", {"show fake"}},
        {"telnet cr nul", std::string("show fake\r\0show fake\r", 21), {"show fake", "show fake"}},
        {"cr cr is an empty line", "show fake\r\r", {"show fake", ""}},
        {"backspace corrects",
         "show fakx\be\x7f"
         "e\r",
         {"show fake"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Fixture f;
        f.enterCommandLine();
        f.transcript.clear();
        f.feed(row.input);
        EXPECT_EQ(f.transcript.lines(), row.lines);
    }
}

TEST(AdapterTest, HostileBytesAreRefusedNotRun) {
    Fixture f;
    f.enterCommandLine();
    const std::string garbage("fake set \x01\x02", 11);
    EXPECT_NE(f.feed(garbage + "\r").find("% Invalid character"), std::string::npos);
    EXPECT_NE(f.feed(std::string("show\0fake\r", 10)).find("% Invalid character"),
              std::string::npos);
    // high bytes are the CP932 of names: they pass
    EXPECT_EQ(f.feed("fake set \x83\x65\xff\r"), "fake set \x83\x65\xff\r\n\r\n# ");
    EXPECT_EQ(f.device.state().at("fake.value"), "\x83\x65\xff");

    // an over-long line is refused whole: never run cut short
    const std::string longLine = "fake set " + std::string(Adapter::kMaxLine + 500, 'x');
    const std::string reply = f.feed(longLine + "\r");
    EXPECT_NE(reply.find("% Command line too long"), std::string::npos);
    EXPECT_LT(reply.size(), Adapter::kMaxLine + 100);
    EXPECT_EQ(f.device.state().at("fake.value"), "\x83\x65\xff");
    EXPECT_EQ(f.feed("show fake\r").find("value: \x83\x65\xff"), 11u);  // the next line is fine
}

TEST(AdapterTest, ClockCommands) {
    Fixture f;
    f.enterCommandLine();
    EXPECT_EQ(f.feed("date 2008/03/05\r"), "date 2008/03/05\r\n\r\n# ");
    EXPECT_EQ(f.feed("time 09:04:07\r"), "time 09:04:07\r\n\r\n# ");
    EXPECT_EQ(f.feed("youbi 3\r"), "youbi 3\r\n\r\n# ");
    const Clock::Reading now = f.device.clockNow();
    EXPECT_EQ(std::tuple(now.year, now.month, now.day, now.hour, now.minute, now.weekday),
              std::tuple(2008, 3, 5, 9, 4, 3));
    EXPECT_NE(f.feed("date\r").find("date: 2008/03/05\r\n"), std::string::npos);  // shows it

    for (const char* command :
         {"date 2008/02/30", "date 2008/13/01", "date 08-03-05", "date 2008/03",
          "date 2008/03/05/01", "time 24:00:00", "time 09:60:00", "time 9:4", "time 09:04:07x",
          "youbi 7", "youbi -1", "youbi 03", "date 2008/03/05 extra"}) {
        const std::string reply = f.feed(std::string(command) + "\r");
        EXPECT_NE(reply.find("% Invalid"), std::string::npos) << command << " -> " << reply;
    }
    EXPECT_EQ(f.device.clockNow().month, 3);
    EXPECT_EQ(f.device.clockNow().weekday, 3);
}

TEST(AdapterTest, TypedEchoEchoesAtOnceButNotPasswords) {
    Device device{test::fakeAreas()};
    AdapterOptions options;
    options.typedEcho = true;
    options.loginPassword = "pw";
    Adapter adapter(device, options, Adapter::Start::Login);
    EXPECT_NE(sentBytes(adapter.greet()).find("Password: "), std::string::npos);
    EXPECT_EQ(sentBytes(adapter.feed("p")), "");
    EXPECT_EQ(sentBytes(adapter.feed("w\r")), "\r\n\r\nKESTRELX> ");
    EXPECT_EQ(sentBytes(adapter.feed("adm")), "adm");
    EXPECT_EQ(sentBytes(adapter.feed("x\b")), "x\b \b");
}

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

TEST(TelnetTest, CodecOffersAndAnswers) {
    TelnetServerCodec codec;
    EXPECT_EQ(codec.offer(),
              bytes({255, 251, 1, 255, 251, 3, 255, 251, 5, 255, 253, 31, 255, 253, 33}));

    struct Row {
        const char* name;
        std::string in;
        std::string data;
        std::string answers;
    };
    const Row rows[] = {
        // what the program answers to the offers: taken silently, no answer to an answer (the
        // echo and suppressed go-ahead they grant are every network session's)
        {"program's answers",
         bytes({255, 253, 1, 255, 253, 3, 255, 254, 5, 255, 252, 31, 255, 252, 33}), "", ""},
        {"unknown WILL refused", bytes({255, 251, 24}), "", bytes({255, 254, 24})},
        {"unknown DO refused", bytes({255, 253, 34}), "", bytes({255, 252, 34})},
        {"subnegotiation skipped",
         bytes({'x', 255, 250, 31, 0, 80, 255, 255, 0, 24, 255, 240, 'y'}), "xy", ""},
        {"two-byte commands skipped", bytes({255, 241, 'z', 255, 249}), "z", ""},
        // the program refused window size above; a client that offers it later is answered once
        {"late offer", bytes({255, 251, 31}), "", bytes({255, 253, 31})},
        {"late offer again", bytes({255, 251, 31}), "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string data, answers;
        codec.receive(row.in, data, answers);
        EXPECT_EQ(data, row.data);
        EXPECT_EQ(answers, row.answers);
    }
    EXPECT_TRUE(codec.peers(TelnetServerCodec::kWindowSize));
}

struct Network {
    std::unique_ptr<Emulator> emulator;
    explicit Network(std::vector<FaultRule> faults = {}) {
        EmulatorOptions options;
        options.pty = false;
        options.telnetPort = 0;
        options.adapter.loginPassword = "lpass";
        options.adapter.adminPassword = "apass";
        options.faults = std::move(faults);
        std::string error;
        emulator = Emulator::start(options, error);
        EXPECT_TRUE(emulator) << error;
    }
    // A connection at its first "Password: ".
    std::unique_ptr<test::FdClient> connect() {
        auto link = std::make_unique<test::FdClient>(test::connectLoopback(emulator->telnetPort()));
        EXPECT_TRUE(link->ok());
        link->readUntil("Password: ");
        return link;
    }
};

// Wrong passwords are the program's network sessions' (each gets its error and a fresh prompt);
// three in a row end the connection, and sessions share one device.
TEST(TelnetTest, ThreeFailuresEndTheConnectionAndSessionsShareTheDevice) {
    Network net;
    ASSERT_TRUE(net.emulator);
    auto other = net.connect();
    other->exchange("a\r\n", "Password: ");
    other->exchange("b\r\n", "Password: ");
    EXPECT_NE(other->exchange("c\r\n", "no such text").find("Too many login failures"),
              std::string::npos);
    EXPECT_TRUE(other->sawEnd());

    auto first = net.connect();
    auto second = net.connect();
    for (test::FdClient* link : {first.get(), second.get()}) {
        link->exchange("lpass\r\n", ">");
        link->exchange("administrator\r\n", "Password: ");
        link->exchange("apass\r\n", "#");
    }
    first->exchange("date 2010/01/02\r\n", "\r\n# ");
    EXPECT_NE(second->exchange("show date\r\n", "\r\n# ").find("date: 2010/01/02"),
              std::string::npos);
}

// A counted fault: the right password is refused twice, then taken.
TEST(TelnetTest, RefuseLoginFaultRefusesTheRightPassword) {
    FaultRule refuse;
    refuse.kind = FaultRule::Kind::RefuseLogin;
    refuse.remaining = 2;
    Network net({refuse});
    ASSERT_TRUE(net.emulator);
    auto link = net.connect();
    for (int i = 0; i < 2; ++i)
        EXPECT_NE(link->exchange("lpass\r\n", "Password: ").find("Login incorrect"),
                  std::string::npos);
    EXPECT_NE(link->exchange("lpass\r\n", ">").find("KESTRELX> "), std::string::npos);
}

}  // namespace
}  // namespace kx::sim
