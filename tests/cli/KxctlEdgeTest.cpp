// kxctl at the edges, against the emulated adapter: a show output restored, items the adapter
// did not report or cannot set, files that are links, devices or standard streams, the command
// line's own errors, and signals in the middle of a restore (the real program in a process of
// its own).
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

#include "tests/cli/KxctlSession.h"

extern char** environ;

namespace kx::cli {
namespace {

// A stream that takes nothing, as standard output on a full disk.
class FullBuffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

using KxctlEdgeTest = KxctlSession;

// The passwords `show` prints as the mask stay as they are on the adapter when that output is
// restored; the diff masks only the secret of a line.
TEST_F(KxctlEdgeTest, AShowOutputRestoredSendsNoMask) {
    ASSERT_EQ(run({"set", "router.dialup3.password=pw-3", "router.ras.password=pw-r"}).status,
              kExitOk);
    const Result shown = run({"show", "router"});
    ASSERT_EQ(shown.status, kExitOk) << shown.err;
    writeFile(path("shown"), shown.out);
    adapter_->transcript().clear();

    const Result diff = run({"diff", "--exit-code", path("shown")});
    EXPECT_EQ(diff.status, kExitOk) << diff.err;
    EXPECT_EQ(diff.out, "");
    const Result restored = run({"restore", path("shown")});
    EXPECT_EQ(restored.status, kExitOk) << restored.err;
    EXPECT_TRUE(contains(restored.err, "the mask ******** is not a password")) << restored.err;
    EXPECT_TRUE(contains(restored.err, "router.dialup3.password")) << restored.err;
    EXPECT_TRUE(contains(restored.err, "router.ras.password")) << restored.err;
    EXPECT_EQ(sent(), (Lines{"exit", "exit"}));

    // the adapter kept them: a backup holds them
    ASSERT_EQ(run({"backup", path("doc"), "router"}).status, kExitOk);
    const std::string document = readFile(path("doc"));
    EXPECT_TRUE(contains(document, "\nrouter.dialup3.password = pw-3\n"));
    EXPECT_TRUE(contains(document, "\nrouter.ras.password = pw-r\n"));

    // a change is shown with its block, only the secret masked
    writeFile(path("one"), "router.dialup3.password = pw-new\n");
    const Result changed = run({"diff", "--exit-code", path("one")});
    EXPECT_EQ(changed.status, kExitAdapter);
    EXPECT_EQ(changed.out, "dialup password num3 ********\n");
}

// A label lacking from the adapter's reply: the item is unknown, left out of show and backup as
// a comment and named; a document's value for it is sent even when it equals the record's zero.
TEST_F(KxctlEdgeTest, AMissingLabelIsLeftOutNotDefaulted) {
    addFault("nolabel=ring sound::show analog tel1");
    addFault("nolabel=send dial time::show analog tel2");
    const Result shown = run({"show", "analog"});
    ASSERT_EQ(shown.status, kExitOk) << shown.err;
    EXPECT_TRUE(contains(shown.out, "# analog.tel1.ringSound: not reported by the adapter\n"));
    EXPECT_TRUE(contains(shown.out, "# analog.tel2.sendDialTime: not reported by the adapter\n"));
    EXPECT_FALSE(contains(shown.out, "\nanalog.tel1.ringSound ="));
    EXPECT_FALSE(contains(shown.out, "\nanalog.tel2.sendDialTime ="));
    EXPECT_TRUE(contains(shown.out, "\nanalog.tel2.ringSound = "));
    EXPECT_TRUE(contains(shown.err, "analog.tel1.ringSound, analog.tel2.sendDialTime"))
        << shown.err;

    ASSERT_EQ(run({"backup", path("doc"), "analog"}).status, kExitOk);
    EXPECT_TRUE(contains(readFile(path("doc")),
                         "\n# analog.tel1.ringSound: not reported by the adapter\n"));
    // ring1 is the zero the record holds; the adapter's value is unknown, so it goes out
    adapter_->transcript().clear();
    const Result set = run({"set", "analog.tel1.ringSound=ring1", "analog.tel2.ringSound=ring1"});
    EXPECT_EQ(set.status, kExitOk) << set.err;
    EXPECT_EQ(sent(), (Lines{"analog ring_sound tel1 ring1", "fromwr 15", "exit"}));
}

// Items the adapter reports but no command sets: marked, kept as comments in a backup, refused
// by set and by a document that differs. (A show output holds them with the adapter's values
// and restores: AShowOutputRestoredSendsNoMask.)
TEST_F(KxctlEdgeTest, ReadOnlyItemsAreNeverDroppedSilently) {
    const Result names = run({"names"});
    EXPECT_TRUE(contains(names.out,
                         "router.hardwareAddress\ttext (at most 64 bytes of CP932) "
                         "(read-only)\n"));
    EXPECT_FALSE(contains(names.out, "router.nat1.inUse\tchoice: disable enable (read-only)"));

    ASSERT_EQ(run({"backup", path("doc"), "router"}).status, kExitOk);
    const std::string document = readFile(path("doc"));
    EXPECT_TRUE(contains(document, "\n# router.hardwareAddress = 00:80:6d:4a:21:07  (read-only)\n"))
        << document;
    writeFile(path("other"), "router.routerName = ELSEWHERE\nrouter.syslogFacility = 5\n");
    adapter_->transcript().clear();

    const struct {
        std::vector<std::string> args;
        int status;
        const char* message;
    } kRows[] = {
        {{"set", "router.routerName=X"}, kExitUsage, "router.routerName is read-only"},
        {{"restore", path("other")}, kExitUsage, "router.routerName is read-only"},
        {{"restore", path("doc")}, kExitOk, "0 command(s) sent"},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.args.back());
        const Result result = run(row.args);
        EXPECT_EQ(result.status, row.status) << result.err;
        EXPECT_TRUE(contains(result.err, row.message)) << result.err;
    }
    EXPECT_EQ(sent(), (Lines{"exit", "exit"}));
}

// backup FILE as users' tools write files: through a link, to a device, to "-", and with the
// reason when it cannot.
TEST_F(KxctlEdgeTest, BackupWritesThroughLinksAndIntoDevices) {
    writeFile(path("target"), "old\n");
    std::filesystem::create_symlink("target", path("link"));
    std::filesystem::create_directories(path("dir"));
    const struct {
        std::string file;
        int status;
        const char* message;
    } kRows[] = {
        {path("link"), kExitOk, ""},
        {"/dev/null", kExitOk, ""},
        {"-", kExitOk, ""},
        {path("dir"), kExitUsage, ": Is a directory"},
        {"/dev/full", kExitUsage, ": No space left on device"},
        {path("nowhere/doc"), kExitUsage, ": No such file or directory"},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.file);
        const Result result = run({"backup", row.file, "shortnum"});
        EXPECT_EQ(result.status, row.status) << result.err;
        EXPECT_TRUE(contains(result.err, row.message)) << result.err;
        if (row.status != kExitOk) {
            EXPECT_TRUE(result.err.starts_with("kxctl: cannot write " + row.file)) << result.err;
        }
    }
    EXPECT_TRUE(std::filesystem::is_symlink(path("link")));
    EXPECT_TRUE(contains(readFile(path("target")), "\nshortnum.1 = "));
    EXPECT_EQ(std::filesystem::status(path("target")).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
    const Result out = run({"backup", "-", "shortnum"});
    EXPECT_TRUE(out.out.starts_with("# KESTRELX settings document")) << out.out;
    for (const auto& entry : std::filesystem::directory_iterator(folder_))
        EXPECT_FALSE(contains(entry.path().filename().string(), ".")) << entry.path();

    // a failed write to standard output is the adapter's status, not a success
    FullBuffer full;
    std::ostream fullOut(&full);
    const Result failed = run({"show", "shortnum"}, "", &fullOut);
    EXPECT_EQ(failed.status, kExitAdapter);
    EXPECT_TRUE(failed.err.starts_with("kxctl: cannot write standard output")) << failed.err;
}

// Documents: "-" reads standard input, a byte-order mark is no part of the first name, and a
// document with nothing in it is refused with the reason, before anything is sent.
TEST_F(KxctlEdgeTest, DocumentsFromFilesAndStandardInput) {
    writeFile(path("bom"), "\xEF\xBB\xBFshortnum.1 = 0311112222\n");
    writeFile(path("empty"), "");
    writeFile(path("comments"), "# only comments\n\n");
    std::filesystem::create_directories(path("dir"));
    const struct {
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string out;  // or the message on standard error
    } kRows[] = {
        {{"diff", "-"}, "shortnum.2 = 0312345678\n", kExitOk, "shortnum add 2 0312345678\n"},
        // a choice given by its index
        {{"diff", "-"}, "analog.tel1.ringSound = 1\n", kExitOk, "analog ring_sound tel1 ring2\n"},
        {{"diff", path("bom")}, "", kExitOk, "shortnum add 1 0311112222\n"},
        {{"diff", path("empty")}, "", kExitUsage, path("empty") + " is empty"},
        {{"diff", "-"}, "", kExitUsage, "standard input is empty"},
        {{"diff", path("comments")}, "", kExitUsage, path("comments") + " holds no settings"},
        {{"restore", path("dir")}, "", kExitUsage, "cannot read " + path("dir") + ": Is a direc"},
        {{"diff", path("none")},
         "",
         kExitUsage,
         "cannot read " + path("none") + ": No such file or directory"},
        {{"diff", path("a\x1B[2Jb\xFF")}, "", kExitUsage, "cannot read " + path("a\\x1B[2Jb\\xFF")},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.args.back());
        const Result result = run(row.args, row.input);
        EXPECT_EQ(result.status, row.status) << result.err;
        if (row.status == kExitOk) {
            EXPECT_EQ(result.out, row.out);
        } else {
            EXPECT_TRUE(result.err.starts_with("kxctl: ") && contains(result.err, row.out))
                << result.err;
        }
    }
    adapter_->transcript().clear();
    EXPECT_EQ(run({"restore", "-"}, "shortnum.2 = 0312345678\n").status, kExitOk);
    EXPECT_EQ(sent(), (Lines{"shortnum add 2 0312345678", "fromwr 15", "exit"}));
}

