// Fault injection: the text form of --fault, the pattern rule, and the drop of the line over a
// real pty and a real TCP connection. What each fault does to the program is the fault matrix's.

#include <gtest/gtest.h>

#include <tuple>

#include "sim/Emulator.h"
#include "sim/Faults.h"
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
