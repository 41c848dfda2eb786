// Fault injection: the text form of --fault, the pattern rule, what each fault does to a
// reply, and the drop of the line over a real pty and a real TCP connection.

#include <gtest/gtest.h>

#include "sim/Adapter.h"
#include "sim/Emulator.h"
#include "sim/Faults.h"
#include "tests/sim/FakeArea.h"
#include "tests/sim/SimClients.h"

namespace kx::sim {
namespace {

using Kind = FaultRule::Kind;

TEST(FaultTest, SpecSyntax) {
    struct Row {
        const char* spec;
        Kind kind;
        long value;
        const char* label;
        const char* pattern;
        long remaining;
        const char* canonical;
    };
    const Row rows[] = {
        {"silent:show analog tel1", Kind::Silent, 0, "", "show analog tel1", -1,
         "silent:show analog tel1"},
        {"cut=40:ATI", Kind::Cut, 40, "", "ATI", -1, "cut=40:ATI"},
        {"delay=500:*", Kind::Delay, 500, "", "*", -1, "delay=500:*"},
        {"drip=5", Kind::Drip, 5, "", "*", -1, "drip=5:*"},
        {"lower:*", Kind::Lower, 0, "", "*", -1, "lower:*"},
        {"long", Kind::Long, 2600, "", "*", -1, "long=2600:*"},
        {"long=5000:show*", Kind::Long, 5000, "", "show*", -1, "long=5000:show*"},
        {"garbage:*", Kind::Garbage, 0, "", "*", -1, "garbage:*"},
        {"nolabel=ring sound::*", Kind::NoLabel, 0, "ring sound:", "*", -1,
         "nolabel=ring sound::*"},
        {"nolabel=a:/2:time 09:04:07", Kind::NoLabel, 0, "a:", "time 09:04:07", 2,
         "nolabel=a:/2:time 09:04:07"},
        {"drop=30:*", Kind::Drop, 30, "", "*", -1, "drop=30:*"},
        {"drop/1:fromwr 15", Kind::Drop, 0, "", "fromwr 15", 1, "drop=0/1:fromwr 15"},
        {"refuse-login", Kind::RefuseLogin, 0, "", "*", -1, "refuse-login"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.spec);
        FaultRule rule;
        std::string error;
        ASSERT_TRUE(parseFault(row.spec, rule, error)) << error;
        EXPECT_EQ(rule.kind, row.kind);
        EXPECT_EQ(rule.value, row.value);
        EXPECT_EQ(rule.label, row.label);
        EXPECT_EQ(rule.pattern, row.pattern);
        EXPECT_EQ(rule.remaining, row.remaining);
        EXPECT_EQ(describeFault(rule), row.canonical);
    }
    const std::pair<const char*, const char*> bad[] = {
        {"quiet:*", "unknown fault"},          {"cut:*", "needs a value"},
        {"cut=x:*", "needs a number"},         {"delay=-5", "needs a number"},
        {"silent=3", "takes no value"},        {"nolabel=abc", "label ending in its colon"},
        {"refuse-login:*", "no pattern"},      {"silent/0:ATI", "count after /"},
        {"cut=99999999999", "needs a number"},
    };
    for (const auto& [spec, message] : bad) {
        FaultRule rule;
        std::string error;
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

TEST(FaultTest, CountedFaultsRunOut) {
    FaultSet set;
    FaultRule rule;
    std::string error;
    ASSERT_TRUE(parseFault("silent/2:ATI", rule, error));
    set.add(rule);
    EXPECT_EQ(set.take("AT%M").size(), 0u);
    EXPECT_EQ(set.take("ATI").size(), 1u);
    EXPECT_EQ(set.take("ATI").size(), 1u);
    EXPECT_EQ(set.take("ATI").size(), 0u);
    EXPECT_TRUE(set.rules().empty());
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
    {
        Faulted f;
        EXPECT_TRUE(f.run("silent:show fake").empty());
        EXPECT_EQ(sentBytes(f.adapter.feed("show fake\r")), "");  // still in force
        EXPECT_EQ(sentBytes(f.adapter.feed("fake set 2\r")), "fake set 2\r\n\r\n# ");
    }
    {
        Faulted f;
        EXPECT_EQ(sentBytes(f.run("cut=12:*")), kClean.substr(0, 12));
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
            if (i % 2 == 0) {
                EXPECT_EQ(out[i].bytes.size(), 1u);
            }
        }
        EXPECT_EQ(sentBytes(out), kClean);
    }
    {
        Faulted f;
        EXPECT_EQ(sentBytes(f.run("lower:*", "exit\r")), "exit\r\n\r\nok\r\n");
        f.adapter.feed("ATT1\r");
        EXPECT_NE(sentBytes(f.run("lower:*", "fromwr 15\r")).find("write ok"), std::string::npos);
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
        EXPECT_EQ(reply.substr(0, 11), "show fake\r\n");
        EXPECT_EQ(reply.substr(11, 3), std::string("\0\xFF\x80", 3));
        EXPECT_NE(reply.find("value: factory\r\n"), std::string::npos);
        EXPECT_EQ(reply.substr(reply.size() - 4), "\r\n# ");
    }
    {
        Faulted f;
        const std::string reply = sentBytes(f.run("nolabel=ring sound::show fake"));
        EXPECT_EQ(reply, "show fake\r\nvalue: factory\r\nother: 2\r\n\r\n# ");
    }
    {
        Faulted f;
        const Output out = f.run("drop=20:*");
        EXPECT_EQ(sentBytes(out), kClean.substr(0, 20));
        EXPECT_EQ(out.back().kind, Step::Kind::Drop);
        EXPECT_TRUE(f.adapter.finished());
    }
    {
        Faulted f;  // faults touch the reply only: the command still takes effect
        f.run("silent:*", "fake set quiet\r");
        EXPECT_EQ(f.device.state().at("fake.value"), "quiet");
    }
}

TEST(FaultTest, DropClosesThePtyAndANewOneServes) {
    EmulatorOptions options;
    options.faults.push_back({Kind::Drop, 5, "", "ATI", 1});
    std::string error;
    auto emulator = Emulator::start(options, error);
    ASSERT_TRUE(emulator) << error;
    const std::string first = emulator->ptyPath();
    test::FdClient port(test::openSerial(first));
    ASSERT_TRUE(port.ok());
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

TEST(FaultTest, FaultsSetWhileServingApplyToTheNextCommand) {
    std::string error;
    auto emulator = Emulator::start({}, error);
    ASSERT_TRUE(emulator) << error;
    test::FdClient port(test::openSerial(emulator->ptyPath()));
    EXPECT_NE(port.exchange("ATI\r", "\r\nOK\r\n").find("OK"), std::string::npos);
    emulator->faults().add({Kind::Cut, 3, "", "ATI", -1});
    EXPECT_EQ(port.exchange("ATI\r", "ATI"), "ATI");
    EXPECT_EQ(port.readUntil(""), "");  // and nothing after the cut
    emulator->faults().clear();
    EXPECT_NE(port.exchange("ATI\r", "\r\nOK\r\n").find("OK"), std::string::npos);
}

}  // namespace
}  // namespace kx::sim
