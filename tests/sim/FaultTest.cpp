// Fault injection: the text form of --fault, the pattern rule, what each fault does to a
// reply, and the drop of the line over a real pty and a real TCP connection.

#include <gtest/gtest.h>

#include <tuple>

#include "sim/Adapter.h"
#include "sim/Emulator.h"
#include "sim/Faults.h"
#include "tests/sim/FakeArea.h"
#include "tests/sim/SimClients.h"

namespace kx::sim {
namespace {

using Kind = FaultRule::Kind;

// Each fault text and its canonical form, which names every field the text set or defaulted.
TEST(FaultTest, SpecSyntax) {
    const std::pair<const char*, const char*> rows[] = {
        {"silent:show analog tel1", "silent:show analog tel1"},
        {"cut=40:ATI", "cut=40:ATI"},
        {"delay=500:*", "delay=500:*"},
        {"drip=5", "drip=5:*"},
        {"lower:*", "lower:*"},
        {"long", "long=2600:*"},
        {"long=5000:show*", "long=5000:show*"},
        {"garbage:*", "garbage:*"},
        {"nolabel=ring sound::*", "nolabel=ring sound::*"},
        {"nolabel=a:/2:time 09:04:07", "nolabel=a:/2:time 09:04:07"},
        {"drop=30:*", "drop=30:*"},
        {"drop/1:fromwr 15", "drop=0/1:fromwr 15"},
        {"refuse-login", "refuse-login"},
    };
    FaultRule rule;
    std::string error;
    for (const auto& [spec, canonical] : rows) {
        rule = {};
        ASSERT_TRUE(parseFault(spec, rule, error)) << spec << ": " << error;
        EXPECT_EQ(describeFault(rule), canonical);
    }
    ASSERT_TRUE(parseFault("nolabel=a:/2:time 09:04:07", rule, error));
    EXPECT_EQ(std::tuple(rule.kind, rule.label, rule.remaining, rule.pattern),
              std::tuple(Kind::NoLabel, std::string("a:"), 2L, std::string("time 09:04:07")));
    const std::pair<const char*, const char*> bad[] = {
        {"quiet:*", "unknown fault"},          {"cut:*", "needs a value"},
        {"cut=x:*", "needs a number"},         {"delay=-5", "needs a number"},
        {"silent=3", "takes no value"},        {"nolabel=abc", "label ending in its colon"},
        {"refuse-login:*", "no pattern"},      {"silent/0:ATI", "count after /"},
        {"cut=99999999999", "needs a number"},
    };
    for (const auto& [spec, message] : bad) {
        error.clear();
        EXPECT_FALSE(parseFault(spec, rule, error)) << spec;
        EXPECT_NE(error.find(message), std::string::npos) << spec << ": " << error;
    }
}

TEST(FaultTest, PatternRule) {
    const std::tuple<const char*, const char*, bool> rows[] = {
        {"*", "", true},
        {"*", "anything at all", true},
        {"show analog", "show analog tel1", true},
        {"show analog", "show analogue", false},
        {"ATI", "ATI", true},
        {"ATI", "ati", true},
        {"ATI", "ATI3", false},
        {"show * tel?", "show analog tel2", true},
        {"show * tel?", "show analog tel22", false},
        {"*tel1", "show analog tel1", true},
        {"fromwr 15", "fromwr 15", true},
        {"fromwr 15", "fromwr 1", false},
    };
    for (const auto& [pattern, line, matches] : rows)
        EXPECT_EQ(patternMatches(pattern, line), matches) << pattern << " / " << line;
}

// Each fault applied to "show fake" on the command line of an in-process adapter.
struct Faulted {
    Device device{test::fakeAreas()};
    FaultSet faults;
    Adapter adapter{device, AdapterOptions{}, Adapter::Start::AtProbe, nullptr, &faults};
    Faulted() { adapter.feed("ATT1\r"); }
    Output run(const char* spec, std::string_view line = "show fake\r") {
        FaultRule rule;
        std::string error;
        EXPECT_TRUE(parseFault(spec, rule, error)) << error;
        faults.add(rule);
        return adapter.feed(line);
    }
};

const std::string kClean = "show fake\r\nvalue: factory\r\nring sound: 1\r\nother: 2\r\n\r\n# ";

TEST(FaultTest, EachFaultDoesWhatItSays) {
    struct Row {
        const char* spec;
        const char* line;
        std::string sent;
        bool dropped = false;
    };
    const Row rows[] = {
        {"silent:show fake", "show fake\r", ""},
        {"cut=12:*", "show fake\r", kClean.substr(0, 12)},
        {"lower:*", "exit\r", "exit\r\n\r\nok\r\n"},
        {"lower:*", "fromwr 15\r", "fromwr 15\r\nF-ROM write ok\r\n\r\n# "},
        {"nolabel=ring sound::show fake", "show fake\r",
         "show fake\r\nvalue: factory\r\nother: 2\r\n\r\n# "},
        {"drop=20:*", "show fake\r", kClean.substr(0, 20), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.spec);
        Faulted f;
        const Output out = f.run(row.spec, row.line);
        EXPECT_EQ(sentBytes(out), row.sent);
        EXPECT_EQ(f.adapter.finished(), row.dropped);
        EXPECT_EQ(!out.empty() && out.back().kind == Step::Kind::Drop, row.dropped);
    }
    {
        Faulted f;  // a fault stays in force; it touches the reply only, never the command
        f.run("silent:*");
        EXPECT_EQ(sentBytes(f.adapter.feed("fake set quiet\r")), "");
        EXPECT_EQ(f.device.state().at("fake.value"), "quiet");
        EXPECT_EQ(f.adapter.stage(), Adapter::Stage::CommandLine);
    }
    {
        Faulted f;
        const Output out = f.run("delay=500:*");
        ASSERT_EQ(out.size(), 2u);
        EXPECT_EQ(out[0].kind, Step::Kind::Pause);
        EXPECT_EQ(out[0].pause, std::chrono::milliseconds(500));
        EXPECT_EQ(out[1].bytes, kClean);
    }
    {
        Faulted f;
        const Output out = f.run("drip=5:*");
        ASSERT_EQ(out.size(), kClean.size() * 2 - 1);
        for (std::size_t i = 0; i < out.size(); ++i) {
            EXPECT_EQ(out[i].kind, i % 2 ? Step::Kind::Pause : Step::Kind::Send);
            EXPECT_EQ(out[i].bytes.size(), i % 2 ? 0u : 1u);
        }
        EXPECT_EQ(sentBytes(out), kClean);
    }
    {
        Faulted f;
        const std::string reply = sentBytes(f.run("long:*"));
        EXPECT_GE(reply.size(), 2600u);
        EXPECT_EQ(reply.substr(0, kClean.size() - 4), kClean.substr(0, kClean.size() - 4));
        EXPECT_EQ(reply.substr(reply.size() - 4), "\r\n# ");
    }
    {
        Faulted f;
        const std::string reply = sentBytes(f.run("garbage:*"));
        EXPECT_EQ(reply.substr(0, 14), std::string("show fake\r\n\0\xFF\x80", 14));
        EXPECT_NE(reply.find("value: factory\r\n"), std::string::npos);
        EXPECT_EQ(reply.substr(reply.size() - 4), "\r\n# ");
    }
}

// Faults added while serving apply to the next command; a dropped line closes the pty and a
// new one serves (the counted drop has run out).
TEST(FaultTest, FaultsWhileServingAndADroppedPty) {
    std::string error;
    auto emulator = Emulator::start({}, error);
    ASSERT_TRUE(emulator) << error;
    const std::string first = emulator->ptyPath();
    test::FdClient port(test::openSerial(first));
    ASSERT_TRUE(port.ok());
    EXPECT_NE(port.exchange("ATI\r", "\r\nOK\r\n").find("OK"), std::string::npos);
    emulator->faults().add({Kind::Cut, 3, "", "ATI", -1});
    EXPECT_EQ(port.exchange("ATI\r", "ATI"), "ATI");
    EXPECT_EQ(port.readUntil(""), "");  // and nothing after the cut
    emulator->faults().clear();
    EXPECT_NE(port.exchange("ATI\r", "\r\nOK\r\n").find("OK"), std::string::npos);

    emulator->faults().add({Kind::Drop, 5, "", "ATI", 1});
    EXPECT_EQ(port.exchange("ATI\r", "no such text"), "ATI\r\n");
    EXPECT_TRUE(port.sawEnd());  // the line hung up
    const std::string second = emulator->waitForNewPty(first, test::kGenerous);
    ASSERT_FALSE(second.empty());
    test::FdClient again(test::openSerial(second));
    EXPECT_NE(again.exchange("ATI\r", "\r\nOK\r\n").find("KESTRELX"), std::string::npos);
}

TEST(FaultTest, DropResetsTheTcpConnection) {
    EmulatorOptions options;
    options.pty = false;
    options.telnetPort = 0;
    options.faults.push_back({Kind::Drop, 0, "", "*", -1});
    std::string error;
    auto emulator = Emulator::start(options, error);
    ASSERT_TRUE(emulator) << error;
    test::FdClient link(test::connectLoopback(emulator->telnetPort()));
    link.readUntil("Password: ");
    link.send("\r\n");
    link.readUntil("no such text");
    EXPECT_TRUE(link.sawEnd());
    EXPECT_EQ(link.lastErrno(), ECONNRESET);
}

}  // namespace
}  // namespace kx::sim
