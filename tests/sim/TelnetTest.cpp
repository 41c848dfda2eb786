// The network side: the telnet byte machine, and the two-password login over loopback TCP. A
// doubled 255, sequences split across reads and escaped data are TelnetServerCodecFuzzer's.

#include <gtest/gtest.h>

#include "sim/Emulator.h"
#include "sim/TelnetServerCodec.h"
#include "tests/sim/SimClients.h"

namespace kx::sim {
namespace {

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
