// kxctl against the emulated adapter: documents, diffs, restores and their refusals, checked on
// the exact command lines the adapter received.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/DocumentFile.h"
#include "tests/cli/KxctlSession.h"

namespace kx::cli {
namespace {

// The document without its header comments (the date differs from run to run).
std::string body(const std::string& document) {
    return document.substr(document.find("\n\n"));
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class KxctlTest : public KxctlSession {
protected:
    std::string backup(const std::string& name) {
        Result result = run({"backup", path(name)});
        EXPECT_EQ(result.status, kExitOk) << result.err;
        return readFile(path(name));
    }
};

TEST_F(KxctlTest, DiffAgainstAnUnchangedAdapterPrintsNothing) {
    backup("doc");
    Result result = run({"diff", path("doc")});
    EXPECT_EQ(result.status, kExitOk) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(sent(), (std::vector<std::string>{"exit", "exit"}));
}

TEST_F(KxctlTest, ABadDocumentIsRefusedWithItsLineAndNothingIsSent) {
    const struct {
        const char* line;
        const char* message;
    } kRows[] = {
        {"analog.tel1.selfAddress = 03x1234", ":3: invalid value for analog.tel1.selfAddress"},
        {"analog.tel1.sendDialTime = 16", ":3: invalid value for analog.tel1.sendDialTime"},
        {"digital.addMinTime = 7", ":3: invalid value for digital.addMinTime"},
        {"analog.tel1.ringSound = ring4", ":3: invalid value for analog.tel1.ringSound"},
        {"shortnum.3 = 0312\r345", ":3: a control character is not allowed in shortnum.3"},
        {"shortnum.3 = 0312\x7f", ":3: a control character is not allowed in shortnum.3"},
        {"shortnum.3 = 03\xf0\x9f\x98\x80",
         ":3: the value of shortnum.3 has a character without a CP932 form"},
        {"shortnum.3 = 03\xff", ":3: the value of shortnum.3 is not valid UTF-8"},
        {"analog.tel4.ringSound = ring1", ":3: unknown name analog.tel4.ringSound"},
        {"analog.tel1.ringSound ring2", ":3: expected NAME = VALUE"},
        {"analog.tel2.ringSound = ring2", ":3: analog.tel2.ringSound is given twice"},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.line);
        writeFile(path("bad"), "# hand-edited\nanalog.tel2.ringSound = ring3\n" +
                                   std::string(row.line) + "\nshortnum.1 = 0311112222\n");
        for (const char* command : {"diff", "restore"}) {
            Result result = run({command, path("bad")});
            EXPECT_EQ(result.status, kExitUsage);
            EXPECT_NE(result.err.find(path("bad") + row.message), std::string::npos) << result.err;
            EXPECT_EQ(result.out, "");
        }
    }
    EXPECT_EQ(adapter_->transcript().size(), 0u);
}

TEST_F(KxctlTest, ABadSetArgumentIsRefusedAndNothingIsSent) {
    Result result = run({"set", "analog.tel1.ringSound=ring2", "analog.tel1.sendDialTime=2"});
    EXPECT_EQ(result.status, kExitUsage);
    EXPECT_EQ(result.err,
              "kxctl: argument 2: invalid value for analog.tel1.sendDialTime: \"2\" (expected "
              "number 3..15)\n");
    EXPECT_EQ(adapter_->transcript().size(), 0u);
}

TEST_F(KxctlTest, ARestoreStopsAtAFailedCommandAndNamesIt) {
    writeFile(
        path("edited"),
        "analog.tel1.ringSound = ring2\nanalog.tel2.ringSound = ring2\n"
        "analog.tel3.ringSound = ring2\nanalog.useINumber = enable\nshortnum.1 = 0311112222\n");
    addFault("drop/1:analog use_i_number");
    const std::string pty = adapter_->ptyPath();
    Result result = run({"restore", path("edited")});
    EXPECT_EQ(result.status, kExitAdapter);
    // the link's own line once, as kxctl's, then the failure; how the line's end shows (the
    // read ends, fails or the device hangs up) depends on the timing
    const std::string lost = "kxctl: Serial link lost: " + pty + ": the device ";
    const std::string failure =
        "kxctl: the adapter did not acknowledge \"analog use_i_number enable\": link lost (3 "
        "command(s) sent before it, not stored to flash)\n";
    EXPECT_TRUE(result.err.starts_with(lost)) << result.err;
    EXPECT_TRUE(result.err.ends_with(failure)) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 2) << result.err;
    EXPECT_EQ(sent(), (std::vector<std::string>{
                          "analog ring_sound tel1 ring2", "analog ring_sound tel2 ring2",
                          "analog ring_sound tel3 ring2", "analog use_i_number enable"}));
}

TEST_F(KxctlTest, TheTranscriptHoldsEveryExchangeWithItsDirection) {
    Result result = run({"--transcript", path("transcript"), "set", "shortnum.2=0312345678"});
    EXPECT_EQ(result.status, kExitOk) << result.err;
    const std::string transcript = readFile(path("transcript"));
    struct stat status {};
    ASSERT_EQ(::stat(path("transcript").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);  // the owner's only
    for (const char* expected :
         {" > ATI\\r\n", " > show shortnum num1\\r\n", " > shortnum add 2 0312345678\\r\n",
          " > fromwr 15\\r\n", " > exit\\r\n", " < exit\\r\\n"})
        EXPECT_NE(transcript.find(expected), std::string::npos) << expected;
}

TEST_F(KxctlTest, ShowJsonIsOneObject) {
    Result result = run({"show", "--json", "digital"});
    ASSERT_EQ(result.status, kExitOk) << result.err;
    EXPECT_EQ(result.out.front(), '{');
    EXPECT_NE(result.out.find("\"digital.addMinTime\": "), std::string::npos);
    EXPECT_NE(result.out.find("\"digital.data.iNumber\": \""), std::string::npos);
    EXPECT_EQ(result.out.find("analog."), std::string::npos);
}

// The router variant's area: named, or in every command's default with "ROUTER=1" in the
// settings file; written as the HomePNA menu writes it.
TEST_F(KxctlTest, RouterSettingsGoOutAsTheHomePnaMenuWritesThem) {
    Result result = run({"backup", path("router"), "router"});
    ASSERT_EQ(result.status, kExitOk) << result.err;
    const std::string original = readFile(path("router"));
    EXPECT_NE(original.find("\ndigital.pna.iNumber = "), std::string::npos);
    EXPECT_EQ(original.find("analog."), std::string::npos);
    EXPECT_EQ(original.find("router.loginPassword"), std::string::npos);  // never written
    adapter_->transcript().clear();

    // an entry put in use needs both of its items, the router's own address cannot be emptied,
    // CHAP needs the 64k line use, a comma would split the adapter's command, DNS servers given
    // by hand need one, and a day has 23 hours at most
    const struct {
        std::vector<std::string> args;
        const char* names;  // the item or entry the message names
    } kRefused[] = {
        {{"set", "router.nat6.inUse=enable"}, "router.nat6"},
        {{"set", "router.routerAddress="}, "router.routerAddress"},
        {{"set", "router.dialup2.protocol=chap", "router.dialup2.mode=mp1"}, "router.dialup2"},
        {{"set", "router.nat5.wanAddress=a,b"}, "router.nat5.wanAddress"},
        {{"set", "router.dialup3.dnsSelect=manual"}, "router.dialup3"},  // no server address
        {{"set", "router.timeLimit=24", "router.timePeriod=0"}, "router.timeLimit"},
        {{"set", "router.ipFilter=555555555"}, "router.ipFilter"},  // an index with a keyword
        // an entry not in use takes no items
        {{"set", "router.host3.hostName=x"}, "router.host3.hostName cannot be written while"},
    };
    for (const auto& row : kRefused) {
        Result refused = run(row.args);
        EXPECT_EQ(refused.status, kExitUsage) << row.names;
        EXPECT_NE(refused.err.find(row.names), std::string::npos) << refused.err;
    }
    result = run({"--transcript", path("transcript"), "set", "router.nat5.inUse=enable",
                  "router.nat5.lanAddress=192.168.1.5", "router.nat5.wanAddress=*web",
                  "router.ras.password=ras-Secret"});
    ASSERT_EQ(result.status, kExitOk) << result.err;
    // (the comma and the index are refused at once; the other refusals read the adapter first)
    EXPECT_EQ(sent(), (std::vector<std::string>{"exit", "exit", "exit", "exit", "exit", "exit",
                                                "nat add 5 192.168.1.5,*web",
                                                "ras password ras-Secret", "fromwr 15", "exit"}));
    EXPECT_EQ(readFile(path("transcript")).find("ras-Secret"), std::string::npos);

    // the router's section goes last, and its address after its other items: the adapter
    // restarts with it, so nothing follows it
    adapter_->transcript().clear();
    result = run({"set", "router.routerAddress=192.168.1.2/24", "router.beep=disable",
                  "router.syslogFacility=6"});
    ASSERT_EQ(result.status, kExitOk) << result.err;
    EXPECT_EQ(sent(), (std::vector<std::string>{"syslog facility 6", "router beep disable",
                                                "router address 192.168.1.2/24"}));

    // without "ROUTER=1" in the settings file, the default areas leave the router out
    EXPECT_EQ(run({"show"}).out.find("router."), std::string::npos);
}

// The history: a change saves what the adapter held before it, a restore of that document puts
// it back, and only the newest documents are kept.
class KxctlHistoryTest : public KxctlTest {
protected:
    void SetUp() override {
        KxctlTest::SetUp();
        std::filesystem::remove_all(kx::test::stateHome());
    }
    void TearDown() override {
        std::filesystem::remove_all(kx::test::stateHome());
        KxctlTest::TearDown();
    }
    std::string folder() const { return kx::test::stateHome() + "/kestrelx/history"; }
    // `kxctl history`, one entry a row of its tab-separated columns
    std::vector<std::vector<std::string>> entries() {
        Result result = run({"history"});
        EXPECT_EQ(result.status, kExitOk) << result.err;
        std::vector<std::vector<std::string>> rows;
        std::istringstream lines(result.out);
        for (std::string line; std::getline(lines, line);) {
            std::vector<std::string> columns;
            std::istringstream cells(line);
            for (std::string cell; std::getline(cells, cell, '\t');) columns.push_back(cell);
            rows.push_back(columns);
        }
        return rows;
    }
};

TEST_F(KxctlHistoryTest, ASetSavesTheAreaItReadAndARestoreOfThatPutsItBack) {
    const std::string before = backup("before");  // every area, to compare the analog one
    ASSERT_EQ(run({"backup", path("analog"), "analog"}).status, kExitOk);
    Result set = run({"set", "analog.tel3.ringSound=ring3"});
    ASSERT_EQ(set.status, kExitOk) << set.err;
    EXPECT_EQ(set.err, "kxctl: 1 command(s) sent and stored to flash\n");

    auto rows = entries();
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_EQ(rows[0].size(), 4u);
    const std::string saved = rows[0][3];
    std::istringstream lines(readFile(path("analog")));
    int items = 0;
    for (std::string line; std::getline(lines, line);)
        items += !line.empty() && line.front() != '#' ? 1 : 0;
    EXPECT_EQ(rows[0][2], std::to_string(items) + " items");
    EXPECT_TRUE(saved.starts_with(folder() + "/")) << saved;
    EXPECT_TRUE(saved.ends_with("-KESTRELX.txt")) << saved;
    // the analog area as it was, and nothing else
    EXPECT_EQ(body(readFile(saved)), body(readFile(path("analog"))));
    EXPECT_NE(readFile(saved).find("# KESTRELX settings document (before kxctl set)\n"),
              std::string::npos);
    struct stat status {};
    ASSERT_EQ(::stat(folder().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(saved.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);

    adapter_->transcript().clear();
    Result restore = run({"restore", saved});
    ASSERT_EQ(restore.status, kExitOk) << restore.err;
    const std::string ring = body(before).substr(body(before).find("analog.tel3.ringSound = "));
    EXPECT_EQ(sent(), (std::vector<std::string>{
                          "analog ring_sound tel3 " + ring.substr(24, ring.find('\n') - 24),
                          "fromwr 15", "exit"}));
    EXPECT_EQ(body(backup("after")), body(before));
    // the restore saved the value it replaced, as the newest document
    rows = entries();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][3], saved);
    EXPECT_NE(readFile(rows[0][3]).find("\nanalog.tel3.ringSound = ring3\n"), std::string::npos);
}

TEST_F(KxctlHistoryTest, NothingIsSavedWithoutAChangeOrWithNoHistory) {
    ASSERT_EQ(run({"set", "--no-history", "shortnum.4=0311112222"}).status, kExitOk);
    ASSERT_EQ(run({"set", "shortnum.4=0311112222"}).status, kExitOk);  // already so
    backup("doc");
    ASSERT_EQ(run({"restore", path("doc")}).status, kExitOk);
    EXPECT_TRUE(entries().empty());
    EXPECT_FALSE(std::filesystem::exists(folder()));
}

TEST_F(KxctlHistoryTest, TheNewestFiftyAreKeptAndOtherFilesAreLeftAlone) {
    std::filesystem::create_directories(folder());
    for (int day = 1; day <= 55; ++day) {
        char name[64];
        std::snprintf(name, sizeof name, "/2020%02d%02d-120000-KESTRELX.txt", 1 + day / 28,
                      1 + day % 28);
        writeFile(folder() + name, "# device: old\nshortnum.1 = 0311112222\n");
    }
    writeFile(folder() + "/notes.txt", "mine\n");
    ASSERT_EQ(run({"set", "shortnum.5=0312345678"}).status, kExitOk);
    const auto rows = entries();
    ASSERT_EQ(rows.size(), kHistoryKept);
    EXPECT_EQ(rows[0][1], "-");  // the settings file names no device
    EXPECT_EQ(rows[1][0], "2020-02-28 12:00:00");
    EXPECT_EQ(rows[1][1], "old");
    EXPECT_EQ(rows[1][2], "1 item");
    EXPECT_FALSE(std::filesystem::exists(folder() + "/20200102-120000-KESTRELX.txt"));
    EXPECT_TRUE(std::filesystem::exists(folder() + "/notes.txt"));
}

TEST_F(KxctlHistoryTest, AHistoryThatCannotBeWrittenNeverStopsTheChange) {
    std::filesystem::create_directories(kx::test::stateHome());
    writeFile(kx::test::stateHome() + "/kestrelx", "a file where the folder would be\n");
    Result set = run({"set", "shortnum.6=0312345678"});
    EXPECT_EQ(set.status, kExitOk);
    EXPECT_EQ(set.err,
              "kxctl: the settings before the change were not saved in the history: cannot "
              "make " +
                  folder() + ": Not a directory\nkxctl: 1 command(s) sent and stored to flash\n");
    EXPECT_EQ(sent(), (std::vector<std::string>{"shortnum add 6 0312345678", "fromwr 15", "exit"}));
}

// The network link: the passwords come from the environment and are never shown or written.
TEST(KxctlNetworkTest, PasswordsAppearNeitherInTheTranscriptNorInAnyOutput) {
    const std::string kLogin = "login-Secret-1";
    const std::string kAdmin = "admin-Secret-2";
    sim::EmulatorOptions options;
    options.pty = false;
    options.telnetPort = 0;
    options.adapter.loginPassword = kLogin;
    options.adapter.adminPassword = kAdmin;
    std::string error;
    std::unique_ptr<sim::Emulator> adapter = sim::Emulator::start(options, error);
    ASSERT_TRUE(adapter) << error;
    const std::string transcript = ::testing::TempDir() + "kxctl_net_transcript";
    const std::vector<std::string> link = {"--net",        "127.0.0.1",
                                           "--net-port",   std::to_string(adapter->telnetPort()),
                                           "--transcript", transcript};
    const struct {
        const char* login;
        const char* admin;
        int status;
        const char* refused;  // which password the message names
    } kRows[] = {
        {"login-Secret-1", "admin-Secret-2", kExitOk, ""},
        {"login-Secret-1", "admin-Secret-X", kExitAdapter,
         "refused the administrator password (from KXCTL_ADMIN_PASSWORD)"},
        {"login-Secret-X", "admin-Secret-2", kExitAdapter,
         "refused the login password (from KXCTL_LOGIN_PASSWORD)"},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(std::string(row.login) + " " + row.admin);
        ::setenv("KXCTL_LOGIN_PASSWORD", row.login, 1);
        ::setenv("KXCTL_ADMIN_PASSWORD", row.admin, 1);
        std::vector<std::string> args = link;
        // over the network the short numbers and the router's serial-only items are not
        // written, and kxctl says so; the router's addresses are
        for (const char* arg :
             {"set", "arrive.entry2.ring=ring3", "shortnum.2=0312345678",
              "router.masqueradeAddress=203.0.113.9", "router.autoConnect=manual",
              "router.connectSelect=netwk", "router.ipMasquerade=disable", "router.swAction=bod",
              "router.beep=disable", "router.ipFilter=enable", "router.lineMode=4",
              "router.redial=enable"})
            args.push_back(arg);
        std::ostringstream out, err;
        const int status = runKxctl(args, out, err);
        EXPECT_EQ(status, row.status) << err.str();
        EXPECT_NE(err.str().find(row.refused), std::string::npos) << err.str();
        const std::string written = readFile(transcript);
        for (const std::string& secret :
             {kLogin, kAdmin, std::string(row.login), std::string(row.admin)})
            for (const std::string& text : {out.str(), err.str(), written})
                EXPECT_EQ(text.find(secret), std::string::npos) << text;
        if (status == kExitOk) {
            EXPECT_NE(written.find(" > arrive ring_select 2 ring3\\r\n"), std::string::npos);
            EXPECT_NE(written.find(" > router masq_address 203.0.113.9\\r\n"), std::string::npos);
            EXPECT_EQ(occurrences(written, " > router "), 1u) << written;
            const std::string unsent = "not written over the network link: ";
            EXPECT_EQ(occurrences(err.str(), unsent + "router "), 8u) << err.str();
            EXPECT_TRUE(contains(err.str(), unsent + "shortnum add 2 0312345678")) << err.str();
        }
    }
    ::unsetenv("KXCTL_LOGIN_PASSWORD");
    ::unsetenv("KXCTL_ADMIN_PASSWORD");
}

}  // namespace
}  // namespace kx::cli
