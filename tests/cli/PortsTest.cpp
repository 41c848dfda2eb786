// kxctl ports and --port auto over a fake device tree (the test hook KX_DEVICE_ROOT) whose
// by-id entry links to the emulated adapter's pseudo-terminal.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/Profile.h"
#include "tests/cli/KxctlSession.h"
#include "tests/support/FakeDevices.h"

namespace kx::cli {
namespace {

Result kxctl(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    Result r;
    r.status = runKxctl(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

// Each line of `text` as its blank-separated words.
std::vector<std::vector<std::string>> words(const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        lines.emplace_back();
        for (std::string w; words >> w;) lines.back().push_back(w);
    }
    return lines;
}

class PortsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // a folder of its own (ctest runs the tests of this program side by side, in one
        // folder): for the fake tree, and for the settings file when this process has not
        // yet taken its start-up folder
        folder_ = ::testing::TempDir() + "kxctl_ports_" + std::to_string(::getpid());
        std::filesystem::create_directories(folder_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        settingsPath_ = SettingsFilePath(StartupDirectory());
        shellTimings().probeSettle = std::chrono::milliseconds(10);
        shellTimings().atTimeoutMs = 1000;
        std::string error;
        adapter_ = sim::Emulator::start(sim::EmulatorOptions{}, error);
        ASSERT_TRUE(adapter_) << error;
        fake_ = std::make_unique<test::FakeDevices>(folder_ + "/fake");
        std::ofstream(settingsPath_)
            << "[MODE]\nKIKI=KESTRELX\n[DEVICES]\nCOM4=" + fake_->byId("usb-Gone_cable") + "\n";
    }
    void TearDown() override {
        std::remove(settingsPath_.c_str());
        fake_.reset();
        shellTimings() = ShellTimings{};
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
    }

    std::string folder_;
    std::filesystem::path previous_;
    std::string settingsPath_;
    std::unique_ptr<sim::Emulator> adapter_;
    std::unique_ptr<test::FakeDevices> fake_;
};

TEST_F(PortsTest, ListsEachComPortWithItsDeviceAndWhetherItAnswers) {
    fake_->addById("usb-Kestrel_cable", adapter_->ptyPath());
    const std::string usb = fake_->addNode("ttyUSB0");  // there, but no serial port
    const std::string uart = fake_->addUart("ttyS0", 4);
    fake_->addUart("ttyS1", 0);
    using Row = std::vector<std::string>;
    std::vector<Row> expected{
        {"PORT", "DEVICE", "STATE", "ACCESS", "BY-ID"},
        {"COM1", adapter_->ptyPath(), "present", "yes", "usb-Kestrel_cable"},
        {"COM2", usb, "present", "yes", "-"},
        {"COM3", uart, "present", "yes", "-"},
        {"COM4", fake_->byId("usb-Gone_cable"), "absent", "-", "usb-Gone_cable"},
    };
    for (int n = 5; n <= 9; ++n)
        expected.push_back({"COM" + std::to_string(n), fake_->dev("ttyS" + std::to_string(n - 1)),
                            "absent", "-", "-"});
    Result r = kxctl({"ports"});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(words(r.out), expected);
    EXPECT_TRUE(adapter_->transcript().lines().empty());  // listing asks nobody

    r = kxctl({"ports", "--probe"});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    const char* answers[] = {"ADAPTER", "yes", "-", "-", "-", "-", "-", "-", "-", "-"};
    for (std::size_t i = 0; i < expected.size(); ++i) expected[i].push_back(answers[i]);
    EXPECT_EQ(words(r.out), expected);
    EXPECT_EQ(adapter_->transcript().lines(), std::vector<std::string>{"ATI"});
}

TEST_F(PortsTest, PortAutoUsesTheFirstDeviceThatAnswers) {
    Result r = kxctl({"--port", "auto", "probe"});
    EXPECT_EQ(r.status, kExitAdapter);
    EXPECT_NE(r.err.find("no serial device of COM1 to COM9 answers as the adapter"),
              std::string::npos)
        << r.err;

    fake_->addById("usb-Kestrel_cable", adapter_->ptyPath());
    r = kxctl({"--port", "auto", "probe"});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out, "device: KESTRELX\nfirmware: Version 2.10a\n");
}

}  // namespace
}  // namespace kx::cli
