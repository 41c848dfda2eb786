// The serial link against the emulated adapter on a pty, with the adapter's faults.

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/BlockingPump.h"
#include "link/SerialLink.h"
#include "sim/Emulator.h"

namespace kx {
namespace {

using std::chrono::milliseconds;

struct Step {
    const char* fault;  // applied to this command only ("" none)
    std::string command;
    int kind;
    milliseconds timeout;
    ExchangeOutcome outcome;
    std::string contains;  // a text the reply must hold
    std::size_t capacity = kMainReplyCapacity;
};

TEST(SerialEmulator, ProbeAndFaults) {
    sim::EmulatorOptions options;
    std::string error;
    std::unique_ptr<sim::Emulator> emulator = sim::Emulator::start(options, error);
    ASSERT_TRUE(emulator) << error;

    BlockingPump pump;
    std::mutex mutex;
    std::vector<std::string> log;
    SerialLink link(pump, [&](std::string_view line) {
        std::lock_guard lock(mutex);
        log.emplace_back(line);
    });
    const OpenResult opened = link.open(emulator->ptyPath());
    ASSERT_TRUE(opened.ok()) << opened.reason;

    const milliseconds generous{20000};
    const std::vector<Step> steps = {
        {"lower", "ATI\r", kTerminatorOk, generous, ExchangeOutcome::Ok, "KESTRELX\r\n\r\nok\r\n"},
        {"drip=1", "AT%I2\r", kTerminatorOk, generous, ExchangeOutcome::Ok, "Version 2.10a"},
        {"", "ATT1\r", kTerminatorPrompt, generous, ExchangeOutcome::Ok, "\r\n# "},
        {"long", "show analog tel1\r", kTerminatorPrompt, generous, ExchangeOutcome::Ok,
         "show analog tel1"},
        {"long", "show analog tel1\r", kTerminatorPrompt, generous, ExchangeOutcome::Ok,
         "show analog tel1", kWriterReplyCapacity},
        {"", "show analog tel1\r", 9, milliseconds(300), ExchangeOutcome::UnknownKind, ""},
        {"drop=10", "show analog tel2\r", kTerminatorPrompt, generous, ExchangeOutcome::LinkLost,
         ""},
        {"", "exit\r", kTerminatorOk, generous, ExchangeOutcome::LinkLost, ""},
    };
    for (const Step& step : steps) {
        emulator->faults().clear();
        if (*step.fault != '\0') {
            sim::FaultRule rule;
            ASSERT_TRUE(sim::parseFault(step.fault, rule, error)) << error;
            emulator->faults().add(rule);
        }
        ReplyBuffer reply(step.capacity);
        EXPECT_EQ(link.exchange(step.command, reply, step.timeout, step.kind), step.outcome)
            << step.command << " " << step.fault;
        EXPECT_NE(reply.view().find(step.contains), std::string_view::npos)
            << step.command << " " << step.fault;
        if (std::string(step.fault) == "long") {
            EXPECT_TRUE(reply.truncated());
            EXPECT_EQ(reply.size(), step.capacity - 1);
        }
    }
    EXPECT_EQ(emulator->transcript().lines(),
              (std::vector<std::string>{"ATI", "AT%I2", "ATT1", "show analog tel1",
                                        "show analog tel1", "show analog tel1",
                                        "show analog tel2"}));
    EXPECT_TRUE(link.close());
    std::lock_guard lock(mutex);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("Serial link lost: ", 0), 0u) << log[0];
}

}  // namespace
}  // namespace kx