// "not stored to flash" only when "fromwr 15" was not sent; its own failure leaves it open.
TEST_F(KxctlEdgeTest, AFailedFlashWriteSaysTheSettingsMayOrMayNotBeStored) {
    shellTimings().fromwrTimeoutMs = 300;
    addFault("silent/1:fromwr 15");
    const Result result = run({"set", "shortnum.3=0312345678"});
    EXPECT_EQ(result.status, kExitAdapter);
    EXPECT_EQ(result.err,
              "kxctl: the adapter did not acknowledge \"fromwr 15\": timed out (1 "
              "command(s) sent; the adapter did not confirm the flash write, so they "
              "may or may not be stored to flash)\n");
    EXPECT_EQ(sent(), (Lines{"shortnum add 3 0312345678", "fromwr 15", "exit"}));
}

// The command line's own answers; every error begins with "kxctl: ".
TEST_F(KxctlEdgeTest, CommandLineAnswersAsUsersExpect) {
    const struct {
        std::vector<std::string> args;
        int status;
        const char* out;
        const char* err;
    } kRows[] = {
        {{"--version"}, kExitOk, "kxctl 1.", ""},
        {{"shwo"},
         kExitUsage,
         "",
         "kxctl: unknown command \"shwo\" (commands: probe, show, backup, diff, restore, set, "
         "history, names, ports)\n"},
        {{"--com", "12", "show"}, kExitUsage, "", "kxctl: "},
        {{"show", "nowhere"}, kExitUsage, "", "kxctl: unknown area \"nowhere\""},
        {{"diff"}, kExitUsage, "", "kxctl: "},
        {{"show", "--help"}, kExitOk, "shortnum, router", ""},
        {{"--help"}, kExitOk, "its network side with --net-demo", ""},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.args.front());
        std::ostringstream out, err;
        EXPECT_EQ(runKxctl(row.args, out, err), row.status);
        EXPECT_TRUE(contains(out.str(), row.out)) << out.str();
        EXPECT_TRUE(err.str().starts_with(row.err)) << err.str();
    }
}

