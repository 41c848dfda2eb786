// The flash copy kept in a state file.

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "sim/Device.h"
#include "sim/StateFile.h"
#include "tests/sim/FakeArea.h"
#include "tests/support/Files.h"

namespace kx::sim {
namespace {

using kx::test::readFile;

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
