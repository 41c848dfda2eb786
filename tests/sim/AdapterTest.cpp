// The byte-pushed adapter core in-process: line framing, the stages, the built-in commands.

#include <gtest/gtest.h>

#include <tuple>

#include "sim/Adapter.h"
#include "tests/sim/FakeArea.h"

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

TEST(AdapterTest, LineEndsAndFraming) {
    struct Row {
        const char* name;
        std::string input;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"cr", "show fake\r", {"show fake"}},
        {"crlf is one line end", "show fake\r\nshow fake\r\n", {"show fake", "show fake"}},
        {"lone lf", "show fake\n", {"show fake"}},
        {"telnet cr nul", std::string("show fake\r\0show fake\r", 21), {"show fake", "show fake"}},
        {"cr cr is an empty line", "show fake\r\r", {"show fake", ""}},
        {"split over feeds", "sh|ow fa|ke\r", {"show fake"}},
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
        std::size_t start = 0;
        for (std::size_t bar; (bar = row.input.find('|', start)) != std::string::npos;
             start = bar + 1)
            f.feed(std::string_view(row.input).substr(start, bar - start));
        f.feed(std::string_view(row.input).substr(start));
        EXPECT_EQ(f.transcript.lines(), row.lines);
    }
}

TEST(AdapterTest, CommandLineReplyLayout) {
    Fixture f;
    EXPECT_EQ(f.feed("ATT1\r"), "ATT1\r\n\r\n# ");
    EXPECT_EQ(f.feed("show fake\r"),
              "show fake\r\nvalue: factory\r\nring sound: 1\r\nother: 2\r\n\r\n# ");
    EXPECT_EQ(f.feed("fake set 7\r"), "fake set 7\r\n\r\n# ");
    EXPECT_EQ(f.feed("show fake\r").find("value: 7\r\n"), 11u);
    EXPECT_EQ(f.feed("\r"), "\r\n\r\n# ");
    EXPECT_EQ(f.feed("frobnicate\r"), "frobnicate\r\n% Unknown command\r\n\r\n# ");
    EXPECT_EQ(f.feed("fake\r"), "fake\r\n% Invalid fake command\r\n\r\n# ");
    EXPECT_EQ(f.feed("fromwr 3\r"), "fromwr 3\r\n% Invalid parameter: fromwr 15\r\n\r\n# ");
    EXPECT_EQ(f.feed("fromwr 15\r"), "fromwr 15\r\nF-ROM Write OK\r\n\r\n# ");
    f.feed("fake set unsaved\r");
    f.device.powerCycle();  // flash kept in memory when there is no state file
    EXPECT_EQ(f.device.state().at("fake.value"), "7");
    EXPECT_EQ(f.feed("exit\r"), "exit\r\n\r\nOK\r\n");
    EXPECT_EQ(f.adapter.stage(), Adapter::Stage::AtProbe);
    f.enterCommandLine();
    EXPECT_EQ(f.feed("restart\r").substr(0, 9), "restart\r\n");
    EXPECT_EQ(f.adapter.stage(), Adapter::Stage::AtProbe);  // a restarted adapter is back at AT
    EXPECT_EQ(f.device.state().at("fake.value"), "factory");
}

TEST(AdapterTest, AtStageAnswers) {
    const std::pair<const char*, const char*> rows[] = {
        {"ATI\r", "ATI\r\nKESTRELX\r\n\r\nOK\r\n"},
        {"ati\r", "ati\r\nKESTRELX\r\n\r\nOK\r\n"},
        {"AT%I2\r", "AT%I2\r\nVersion 2.10a\r\n\r\nOK\r\n"},
        {"AT\r", "AT\r\n\r\nOK\r\n"},
        {"ATX9\r", "ATX9\r\n\r\nERROR\r\n"},
        {"show fake\r", "show fake\r\n\r\nERROR\r\n"},  // not before ATT1
        {"\r", ""},
    };
    for (const auto& [command, reply] : rows) {
        Fixture f;
        EXPECT_EQ(f.feed(command), reply) << command;
        EXPECT_EQ(f.adapter.stage(), Adapter::Stage::AtProbe);
    }
    Device device{test::fakeAreas()};
    AdapterOptions options;
    options.name = "KX-ROUTER";
    options.version = "3.01b";
    Adapter adapter(device, options, Adapter::Start::AtProbe);
    EXPECT_EQ(sentBytes(adapter.feed("ATI\r")), "ATI\r\nKX-ROUTER\r\n\r\nOK\r\n");
    EXPECT_EQ(sentBytes(adapter.feed("AT%I2\r")), "AT%I2\r\nVersion 3.01b\r\n\r\nOK\r\n");
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

// Line noise of every byte value into every stage: no crash (ASan watches), replies stay
// bounded, and the adapter still answers a clean command afterwards.
TEST(AdapterTest, SurvivesRandomBytesInEveryStage) {
    std::uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    for (Adapter::Start start : {Adapter::Start::AtProbe, Adapter::Start::Login}) {
        Device device{test::fakeAreas()};
        Adapter adapter(device, AdapterOptions{}, start);
        for (int round = 0; round < 200 && !adapter.finished(); ++round) {
            std::string noise(next() % 300, '\0');
            for (char& c : noise) c = static_cast<char>(next() >> 24);
            EXPECT_LT(sentBytes(adapter.feed(noise)).size(), 64u * 1024);
        }
    }
    Device device{test::fakeAreas()};
    Adapter adapter(device, AdapterOptions{}, Adapter::Start::AtProbe);
    adapter.feed(std::string(5000, '\xff'));
    EXPECT_NE(sentBytes(adapter.feed("\rATI\r")).find("KESTRELX\r\n\r\nOK\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kx::sim
