// Fault injection: the text form of --fault, the pattern rule, and the new pty after a dropped
// line. What each fault does to the program is the fault matrix's.

#include <gtest/gtest.h>

#include <tuple>

#include "sim/Emulator.h"
#include "sim/Faults.h"
#include "tests/sim/SimClients.h"

namespace kx::sim {
namespace {

using Kind = FaultRule::Kind;

// Each fault text and its canonical form, which names every field the text set or defaulted.
// The forms the fault matrix and the session tests use ("cut=10/1:show analog tel1", "lower",
// "silent:date") are parsed there, each with the effect it must have.
TEST(FaultTest, SpecSyntax) {
    const std::pair<const char*, const char*> rows[] = {
        {"delay=500:*", "delay=500:*"},
        {"drip=5", "drip=5:*"},
        {"long", "long=2600:*"},
        {"long=5000:show*", "long=5000:show*"},
        {"nolabel=ring sound::*", "nolabel=ring sound::*"},
        {"nolabel=a:/2:time 09:04:07", "nolabel=a:/2:time 09:04:07"},
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
        {"*", "anything at all", true},
        {"show analog", "show analog tel1", true},
        {"show analog", "show analogue", false},
        {"ATI", "ati", true},
        {"ATI", "ATI3", false},
        {"show * tel?", "show analog tel2", true},
        {"show * tel?", "show analog tel22", false},
        {"*tel1", "show analog tel1", true},
        {"fromwr 15", "fromwr 1", false},
    };
    for (const auto& [pattern, line, matches] : rows)
        EXPECT_EQ(patternMatches(pattern, line), matches) << pattern << " / " << line;
}

// A dropped line closes the pty and a new one serves (the counted drop has run out). What the
// drop does to the program, over the pty and over TCP, is the fault matrix's and
// DeviceVanishTest's.
TEST(FaultTest, ADroppedPtyIsFollowedByANewOne) {
    std::string error;
    auto emulator = Emulator::start({}, error);
    ASSERT_TRUE(emulator) << error;
    const std::string first = emulator->ptyPath();
    test::FdClient port(test::openSerial(first));
    ASSERT_TRUE(port.ok());
    emulator->faults().add({Kind::Drop, 5, "", "ATI", 1});
    EXPECT_EQ(port.exchange("ATI\r", "no such text"), "ATI\r\n");
    EXPECT_TRUE(port.sawEnd());  // the line hung up
    const std::string second = emulator->waitForNewPty(first, test::kGenerous);
    ASSERT_FALSE(second.empty());
    test::FdClient again(test::openSerial(second));
    EXPECT_NE(again.exchange("ATI\r", "\r\nOK\r\n").find("KESTRELX"), std::string::npos);
}

}  // namespace
}  // namespace kx::sim
