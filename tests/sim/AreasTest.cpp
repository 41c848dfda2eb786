// The emulated adapter's settings areas through its command line. The session and kxctl tests
// set every item with the program's writer and read it back with its reader; these are what
// only the emulator's side can check: it refuses what the adapter refuses (so a wrong keyword
// or value from the program cannot pass), the forms only a user at the command line types, and
// the flash copy of every key. Its error lines: one "% " form everywhere, and never a terminator
// the program waits for, whatever text goes into them.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "sim/AreaText.h"
#include "sim/Areas.h"
#include "sim/Device.h"
#include "sim/StateFile.h"
#include "tests/sim/FakeArea.h"
#include "tests/support/Files.h"

namespace kx::sim {
namespace {

// The value after the first occurrence of label, up to the line end, as the program reads it.
std::string readLabel(const std::string& reply, const std::string& label) {
    const std::size_t at = reply.find(label);
    if (at == std::string::npos)
        return "(no " + label + ")";
    const std::size_t start = at + label.size() + 1;
    return reply.substr(start, reply.find('\r', start) - start);
}

// Each is refused with its error line and changes no setting: a row for each rule and command
// shape of the areas' shared blocks, and for the commands of their own (lists, pairs, entries).
// What each item takes is the round trip's: it sets every keyword and both ends of every range.
const char* const kRefused[] = {
    "analog ring_sound tel1 ring4",  // a keyword not in the item's list
    "analog ring_sound tel4 ring1",  // a port past the last
    "analog dial_time tel1 2",       // a number below its range
    "analog dial_time tel1 16",      // and above it
    "analog address tel1 03 1234",
    "analog address tel1 012345678901234567890123456789012",  // 33 digits
    "analog address tel1 03*012345678901234567890",           // a subaddress of 21
    "analog use_i_number",                                    // the value left off
    "show analog tel4",
    "show analog",
    "digital throughput_bod del_evaluation_direction receive",
    "digital bacp_bap depart_add yes",
    "arrive ranking default data precede",
    "arrive ranking 21 tel1 normal",
    "arrive ranking 05x tel1 normal",
    "arrive address 3 03-1234-567a",
    "shortnum add 21 03",
    "shortnum add 3 03 1234",
    "router beep enable now",      // a word too many
    "router address 192.168.1.1",  // the prefix is required
    "router address 192.168.1.1/33",
    "router masq_address 192.168.1.256",
    "network dns_address 192.0.2.1",
    "dialup mode 64k",  // the profile left off
    "dialup dial_number num1 0312345678,0312345679",
    "dialup user_id num1 12345678901234567890123456789012345678901234567890123456789012345",
    "dhcp range_address 192.168.1.2/256",
    "connect charge 1000000/0",
    "connect time 168/1",
    "connect clr_day 24:00",
    "nat add 33 192.168.1.1,*",
    "nat add 1 192.168.1.1",
    "nat add 1 ,203.0.113.1",
    "host add 1 192.168.1.1,bad:name",
    "host add 1 nas,192.168.1.1",
};

TEST(AreasTest, RefusedCommandsChangeNothing) {
    Device device;
    const FlatState factory = device.state();
    for (const char* command : kRefused) {
        SCOPED_TRACE(command);
        EXPECT_EQ(device.execute(command).body, "% Invalid parameter\r\n");
        EXPECT_EQ(device.state(), factory);
    }
    for (const char* command : {"router speed 9600", "bod throughput_bod rate 5", "dialup",
                                "nat move 1", "connect total"}) {
        EXPECT_EQ(device.execute(command).body, "% Invalid command\r\n") << command;
    }
    EXPECT_EQ(device.execute("frobnicate").body, "% Unknown command\r\n");
}

// What a user types where the program writes one canonical form: capitals, leading zeros,
// blanks and tabs, an address left off; and the router's own address, which the program sends
// only to move the adapter (the session ends after it).
TEST(AreasTest, TypedFormsAreStoredAsTheAdapterStoresThem) {
    struct Row {
        const char* command;
        const char* show;
        const char* label;
        const char* value;
    };
    const Row rows[] = {
        {"ROUTER Beep DISABLE", "show router", "beep:", "0"},
        {"router masq_address", "show router", "masquerade address:", "0.0.0.0"},
        {"router address 010.1.2.3/8", "show router", "ip address:", "10.1.2.3"},
        {"router address 10.1.2.3/08", "show router", "submask:", "8"},
        {"dns address 010.000.0.01 , 0.0.0.0", "show dns", "primary address:", "10.0.0.1"},
        {"syslog active\tenable", "show syslog", "syslog active:", "1"},
        {"dialup provider_name NUM2  Two  blanks ", "show dialup num2",
         "provider name:", " Two  blanks "},
        {"dhcp range_address 192.168.1.200/10", "show dhcp", "end address:", "10 (192.168.1.209)"},
        {"Analog Ring_Sound TEL2 RING3", "show analog tel2", "ring sound:", "2"},
        {"shortnum add 3 ", "show shortnum num1", "3:", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        Device device;
        device.execute("shortnum add 3 0312345678");
        EXPECT_EQ(device.execute(row.command).body, "");
        EXPECT_EQ(readLabel(device.execute(row.show).body, row.label), row.value);
    }
}

// Every key of every area: a value that is not valid for it keeps what is there, the saved
// state restores into a fresh area, and reset gives the factory state again.
TEST(AreasTest, EveryKeySavesRestoresAndRefusesGarbage) {
    for (auto make :
         {makeAnalogArea, makeDigitalArea, makeArriveArea, makeShortnumArea, makeRouterArea}) {
        auto area = make();
        const auto factory = area->save();
        ASSERT_FALSE(factory.empty());
        std::map<std::string, std::string> garbage;
        for (const auto& [key, value] : factory) garbage[key] = "x\r\n#";
        area->restore(garbage);
        EXPECT_EQ(area->save(), factory);

        std::map<std::string, std::string> changed = factory;
        changed["tel2.ringSound"] = "2";
        changed["common.piafs"] = "1";
        changed["entry7.ring"] = "2";
        changed["4.number"] = "0312345678";
        changed["dialup.3.user_id"] = "me";
        changed["nat.4.in_use"] = "1";  // in use without addresses: not listed
        area->restore(changed);
        auto copy = make();
        copy->restore(area->save());
        EXPECT_EQ(copy->save(), area->save());
        EXPECT_NE(area->save(), factory);
        area->reset();
        EXPECT_EQ(area->save(), factory);
    }
}

// What the program waits for, compared without regard to letter case.
bool holdsTerminator(std::string_view text) {
    constexpr std::string_view kTerminators[] = {"\r\nOK\r\n", " Write OK ", "READY:\r\n", "F-ROM>",
                                                 " Erase OK ", "\r\n# ",     "Write OK",   "F0>",
                                                 "Password:",  ">",          "#"};
    for (std::string_view terminator : kTerminators) {
        for (std::size_t at = 0; at + terminator.size() <= text.size(); ++at) {
            if (equalsNoCase(text.substr(at, terminator.size()), terminator))
                return true;
        }
    }
    return false;
}

TEST(ErrorLineTest, FreeTextCannotFormATerminator) {
    struct Row {
        std::string text;
        std::string line;
    };
    const Row rows[] = {
        {"disk full", "% disk full\r\n"},
        {"cannot write ok.state", "% cannot write o?.state\r\n"},
        {"/tmp/WRITE OK/#1>", "% /tmp/WRITE O?/?1?\r\n"},
        {"a\r\nOK\r\nb", "% a??OK??b\r\n"},
        {"Erase OK, Password: x", "% Erase O?, Password? x\r\n"},
        {std::string("nul\0\x7f", 5), "% nul??\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const std::string line = errorLine(row.text);
        EXPECT_EQ(line, row.line);
        EXPECT_FALSE(holdsTerminator(line));
    }
}

// A failed flash write is never reported as "Write OK", not even when the state file's name,
// which goes into the error line, reads like the adapter's success text.
TEST(ErrorLineTest, FailedFlashWriteNamingAnAwkwardFile) {
    char dir[] = "/tmp/kxsim-err-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string inner = std::string(dir) + "/write ok #>";
    ASSERT_EQ(::mkdir(inner.c_str(), 0700), 0);
    Device device;
    std::string error;
    ASSERT_TRUE(device.useStateFile(inner + "/state", error)) << error;
    ASSERT_EQ(::rmdir(inner.c_str()), 0);  // the folder is gone: the write must fail
    ::rmdir(dir);
    for (const char* command : {"fromwr 15", "restart"}) {
        SCOPED_TRACE(command);
        const std::string body = device.execute(command).body;
        EXPECT_EQ(body.rfind(command[0] == 'f' ? "% F-ROM Write ERROR: " : "% ", 0), 0u) << body;
        EXPECT_FALSE(holdsTerminator(body)) << body;
    }
}

using kx::test::readFile;

// The flash copy kept in a state file.
std::string tempPath(const char* name) {
    return "/tmp/kxsim-" + std::to_string(::getpid()) + "-" + name;
}

TEST(StateFileTest, ReadsBackWhatItWroteAndRefusesAMalformedFile) {
    const std::string path = tempPath("state");
    const FlatState state = {
        {"a.name", "\x83\x65 = %41 #x"}, {"a.k=ey#", "line\r\nbreak\x7f"}, {"b.empty", ""}};
    std::string error;
    ASSERT_TRUE(saveStateFile(path, state, error)) << error;
    FlatState back;
    bool exists = false;
    ASSERT_TRUE(loadStateFile(path, back, exists, error)) << error;
    EXPECT_TRUE(exists);
    EXPECT_EQ(back, state);
    EXPECT_TRUE(loadStateFile(tempPath("state-missing"), back, exists, error));
    EXPECT_FALSE(exists);  // no file yet: the factory state

    std::ofstream(path) << "# comment\nfake.value=ok\nno equals sign here\n";
    EXPECT_FALSE(loadStateFile(path, back, exists, error));
    EXPECT_NE(error.find("line 3"), std::string::npos) << error;
    std::ofstream(path) << "fake.value=bad %4\n";
    EXPECT_FALSE(loadStateFile(path, back, exists, error));

    Device device{test::fakeAreas()};
    EXPECT_FALSE(device.useStateFile(path, error));
    EXPECT_EQ(device.state().at("fake.value"), "factory");
    EXPECT_EQ(readFile(path), "fake.value=bad %4\n");  // never overwritten
    ::unlink(path.c_str());
}

// Each key names its area once; a file of the first form, which named it twice, is still read
// (a key in today's form wins over an old one), and the next "fromwr 15" writes today's form.
// A file read at the start is DigitalSessionTest's (its presets come from one).
TEST(StateFileTest, KeysNameTheirAreaOnceAndOldFilesAreRead) {
    Device fresh;
    for (const auto& [key, value] : fresh.state()) {
        const std::string area = key.substr(0, key.find('.') + 1);
        EXPECT_NE(key.compare(area.size(), area.size(), area), 0) << key;
    }

    const std::string path = tempPath("state-doubled");
    std::ofstream(path) << "analog.analog.tel1.ringSound=2\n"
                           "router.router.beep=0\n"
                           "router.router.redial=1\n"
                           "router.redial=0\n"
                           "shortnum.shortnum.7.number=0312345678\n";
    Device device;
    std::string error;
    ASSERT_TRUE(device.useStateFile(path, error)) << error;
    EXPECT_EQ(device.state().at("analog.tel1.ringSound"), "2");
    EXPECT_EQ(device.state().at("router.beep"), "0");
    EXPECT_EQ(device.state().at("router.redial"), "0");
    EXPECT_EQ(device.state().at("shortnum.7.number"), "0312345678");

    ASSERT_NE(device.execute("fromwr 15").body.find("Write OK"), std::string::npos);
    FlatState stored;
    bool exists = false;
    ASSERT_TRUE(loadStateFile(path, stored, exists, error)) << error;
    EXPECT_EQ(stored, device.state());
    EXPECT_EQ(stored.count("router.router.beep"), 0u);
    // a factory initialisation stores the factory settings, which the next start reads
    EXPECT_EQ(device.execute("restart").action, CommandResult::Action::Restart);
    ASSERT_TRUE(loadStateFile(path, stored, exists, error)) << error;
    EXPECT_EQ(stored, fresh.state());
    ::unlink(path.c_str());
}

}  // namespace
}  // namespace kx::sim
