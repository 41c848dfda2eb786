// The adapter vanishing under the program: the pseudo-terminal closed in the middle of a reply
// and while nothing was exchanged, the TCP connection reset in the middle of a reply and closed
// while idle. Each time the link logs the loss once, its waiting costs no CPU afterwards (no
// reader or socket watch left spinning), a later area fails at once and the program still
// closes. (The link's own tests cover the exchange outcomes; these run the whole program.)
#include <time.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "app/AreaRegistry.h"
#include "app/ShellTimings.h"
#include "res/ShellIds.h"
#include "tests/support/AreaSession.h"
#include "ui/MessageLoop.h"

namespace kx::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kMeasured = 2s;
// Generous: a reader thread or a socket watch that spins takes a whole core.
constexpr auto kIdleCpuLimit = 400ms;  // 20 % of one core over kMeasured
// Every exchange keeps the program's own long time-outs: a wait for one would show at once
// against this bound, which includes the measurement.
constexpr auto kRunBound = kMeasured + 8s;
const char* const kMeasuredLine = "idle CPU measured";

std::chrono::nanoseconds processCpuTime() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}

class DeviceVanishTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        // the close path's exchanges and the areas' keep their full time-outs here
        shellTimings().probeSettle = 10ms;
        shellTimings().probeFinalTimeoutMs = 100;
    }
    void TearDown() override {
        if (measurer_.joinable())
            measurer_.join();
        SessionTest::TearDown();
    }

    // The digital button becomes the test's own: it makes the adapter vanish (when asked),
    // then measures the CPU the idle program uses over kMeasured and logs kMeasuredLine.
    void registerMeasurement(bool vanishFirst) {
        AreaHandlers handlers;
        handlers.read = [this, vanishFirst](AreaContext&) {
            if (vanishFirst)
                adapter().stop();
            measurer_ = std::thread([this] {
                std::this_thread::sleep_for(200ms);  // the reader notices the hang-up
                const auto before = processCpuTime();
                std::this_thread::sleep_for(kMeasured);
                idleCpu_ = processCpuTime() - before;
                ui::postCall([] { ui::noteLogLine(kMeasuredLine); });
            });
            return 0;
        };
        handlers.run = [](ui::Dialog&, AreaContext&) { return 0; };
        registerArea(IDC_MAIN_DIGITAL, handlers);
    }

    std::thread measurer_;
    std::chrono::nanoseconds idleCpu_{};
};

TEST_F(DeviceVanishTest, ReaderEndsLaterExchangesFailAtOnceAndTheProgramCloses) {
    const std::string kAnalog = click(IDC_MAIN_ANALOG);
    const std::string kMeasure = click(IDC_MAIN_DIGITAL) + "wait " + kMeasuredLine + "\n";
    struct Row {
        const char* name;
        bool network;
        std::string fault;
        bool vanishWhileIdle;
        std::string beforeLoss;  // after the start (and the login)
        const char* lostLine;
        Lines closeMessages;
    } rows[] = {
        // clang-format off
        {"pty closed mid-reply", false, "drop=12/1:show analog tel1", false, kAnalog,
         "Serial link lost: ", {"正常に終了できませんでした。"}},
        {"pty closed while idle", false, "", true, "",
         "Serial link lost: ", {"正常に終了できませんでした。"}},
        {"TCP reset mid-reply", true, "drop=12/1:show analog tel1", false, kLoggedIn + kAnalog,
         "Network link lost: ", {}},
        {"TCP closed while idle", true, "", true, kLoggedIn,
         "Network link lost: ", {}},
        // clang-format on
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.network)
            freshRun(networkSettings(), networkAdapter(withFault(row.fault)));
        else
            freshRun(serialSettings(), withFault(row.fault));
        const CMainDlg::Config config =
            row.network ? networkLink(adapter().telnetPort()) : CMainDlg::Config{};
        registerMeasurement(row.vanishWhileIdle);

        // after the loss: the analog read fails at once and sends nothing; the close goes on
        std::string script = kStart + row.beforeLoss + kMeasure + kAnalog + kClose;
        for (std::size_t i = 0; i < row.closeMessages.size(); ++i) script += "answer ok\n";
        const auto start = std::chrono::steady_clock::now();
        SessionResult r = run(script, config);
        const auto took = std::chrono::steady_clock::now() - start;
        if (measurer_.joinable())
            measurer_.join();

        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_LT(idleCpu_, kIdleCpuLimit);
        EXPECT_LT(took, kRunBound);
        EXPECT_EQ(std::count_if(r.log.begin(), r.log.end(),
                                [&](const std::string& l) { return l.starts_with(row.lostLine); }),
                  1);
        // the first read (mid-reply) and the one after the loss both fail
        EXPECT_EQ(std::count(r.log.begin(), r.log.end(), "Analog Status Read ERROR"),
                  row.vanishWhileIdle ? 1 : 2);
        const Lines& t = r.transcript;
        EXPECT_EQ(std::count(t.begin(), t.end(), "show analog tel1"), row.vanishWhileIdle ? 0 : 1);
        EXPECT_EQ(std::count(t.begin(), t.end(), "exit"), 0);
        EXPECT_EQ(r.messageTexts(), row.closeMessages);
    }
}

}  // namespace
}  // namespace kx::test
