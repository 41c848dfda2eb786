// Golden replays: the real kestrelx-setup program replays each tests/app/replay/NAME.script
// headless against the emulated adapter; the adapter must receive exactly the command lines of
// NAME.expect and the program must print its "message:" lines.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "res/ShellIds.h"
#include "sim/Emulator.h"
#include "tests/support/Files.h"
#include "tests/support/SessionSupport.h"

namespace kx::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> scenarios() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(KX_REPLAY_DIR))
        if (entry.path().extension() == ".script" &&
            fs::exists(fs::path(entry.path()).replace_extension(".expect")))
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

struct Program {
    int status = -1;
    std::string output;  // standard output, or standard error with `withoutDisplay`
    std::vector<std::string> transcript;  // what the emulated adapter received (replays)
};

// A folder of its own for one run of the program, with a serial COM1 settings file.
fs::path runFolder(const std::string& name) {
    fs::path folder = fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "setutily.ini") << "[PORTSEL]\nPORT=0\nCOM=1\n";
    return folder;
}

// Runs kestrelx-setup in `folder` (its start-up folder) with `args`, collecting its standard
// output; `withoutDisplay`, its standard error and without the display's variables.
Program runProgram(const fs::path& folder, const std::string& args, bool withoutDisplay = false) {
    const std::string command =
        "cd '" + folder.string() + "' && " +
        (withoutDisplay ? "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " : "") +
        "'" KX_SETUP_BINARY "' " + args + (withoutDisplay ? " 2>" : " >") + "output.txt";
    const int status = std::system(command.c_str());
    Program p;
    p.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    p.output = readFile((folder / "output.txt").string());
    return p;
}

// Replays `script` headless in `folder` against a new emulated adapter.
Program replay(const fs::path& folder, const fs::path& script) {
    std::string error;
    auto adapter = sim::Emulator::start({}, error);
    EXPECT_TRUE(adapter) << error;
    if (!adapter)
        return {};
    Program p = runProgram(
        folder, "--port " + adapter->ptyPath() + " --headless --script " + script.string());
    p.transcript = adapter->transcript().lines();
    return p;
}

class Replay : public ::testing::TestWithParam<std::string> {};

TEST_P(Replay, AdapterReceivesTheExpectedLines) {
    const std::string name = GetParam();
    fs::path folder = runFolder("kx-replay-" + name);
    Program p = replay(folder, fs::path(KX_REPLAY_DIR) / (name + ".script"));
    EXPECT_EQ(p.status, 0) << p.output;

    std::vector<std::string> expectedLines, expectedMessages;
    for (const std::string& line : lines(readFile(fs::path(KX_REPLAY_DIR) / (name + ".expect"))))
        (line.starts_with("message: ") ? expectedMessages : expectedLines).push_back(line);
    std::vector<std::string> messages;
    for (const std::string& line : lines(p.output))
        if (line.starts_with("message: "))
            messages.push_back(line);
    EXPECT_EQ(p.transcript, expectedLines);
    EXPECT_EQ(messages, expectedMessages);
    fs::remove_all(folder);
}

std::string scenarioName(const ::testing::TestParamInfo<std::string>& param) {
    std::string n = param.param;
    for (char& c : n)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return n;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, Replay, ::testing::ValuesIn(scenarios()), scenarioName);

// A line that cannot be done, and lines the program never reached because it ended first,
// both end the run with status 2 after the normal close path.
TEST(ReplayProgram, FailedLineEndsWithStatus2ThroughTheClosePath) {
    constexpr int kNoSuchControl = 4242;
    struct Case {
        std::string script;
        const char* failure;
    } cases[] = {
        {kStart + click(kNoSuchControl), "script: line 4: "},
        {kStart + click(IDC_MAIN_EXIT) + "\n# then\n" + dialog(IDD_MAIN),
         "script: line 7: the program ended before this line\n"},
    };
    fs::path folder = runFolder("kx-replay-fail");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        std::ofstream(folder / "bad.script") << c.script;
        Program p = replay(folder, folder / "bad.script");
        EXPECT_EQ(p.status, 2);
        EXPECT_NE(p.output.find(c.failure), std::string::npos) << p.output;
        EXPECT_NE(p.output.find("log: com open"), std::string::npos) << p.output;
        EXPECT_EQ(p.transcript,
                  (std::vector<std::string>{"ATI", "AT%I2", "AT%M", "ATT1", "", "exit"}));
    }
    fs::remove_all(folder);
}

// --demo in a folder without a settings file: the window and the questions name the emulated
// adapter, not an empty device.
TEST(ReplayProgram, DemoInAFreshFolderNamesTheEmulatedAdapter) {
    fs::path folder = runFolder("kx-demo");
    fs::remove(folder / "setutily.ini");
    std::ofstream(folder / "demo.script")
        << kStart + command(ID_FILE_INIT) + "answer cancel\n" + kClose;
    Program p = runProgram(folder, "--demo --headless --script demo.script");
    EXPECT_EQ(p.status, 0) << p.output;
    EXPECT_NE(p.output.find("初期化後、KESTRELXをリブートし設定ユーティリティを終了します。"),
              std::string::npos)
        << p.output;
    fs::remove_all(folder);
}

// Without a display the program says how to run it and ends with status 1, instead of the
// toolkit aborting.
TEST(ReplayProgram, NoDisplaySaysHowToRunIt) {
    fs::path folder = runFolder("kx-nodisplay");
    Program p = runProgram(folder, "", true);
    if (p.output.find("built without Qt") == std::string::npos) {
        EXPECT_EQ(p.status, 1) << p.output;
        EXPECT_NE(p.output.find("there is no display"), std::string::npos) << p.output;
        EXPECT_NE(p.output.find("--headless --script"), std::string::npos) << p.output;
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace kx::test
