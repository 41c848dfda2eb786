// The byte-pushed adapter core in-process: line framing, hostile bytes, the clock, the typed
// echo. The replies' layout at each stage is what every session test reads.

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

}  // namespace
}  // namespace kx::sim