// The probe's failures in English, naming the device and the command.
TEST_F(KxctlEdgeTest, ProbeFailuresAreToldInEnglish) {
    shellTimings().atTimeoutMs = 1000;
    addFault("silent:ATI");
    const Result result = run({"probe"});
    EXPECT_EQ(result.status, kExitAdapter);
    EXPECT_EQ(result.err, "kxctl: no adapter answered on " + adapter_->ptyPath() +
                              " (no reply to \"ATI\" within 1 s)\n");
}

// The program itself, in a process of its own (started in the test's folder): interrupted while
// a restore waits for the adapter's answer to its second setting.
class KxctlSignalTest : public KxctlEdgeTest {
protected:
    pid_t spawn(const std::vector<std::string>& args) {
        std::vector<std::string> all = {KXCTL_BINARY, "--port", adapter_->ptyPath()};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& arg : all) argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, path("out").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, path("err").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        // started in the test's folder, it reads the settings file there
        posix_spawn_file_actions_addchdir_np(&actions, folder_.c_str());
        pid_t pid = -1;
        EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }
    // Waits (generously: this is no timing test) until `done` holds.
    template <class Done>
    bool eventually(Done done) {
        for (int i = 0; i < 3000 && !done(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return done();
    }
    bool received(const std::string& line) {
        const Lines lines = adapter_->transcript().lines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    int exitStatus(pid_t pid) {
        int status = 0;
        EXPECT_EQ(::waitpid(pid, &status, 0), pid);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void writeRestore() {
        writeFile(path("doc"),
                  "analog.tel1.ringSound = ring2\nanalog.tel2.ringSound = ring3\n"
                  "analog.tel3.ringSound = ring2\n");
    }
};

TEST_F(KxctlSignalTest, AnInterruptedRestoreLeavesWithExitAndNoFlashWrite) {
    const struct {
        int signal;
        int status;
    } kRows[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.signal);
        startAdapter();
        addFault("delay=700/1:analog ring_sound tel2");
        writeRestore();
        const pid_t pid = spawn({"--transcript", path("transcript"), "restore", path("doc")});
        ASSERT_TRUE(eventually([&] { return received("analog ring_sound tel2 ring3"); }));
        ::kill(pid, row.signal);
        EXPECT_EQ(exitStatus(pid), row.status);
        EXPECT_EQ(sent(),
                  (Lines{"analog ring_sound tel1 ring2", "analog ring_sound tel2 ring3", "exit"}));
        const std::string err = readFile(path("err"));
        EXPECT_TRUE(contains(err, "kxctl: interrupted by "));
        EXPECT_TRUE(contains(err,
                             "before \"analog ring_sound tel3 ring2\" (2 command(s) sent "
                             "before it, 1 not sent, not stored to flash)\n"))
            << err;
        EXPECT_TRUE(contains(readFile(path("transcript")), " > exit\\r\n"));

        // the next session finds the adapter at its AT stage: no recovery step
        adapter_->transcript().clear();
        EXPECT_EQ(run({"probe"}).status, kExitOk);
        EXPECT_EQ(adapter_->transcript().lines(),
                  (Lines{"ATI", "AT%I2", "AT%M", "ATT1", "", "exit"}));
    }
}

// "backup /dev/stdout" with standard output redirected to a file writes into that file.
TEST_F(KxctlSignalTest, BackupToStandardOutputRedirectedToAFile) {
    writeFile(path("out"), "");
    const auto inode = [&] {
        struct stat status {};
        EXPECT_EQ(::stat(path("out").c_str(), &status), 0);
        return status.st_ino;
    };
    const auto before = inode();
    EXPECT_EQ(exitStatus(spawn({"backup", "/dev/stdout", "shortnum"})), kExitOk);
    EXPECT_TRUE(readFile(path("out")).starts_with("# KESTRELX settings document"));
    EXPECT_EQ(inode(), before);  // written into, not replaced
}

// The settings file names another device than the adapter's "ATI" reply.
TEST_F(KxctlSignalTest, AnAdapterOfAnotherNameIsNotTakenForTheDevice) {
    writeFile(path("setutily.ini"), "[MODE]\nKIKI=KXOTHER\n");
    const pid_t pid = spawn({"probe"});
    EXPECT_EQ(exitStatus(pid), kExitAdapter);
    EXPECT_EQ(readFile(path("err")), "kxctl: the adapter on " + adapter_->ptyPath() +
                                         " is not a KXOTHER (ATI reply lacks the device name)\n");
    EXPECT_EQ(adapter_->transcript().lines(), (Lines{"ATI"}));
}

TEST_F(KxctlSignalTest, ASecondInterruptionEndsAtOnce) {
    addFault("delay=20000/1:analog ring_sound tel2");
    writeRestore();
    const pid_t pid = spawn({"restore", path("doc")});
    ASSERT_TRUE(eventually([&] { return received("analog ring_sound tel2 ring3"); }));
    ::kill(pid, SIGINT);
    ASSERT_TRUE(
        eventually([&] { return contains(readFile(path("err")), "again to end at once"); }));
    ::kill(pid, SIGINT);
    EXPECT_EQ(exitStatus(pid), 130);
    EXPECT_FALSE(received("exit"));  // it did not wait for the delayed answer
}

}  // namespace
}  // namespace kx::cli
