// Golden replays: the real kestrelx-setup program replays each tests/app/replay/NAME.script
// headless against the emulated adapter; the adapter must receive exactly the command lines of
// NAME.expect and the program must print its "message:" lines.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sim/Emulator.h"

extern char** environ;

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

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Program {
    int status = -1;
    std::string output;
};

// Runs kestrelx-setup in `folder` with `args`; standard output is collected in a file.
Program runProgram(const fs::path& folder, const std::vector<std::string>& args) {
    fs::path outPath = folder / "stdout.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::vector<std::string> all{KX_SETUP_BINARY};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    // the program's start-up folder is where it was started
    fs::path here = fs::current_path();
    fs::current_path(folder);
    pid_t pid = 0;
    int rc = posix_spawn(&pid, KX_SETUP_BINARY, &actions, nullptr, argv.data(), environ);
    fs::current_path(here);
    posix_spawn_file_actions_destroy(&actions);
    Program p;
    if (rc != 0)
        return p;
    int status = 0;
    waitpid(pid, &status, 0);
    p.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    p.output = readFile(outPath);
    return p;
}

class Replay : public ::testing::TestWithParam<std::string> {};

TEST_P(Replay, AdapterReceivesTheExpectedLines) {
    const std::string name = GetParam();
    fs::path folder =
        fs::temp_directory_path() / ("kx-replay-" + name + "-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "setutily.ini") << "[PORTSEL]\nPORT=0\nCOM=1\n";

    std::string error;
    auto adapter = sim::Emulator::start({}, error);
    ASSERT_TRUE(adapter) << error;
    fs::path script = fs::path(KX_REPLAY_DIR) / (name + ".script");
    Program p = runProgram(
        folder, {"--port", adapter->ptyPath(), "--headless", "--script", script.string()});
    EXPECT_EQ(p.status, 0) << p.output;

    std::vector<std::string> expectedLines, expectedMessages;
    for (const std::string& line : lines(readFile(fs::path(KX_REPLAY_DIR) / (name + ".expect")))) {
        (line.rfind("message: ", 0) == 0 ? expectedMessages : expectedLines).push_back(line);
    }
    std::vector<std::string> messages;
    for (const std::string& line : lines(p.output))
        if (line.rfind("message: ", 0) == 0)
            messages.push_back(line);
    EXPECT_EQ(adapter->transcript().lines(), expectedLines);
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
    struct Case {
        const char* script;
        const char* failure;
    } cases[] = {
        {"dialog 129\nclick 1\ndialog 102\nclick 4242\n", "script: line 4: "},
        {"dialog 129\nclick 1\ndialog 102\nclick 1590\n\n# then\ndialog 102\n",
         "script: line 7: the program ended before this line\n"},
    };
    fs::path folder = fs::temp_directory_path() / ("kx-replay-fail-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "setutily.ini") << "[PORTSEL]\nPORT=0\nCOM=1\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        std::ofstream(folder / "bad.script") << c.script;
        std::string error;
        auto adapter = sim::Emulator::start({}, error);
        ASSERT_TRUE(adapter) << error;
        Program p = runProgram(folder, {"--port", adapter->ptyPath(), "--headless", "--script",
                                        (folder / "bad.script").string()});
        EXPECT_EQ(p.status, 2);
        EXPECT_NE(p.output.find(c.failure), std::string::npos) << p.output;
        EXPECT_NE(p.output.find("log: com open"), std::string::npos) << p.output;
        std::vector<std::string> expected{"ATI", "AT%I2", "AT%M", "ATT1", "", "exit"};
        EXPECT_EQ(adapter->transcript().lines(), expected);
    }
    fs::remove_all(folder);
}

// Without a display the program says how to run it and ends with status 1, instead of the
// toolkit aborting.
TEST(ReplayProgram, NoDisplaySaysHowToRunIt) {
    fs::path folder = fs::temp_directory_path() / ("kx-nodisplay-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    fs::path errPath = folder / "stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string_view v(*e);
        if (!v.starts_with("DISPLAY=") && !v.starts_with("WAYLAND_DISPLAY=") &&
            !v.starts_with("QT_QPA_PLATFORM="))
            env.emplace_back(v);
    }
    std::vector<char*> envp;
    for (std::string& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);
    std::string binary = KX_SETUP_BINARY;
    char* argv[] = {binary.data(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, KX_SETUP_BINARY, &actions, nullptr, argv, envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    std::string err = readFile(errPath);
    if (err.find("built without Qt") == std::string::npos) {
        EXPECT_EQ(WEXITSTATUS(status), 1) << err;
        EXPECT_NE(err.find("there is no display"), std::string::npos) << err;
        EXPECT_NE(err.find("--headless --script"), std::string::npos) << err;
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace kx::test
