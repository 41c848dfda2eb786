// The message loop on the headless backend: timers, posted calls and the nested wait. Every
// session test's exchanges wait in this loop until the serial reader wakes it, or their time-out
// ends (the fault matrix's silent column). The watches are the network link's socket
// (NetworkLinkTest) and the port dialog's device list (PortSelectDlgTest), and DeviceVanishTest
// finds none left spinning after a loss. The periodic timers are the main window's link events
// (DeviceVanishTest's loss while idle), the network link's connection and the port dialog's
// settling wait, set again at each device event.

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "ui/Backend.h"
#include "ui/MessageLoop.h"
#include "ui/headless/Headless.h"

namespace kx::ui {
namespace {

using namespace std::chrono_literals;

class LoopTest : public ::testing::Test {
protected:
    void SetUp() override { headless::install(); }
    void TearDown() override { installBackend(nullptr); }
    static Clock::time_point in(std::chrono::milliseconds t) { return Clock::now() + t; }
};

TEST_F(LoopTest, TimersFireInOrderOfTheirDueTimes) {
    std::vector<int> fired;
    for (int id : {3, 1, 2})
        setTimer(id, std::chrono::milliseconds(10 * id), [&fired, id] {
            fired.push_back(id);
            killTimer(id);
        });
    EXPECT_TRUE(pumpUntil([&] { return fired.size() == 3; }, in(10s)));
    EXPECT_EQ(fired, (std::vector<int>{1, 2, 3}));
}

TEST_F(LoopTest, TimerIsNotReenteredByANestedWaitInsideIt) {
    int depth = 0, maxDepth = 0, runs = 0;
    setTimer(1, 2ms, [&] {
        ++runs;
        maxDepth = std::max(maxDepth, ++depth);
        pumpUntil([] { return false; }, in(20ms));  // an exchange inside the timer
        --depth;
        if (runs == 2)
            killTimer(1);
    });
    EXPECT_TRUE(pumpUntil([&] { return runs == 2 && depth == 0; }, in(10s)));
    EXPECT_EQ(maxDepth, 1);
}

// Two timers due at one dispatch: the second runs inside the first one's nested wait, and not
// again when the first returns (it is not due then).
TEST_F(LoopTest, TimerRunInAnEarlierTimersNestedWaitIsNotRunAgainAtOnce) {
    bool firstDone = false, dispatchedSince = false, rerunAtOnce = false;
    int secondRuns = 0;
    setTimer(1, 20ms, [&] {
        killTimer(1);
        pumpUntil([&] { return secondRuns > 0; }, in(10s));  // an exchange inside the timer
        firstDone = true;
        postCall([&] { dispatchedSince = true; });  // runs at the next dispatch
    });
    setTimer(2, 20ms, [&] {
        ++secondRuns;
        if (firstDone && !dispatchedSince)
            rerunAtOnce = true;
        if (firstDone)
            killTimer(2);
    });
    std::this_thread::sleep_for(40ms);  // both are due when the loop first looks
    EXPECT_TRUE(pumpUntil([&] { return firstDone && secondRuns >= 2; }, in(10s)));
    EXPECT_FALSE(rerunAtOnce);
}

TEST_F(LoopTest, PostedCallsRunInOrderFromAnyThread) {
    std::vector<int> order;
    postCall([&] {
        order.push_back(1);
        postCall([&] { order.push_back(4); });  // runs at a later dispatch, after the others
    });
    postCall([&] { order.push_back(2); });
    std::thread other([&] { postCall([&] { order.push_back(3); }); });
    other.join();
    EXPECT_TRUE(pumpUntil([&] { return order.size() == 4; }, in(10s)));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(LoopTest, WakeBeforeTheWaitIsNotLost) {
    pump().wake();
    auto start = Clock::now();
    pump().waitFor(20s);
    EXPECT_LT(Clock::now() - start, 10s);
}

}  // namespace
}  // namespace kx::ui
